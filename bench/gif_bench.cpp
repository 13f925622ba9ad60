// Decode and encode throughput of the GIF unit beside giflib's, on the
// same pictures in the same run, with the compressed sizes.
#include "gifimage/gif_image.h"
#include "gifimage/gif_subimage.h"

#include <gif_lib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Picture {
    const char* Name;
    int Width, Height, Bits;
    Bytes Pixels;
};

// A smooth photograph-like picture, a flat user-interface picture and noise.
std::vector<Picture> Pictures()
{
    std::vector<Picture> list;
    std::mt19937 random(42);
    Picture photo{"photo 1024x768, 256 colours", 1024, 768, 8, {}};
    for (int y = 0; y < photo.Height; ++y)
        for (int x = 0; x < photo.Width; ++x) {
            double v = 128 + 60 * std::sin(x / 37.0) * std::cos(y / 23.0) + 40 * std::sin((x + y) / 91.0);
            photo.Pixels.push_back(uint8_t(std::min(255.0, std::max(0.0, v + int(random() % 9) - 4))));
        }
    list.push_back(photo);
    Picture flat{"user interface 800x600, 16 colours", 800, 600, 4, {}};
    for (int y = 0; y < flat.Height; ++y)
        for (int x = 0; x < flat.Width; ++x)
            flat.Pixels.push_back(uint8_t(((x / 120) + (y / 75) * 3 + ((x % 120) < 2 || (y % 75) < 2 ? 7 : 0)) % 16));
    list.push_back(flat);
    Picture noise{"noise 640x480, 256 colours", 640, 480, 8, {}};
    for (int i = 0; i < noise.Width * noise.Height; ++i) noise.Pixels.push_back(uint8_t(random()));
    list.push_back(noise);
    return list;
}

// Megapixels per second of Work over Pixels, repeated for at least half a second.
double Rate(int64_t Pixels, const std::function<void()>& Work)
{
    using Clock = std::chrono::steady_clock;
    Work(); // warm up
    int runs = 0;
    const auto start = Clock::now();
    std::chrono::duration<double> spent{};
    do {
        Work();
        ++runs;
        spent = Clock::now() - start;
    } while (spent.count() < 0.5);
    return double(Pixels) * runs / spent.count() / 1e6;
}

Bytes OurEncode(const Picture& P, TGIFCompression Compression)
{
    TGIFImage image;
    image.Compression = Compression;
    for (int i = 0; i < (1 << P.Bits); ++i) image.GetColorMap()->Add(uint32_t(i * 0x010101));
    auto* frame = new TGIFSubImage(&image);
    image.Images()->Add(frame);
    frame->DoSetBounds(0, 0, P.Width, P.Height);
    std::memcpy(frame->Data(), P.Pixels.data(), P.Pixels.size());
    TMemoryStream stream;
    image.SaveToStream(&stream);
    return Bytes(stream.Memory(), stream.Memory() + stream.Size());
}

void OurDecode(const Bytes& File)
{
    TMemoryStream stream;
    stream.WriteBuffer(File.data(), int32_t(File.size()));
    stream.SetPosition(0);
    TGIFImage image;
    image.LoadFromStream(&stream);
}

int WriteTo(GifFileType* File, const GifByteType* Data, int Count)
{
    auto* out = static_cast<Bytes*>(File->UserData);
    out->insert(out->end(), Data, Data + Count);
    return Count;
}

Bytes GiflibEncode(const Picture& P)
{
    Bytes out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, WriteTo, &error);
    ColorMapObject* map = GifMakeMapObject(1 << P.Bits, nullptr);
    for (int i = 0; i < map->ColorCount; ++i) map->Colors[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    EGifPutScreenDesc(file, P.Width, P.Height, P.Bits, 0, map);
    EGifPutImageDesc(file, 0, 0, P.Width, P.Height, false, nullptr);
    for (int y = 0; y < P.Height; ++y)
        EGifPutLine(file, const_cast<GifPixelType*>(P.Pixels.data() + size_t(y) * P.Width), P.Width);
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return out;
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

void GiflibDecode(const Bytes& File)
{
    Reader reader{&File, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&reader, ReadFrom, &error);
    DGifSlurp(file);
    DGifCloseFile(file, &error);
}

} // namespace

int main()
{
    std::printf("GIF coding, megapixels per second (higher is better) and compressed bytes\n\n");
    std::printf("%-36s %-14s %10s %10s %10s\n", "picture", "coder", "decode", "encode", "bytes");
    for (const Picture& p : Pictures()) {
        const int64_t pixels = int64_t(p.Width) * p.Height;
        const Bytes theirs = GiflibEncode(p);
        const double giflibDecode = Rate(pixels, [&] { GiflibDecode(theirs); });
        const double giflibEncode = Rate(pixels, [&] { GiflibEncode(p); });
        for (TGIFCompression c : {gcLZW, gcRLE}) {
            const Bytes ours = OurEncode(p, c);
            // Our decoder reads giflib's file, so both decoders see the same input.
            const double decode = Rate(pixels, [&] { OurDecode(theirs); });
            const double encode = Rate(pixels, [&] { OurEncode(p, c); });
            std::printf("%-36s %-14s %10.1f %10.1f %10zu\n", p.Name, c == gcLZW ? "ours, LZW" : "ours, RLE",
                        decode, encode, ours.size());
        }
        std::printf("%-36s %-14s %10.1f %10.1f %10zu\n\n", p.Name, "giflib", giflibDecode, giflibEncode, theirs.size());
    }
    return 0;
}
