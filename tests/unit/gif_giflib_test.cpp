// Our reader beside giflib: what giftext reports of files that other
// programs wrote, and (decoder and encoders) the pixels DGifSlurp sees.
#include "gif_samples.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <regex>

namespace {

struct TextMap {
    bool Present = false;
    bool Sorted = false;
    std::vector<TGIFColor> Colors;
};

struct TextImage {
    int Left, Top, Width, Height;
    bool Interlaced;
    TextMap Map;
};

struct TextReport {
    int Width = -1, Height = -1, ColorResolution = -1, BitsPerPixel = -1, Background = -1, Aspect = -1;
    TextMap Global;
    std::vector<TextImage> Images;
};

std::string Run(const std::string& Command)
{
    std::string out;
    FILE* pipe = popen(Command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

// Reads the colour entries that follow "Sort Flag: ..." up to a line without any.
void ParseMap(std::istringstream& in, TextMap& map)
{
    map.Present = true;
    static const std::regex entry(R"((\d+): ([0-9a-f]{2})h ([0-9a-f]{2})h ([0-9a-f]{2})h)");
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("Sort Flag") != std::string::npos) {
            map.Sorted = line.find("on") != std::string::npos;
            continue;
        }
        auto it = std::sregex_iterator(line.begin(), line.end(), entry);
        if (it == std::sregex_iterator()) break;
        for (; it != std::sregex_iterator(); ++it)
            map.Colors.push_back({uint8_t(std::stoi((*it)[2], nullptr, 16)), uint8_t(std::stoi((*it)[3], nullptr, 16)),
                                  uint8_t(std::stoi((*it)[4], nullptr, 16))});
    }
}

TextReport GifText(const std::string& Path)
{
    TextReport r;
    std::istringstream in(Run("giftext -c '" + Path + "' 2>&1"));
    static const std::regex screen(R"(Screen Size - Width = (\d+), Height = (\d+))");
    static const std::regex info(R"(ColorResolution = (\d+), BitsPerPixel = (\d+), BackGround = (\d+), Aspect = (\d+))");
    static const std::regex image(R"(Image Size - Left = (\d+), Top = (\d+), Width = (\d+), Height = (\d+))");
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_search(line, m, screen)) {
            r.Width = std::stoi(m[1]);
            r.Height = std::stoi(m[2]);
        } else if (std::regex_search(line, m, info)) {
            r.ColorResolution = std::stoi(m[1]);
            r.BitsPerPixel = std::stoi(m[2]);
            r.Background = std::stoi(m[3]);
            r.Aspect = std::stoi(m[4]);
        } else if (line.find("Global Color Map:") != std::string::npos) {
            ParseMap(in, r.Global);
        } else if (std::regex_search(line, m, image)) {
            r.Images.push_back({std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]), false, {}});
        } else if (line.find("Image is Interlaced") != std::string::npos) {
            r.Images.back().Interlaced = true;
        } else if (line.find("Image Has Color Map") != std::string::npos) {
            ParseMap(in, r.Images.back().Map);
        }
    }
    return r;
}

void ExpectSameColors(const TGIFColorMap* Map, const TextMap& Text, const std::string& What)
{
    EXPECT_EQ(Map->Count() > 0, Text.Present) << What;
    ASSERT_EQ(Map->Count(), int(Text.Colors.size())) << What;
    for (int i = 0; i < Map->Count(); ++i) {
        const TGIFColor& a = Map->Data()[i];
        const TGIFColor& b = Text.Colors[i];
        EXPECT_TRUE(a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue) << What << " entry " << i;
    }
    EXPECT_EQ(Map->Optimized(), Text.Sorted) << What;
}

std::vector<TGIFSubImage*> FramesWithPixels(TGIFImage& Image)
{
    std::vector<TGIFSubImage*> frames;
    for (int i = 0; i < Image.Images()->GetCount(); ++i)
        if (!Image.Images()->GetImage(i)->GetEmpty()) frames.push_back(Image.Images()->GetImage(i));
    return frames;
}

TEST(GifText, HeadersAndColourTablesMatchWhatGiflibReports)
{
    for (const char* name : SampleFiles) {
        SCOPED_TRACE(name);
        const std::string path = SamplePath(std::string(name) + ".gif");
        TextReport text = GifText(path);
        ASSERT_GT(text.Width, 0) << "giftext read nothing";

        TGIFImage image;
        WarningLog log(image);
        ASSERT_EQ(Load(image, ReadFileBytes(path)), "");
        EXPECT_TRUE(log.Messages.empty());
        const TLogicalScreenDescriptor& lsd = image.Header()->Descriptor();
        EXPECT_EQ(lsd.ScreenWidth, text.Width);
        EXPECT_EQ(lsd.ScreenHeight, text.Height);
        EXPECT_EQ(((lsd.PackedFields & 0x70) >> 4) + 1, text.ColorResolution);
        EXPECT_EQ((lsd.PackedFields & 7) + 1, text.BitsPerPixel);
        EXPECT_EQ(lsd.BackgroundColorIndex, text.Background);
        EXPECT_EQ(lsd.AspectRatio, text.Aspect);
        ExpectSameColors(image.GetColorMap(), text.Global, "global");

        std::vector<TGIFSubImage*> frames = FramesWithPixels(image);
        ASSERT_EQ(frames.size(), text.Images.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            const TextImage& t = text.Images[i];
            EXPECT_EQ(frames[i]->GetLeft(), t.Left);
            EXPECT_EQ(frames[i]->GetTop(), t.Top);
            EXPECT_EQ(frames[i]->GetWidth(), t.Width);
            EXPECT_EQ(frames[i]->GetHeight(), t.Height);
            EXPECT_EQ(frames[i]->GetInterlaced(), t.Interlaced);
            ExpectSameColors(frames[i]->GetColorMap(), t.Map, "frame " + std::to_string(i));
        }
    }
}

// giflib's view of a GIF in memory.
struct Giflib {
    explicit Giflib(const Bytes& Data) : Data(Data)
    {
        int error = 0;
        File = DGifOpen(this, &Giflib::ReadFunc, &error);
        if (File && DGifSlurp(File) != GIF_OK) Error = File->Error;
        if (!File) Error = error;
    }
    ~Giflib()
    {
        int error;
        if (File) DGifCloseFile(File, &error);
    }
    static int ReadFunc(GifFileType* File, GifByteType* Buffer, int Count)
    {
        auto* self = static_cast<Giflib*>(File->UserData);
        const int n = int(std::min<size_t>(Count, self->Data.size() - self->Position));
        std::memcpy(Buffer, self->Data.data() + self->Position, n);
        self->Position += n;
        return n;
    }
    const Bytes& Data;
    size_t Position = 0;
    GifFileType* File = nullptr;
    int Error = 0;
};

TEST(Giflib, OurDecoderGivesTheIndicesOfDGifSlurp)
{
    for (const char* name : SampleFiles) {
        SCOPED_TRACE(name);
        Bytes data = ReadFileBytes(SamplePath(std::string(name) + ".gif"));
        Giflib theirs(data);
        ASSERT_NE(theirs.File, nullptr);
        ASSERT_EQ(theirs.Error, 0);
        TGIFImage ours;
        ASSERT_EQ(Load(ours, data), "");
        std::vector<TGIFSubImage*> frames = FramesWithPixels(ours);
        ASSERT_EQ(int(frames.size()), theirs.File->ImageCount);
        for (int i = 0; i < theirs.File->ImageCount; ++i) {
            const SavedImage& saved = theirs.File->SavedImages[i];
            const size_t n = size_t(saved.ImageDesc.Width) * saved.ImageDesc.Height;
            ASSERT_EQ(size_t(frames[i]->DataSize()), n);
            EXPECT_EQ(std::memcmp(frames[i]->Data(), saved.RasterBits, n), 0) << "frame " << i;
        }
    }
}

TEST(Giflib, DecodesWhatOurEncodersWrite)
{
    std::mt19937 random(2024);
    for (TGIFCompression compression : {gcLZW, gcRLE})
        for (int bits = 1; bits <= 8; ++bits)
            for (bool interlaced : {false, true}) {
                SCOPED_TRACE(testing::Message() << "compression " << compression << " bits " << bits << " interlaced " << interlaced);
                const int w = 97 + bits * 13, h = 41 + bits * 7;
                TGIFImage image;
                image.Compression = compression;
                for (int c = 0; c < (1 << bits); ++c) image.GetColorMap()->Add(uint32_t(random() & 0xFFFFFF));
                auto* frame = new TGIFSubImage(&image);
                image.Images()->Add(frame);
                frame->DoSetBounds(0, 0, w, h);
                frame->SetInterlaced(interlaced);
                // Half noise, half runs.
                for (int i = 0; i < w * h; ++i)
                    frame->Data()[i] = uint8_t(i < w * h / 2 ? random() % (1 << bits) : (i / 50) % (1 << bits));
                Bytes file = Save(image);

                Giflib theirs(file);
                ASSERT_NE(theirs.File, nullptr);
                ASSERT_EQ(theirs.Error, 0);
                ASSERT_EQ(theirs.File->ImageCount, 1);
                EXPECT_EQ(theirs.File->SWidth, w);
                EXPECT_EQ(theirs.File->SHeight, h);
                ASSERT_NE(theirs.File->SColorMap, nullptr);
                EXPECT_EQ(theirs.File->SColorMap->ColorCount, 1 << bits);
                EXPECT_EQ(theirs.File->SColorMap->Colors[1].Green, image.GetColorMap()->Data()[1].Green);
                const SavedImage& saved = theirs.File->SavedImages[0];
                EXPECT_EQ(bool(saved.ImageDesc.Interlace), interlaced);
                EXPECT_EQ(std::memcmp(saved.RasterBits, frame->Data(), size_t(w) * h), 0);
            }
}

} // namespace
