// Decode and encode throughput of the GIF unit beside giflib's, on real GIF
// files (bench/fetch_gifs.sh fetches them): each file is decoded by both
// (DGifSlurp, TGIFImage::LoadFromStream) and its frames written again by
// both (EGifSpew, TGIFImage::SaveToStream). Then the time to free images of
// very many extensions and frames. Usage: gif_bench [FOLDER]
#include "gifimage/gif_image.h"
#include "gifimage/gif_subimage.h"

#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// Seconds one call of Work takes, Prepare (untimed) running before each:
// the best of several batches, each long enough for the clock, so that
// other work on the machine counts little.
double SecondsPerCall(const std::function<void()>& Work, const std::function<void()>& Prepare = [] {})
{
    auto batch = [&](int Calls) {
        std::chrono::duration<double> spent{};
        for (int i = 0; i < Calls; ++i) {
            Prepare();
            const auto start = Clock::now();
            Work();
            spent += Clock::now() - start;
        }
        return spent.count();
    };
    batch(1); // warm up
    int calls = 1;
    while (batch(calls) < 0.002) calls *= 2;
    double best = 1e9;
    for (int i = 0; i < 7; ++i) best = std::min(best, batch(calls) / calls);
    return best;
}

struct Reader {
    const Bytes* Data;
    size_t Position;
};

int ReadFrom(GifFileType* File, GifByteType* Buffer, int Count)
{
    auto* in = static_cast<Reader*>(File->UserData);
    const int n = int(std::min<size_t>(Count, in->Data->size() - in->Position));
    std::memcpy(Buffer, in->Data->data() + in->Position, n);
    in->Position += n;
    return n;
}

int WriteTo(GifFileType* File, const GifByteType* Data, int Count)
{
    auto* out = static_cast<Bytes*>(File->UserData);
    out->insert(out->end(), Data, Data + Count);
    return Count;
}

// The file as giflib reads it, or none.
GifFileType* Slurp(const Bytes& File)
{
    Reader reader{&File, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFrom, &error);
    if (!gif) return nullptr;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return nullptr;
    }
    gif->UserData = nullptr;
    return gif;
}

// A giflib file that writes Source's screen and frames to Out. EGifSpew
// frees it.
GifFileType* SpewFile(const GifFileType* Source, Bytes& Out)
{
    int error = 0;
    GifFileType* gif = EGifOpen(&Out, WriteTo, &error);
    gif->SWidth = Source->SWidth;
    gif->SHeight = Source->SHeight;
    gif->SColorResolution = Source->SColorResolution;
    gif->SBackGroundColor = Source->SBackGroundColor;
    gif->AspectByte = Source->AspectByte;
    gif->SColorMap = Source->SColorMap ? GifMakeMapObject(Source->SColorMap->ColorCount, Source->SColorMap->Colors) : nullptr;
    for (int i = 0; i < Source->ImageCount; ++i) GifMakeSavedImage(gif, &Source->SavedImages[i]);
    return gif;
}

struct Result {
    std::string Name;
    int64_t Pixels = 0;
    int Frames = 0;
    double OurDecode = 0, TheirDecode = 0, OurEncode = 0, TheirEncode = 0; // seconds per call
    size_t FileSize = 0, OurSize = 0, TheirSize = 0;
};

bool Measure(const std::filesystem::path& Path, Result& R)
{
    std::ifstream in(Path, std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    GifFileType* theirs = Slurp(file);
    if (!theirs) return false;
    TMemoryStream source;
    source.WriteBuffer(file.data(), int32_t(file.size()));
    TGIFImage ours;
    try {
        source.SetPosition(0);
        ours.LoadFromStream(&source);
    } catch (const Exception&) {
        int error = 0;
        DGifCloseFile(theirs, &error);
        return false;
    }
    R.Name = Path.filename().string();
    R.FileSize = file.size();
    R.Frames = theirs->ImageCount;
    for (int i = 0; i < theirs->ImageCount; ++i)
        R.Pixels += int64_t(theirs->SavedImages[i].ImageDesc.Width) * theirs->SavedImages[i].ImageDesc.Height;

    R.TheirDecode = SecondsPerCall([&] {
        int error = 0;
        DGifCloseFile(Slurp(file), &error);
    });
    R.OurDecode = SecondsPerCall([&] {
        source.SetPosition(0);
        TGIFImage image;
        image.LoadFromStream(&source);
    });

    Bytes spewed;
    GifFileType* out = nullptr;
    R.TheirEncode = SecondsPerCall([&] { EGifSpew(out); },
                                   [&] {
                                       spewed.clear();
                                       out = SpewFile(theirs, spewed);
                                   });
    R.TheirSize = spewed.size();
    TMemoryStream written;
    R.OurEncode = SecondsPerCall([&] { ours.SaveToStream(&written); }, [&] { written.SetPosition(0); });
    TMemoryStream once;
    ours.SaveToStream(&once);
    R.OurSize = size_t(once.Size());
    int error = 0;
    DGifCloseFile(theirs, &error);
    return true;
}

double Rate(int64_t Pixels, double Seconds) { return double(Pixels) / Seconds / 1e6; }

void PrintCoding(const std::vector<Result>& Results)
{
    std::printf("GIF decoding and encoding of real files, megapixels per second (higher is better)\n\n");
    std::printf("%-58s %9s %7s %7s %5s %7s %7s %5s %8s %8s %8s\n", "file", "pixels", "dec", "giflib", "x", "enc",
                "giflib", "x", "file", "ours", "giflib");
    Result total;
    double minDecode = 1e9, minEncode = 1e9;
    std::string minDecodeName, minEncodeName;
    for (const Result& r : Results) {
        const double dx = r.TheirDecode / r.OurDecode, ex = r.TheirEncode / r.OurEncode;
        std::printf("%-58.58s %9lld %7.1f %7.1f %5.2f %7.1f %7.1f %5.2f %8zu %8zu %8zu\n", r.Name.c_str(),
                    (long long)r.Pixels, Rate(r.Pixels, r.OurDecode), Rate(r.Pixels, r.TheirDecode), dx,
                    Rate(r.Pixels, r.OurEncode), Rate(r.Pixels, r.TheirEncode), ex, r.FileSize, r.OurSize, r.TheirSize);
        total.Pixels += r.Pixels;
        total.OurDecode += r.OurDecode;
        total.TheirDecode += r.TheirDecode;
        total.OurEncode += r.OurEncode;
        total.TheirEncode += r.TheirEncode;
        total.FileSize += r.FileSize;
        total.OurSize += r.OurSize;
        total.TheirSize += r.TheirSize;
        if (dx < minDecode) minDecode = dx, minDecodeName = r.Name;
        if (ex < minEncode) minEncode = ex, minEncodeName = r.Name;
    }
    std::printf("\n%-58s %9lld %7.1f %7.1f %5.2f %7.1f %7.1f %5.2f %8zu %8zu %8zu\n",
                ("total, " + std::to_string(Results.size()) + " files").c_str(), (long long)total.Pixels,
                Rate(total.Pixels, total.OurDecode), Rate(total.Pixels, total.TheirDecode),
                total.TheirDecode / total.OurDecode, Rate(total.Pixels, total.OurEncode),
                Rate(total.Pixels, total.TheirEncode), total.TheirEncode / total.OurEncode, total.FileSize,
                total.OurSize, total.TheirSize);
    std::printf("per-file minimum: decode %.2f x giflib (%s), encode %.2f x giflib (%s)\n\n", minDecode,
                minDecodeName.c_str(), minEncode, minEncodeName.c_str());
}

// Milliseconds to free an image holding Count items made by Fill.
double FreeTime(const std::function<void(TGIFImage&)>& Fill)
{
    auto* image = new TGIFImage;
    Fill(*image);
    const auto start = Clock::now();
    delete image;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PrintTeardown()
{
    const int extensions = 100000, frames = 80000;
    const double e = FreeTime([&](TGIFImage& image) {
        auto* frame = new TGIFSubImage(&image);
        image.Images()->Add(frame);
        for (int i = 0; i < extensions; ++i) frame->Extensions()->Add(new TGIFCommentExtension(frame));
    });
    const double f = FreeTime([&](TGIFImage& image) {
        for (int i = 0; i < frames; ++i) image.Images()->Add(new TGIFSubImage(&image));
    });
    std::printf("Freeing an image of %d comment extensions: %.1f ms; of %d frames: %.1f ms\n", extensions, e, frames, f);
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : GIF_BENCH_FILES;
    std::vector<std::filesystem::path> paths;
    if (std::filesystem::is_directory(folder))
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() == ".gif") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    if (paths.empty())
        std::printf("No GIF files in %s: bench/fetch_gifs.sh %s fetches them.\n\n", folder.c_str(),
                    folder.parent_path().c_str());
    std::vector<Result> results;
    for (const auto& path : paths) {
        Result r;
        if (Measure(path, r))
            results.push_back(r);
        else
            std::printf("skipped (giflib or we cannot read it): %s\n", path.filename().c_str());
    }
    if (!results.empty()) PrintCoding(results);
    PrintTeardown();
    return 0;
}
