// Frames rendered by the GIF unit against ImageMagick's decoding of the same
// frames: generated files of every depth with global and local tables,
// interlaced and transparent, and real GIF files from Debian packages
// (tests/gif_render_refs.sh makes the list and ImageMagick's pixels). Each
// frame is rendered alone, read back from its bitmap, and drawn through its
// mask on white and on black: what ImageMagick decodes as transparent must
// be exactly what shows through.
#include "gif_bitmap_support.h"
#include "gif_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TReference {
    std::string File;
    int Frame, Width, Height, Left, Top;
};

std::vector<TReference> ReadManifest()
{
    std::vector<TReference> lines;
    std::ifstream in(std::string(GIF_REFS) + "/manifest.txt");
    for (std::string line; std::getline(in, line);) {
        for (char& c : line)
            if (c == '|') c = ' ';
        std::istringstream fields(line);
        TReference r;
        if (fields >> r.File >> r.Frame >> r.Width >> r.Height >> r.Left >> r.Top) lines.push_back(r);
    }
    return lines;
}

// What shows of the frame drawn at its own size through its mask on Background.
TRgbPicture DrawnThroughMask(TGIFSubImage* Frame, TColor Background)
{
    auto target = SolidBitmap(Frame->GetWidth(), Frame->GetHeight(), Background);
    Frame->StretchDraw(target->Canvas(), {0, 0, Frame->GetWidth(), Frame->GetHeight()}, true, false);
    return ReadPicture(*target);
}

TEST(RenderedFrames, MatchImageMagickPixelForPixel)
{
    const std::vector<TReference> references = ReadManifest();
    ASSERT_GT(references.size(), 300u) << "no frames listed in " << GIF_REFS;

    std::string loadedFile, refusal;
    std::unique_ptr<TGIFImage> image;
    int realFrames = 0, refused = 0;
    std::set<std::string> covered; // kinds of generated frames compared
    for (size_t n = 0; n < references.size(); ++n) {
        const TReference& ref = references[n];
        SCOPED_TRACE(ref.File + " frame " + std::to_string(ref.Frame));
        if (ref.File != loadedFile) {
            image = std::make_unique<TGIFImage>();
            loadedFile = ref.File;
            refusal = Load(*image, ReadFileBytes(std::string(GIF_REFS) + "/" + ref.File));
            // Blocks that the unit refuses by its rules and ImageMagick reads:
            // an application extension shorter than an identifier, and
            // extension labels that no class is registered for.
            EXPECT_TRUE(refusal.empty() || refusal == GIFTexts::BadAppBlockSize ||
                        refusal == GIFTexts::UnknownExtension)
                << refusal;
            refused += !refusal.empty();
        }
        if (!refusal.empty()) continue;
        ASSERT_LT(ref.Frame, image->Images()->GetCount());
        TGIFSubImage* frame = image->Images()->GetImage(ref.Frame);
        ASSERT_EQ(frame->GetWidth(), ref.Width);
        ASSERT_EQ(frame->GetHeight(), ref.Height);
        EXPECT_EQ(frame->GetLeft(), ref.Left);
        EXPECT_EQ(frame->GetTop(), ref.Top);
        const Bytes rgba = ReadFileBytes(std::string(GIF_REFS) + "/refs/" + std::to_string(n) + ".rgba");
        ASSERT_EQ(rgba.size(), size_t(ref.Width) * ref.Height * 4);

        TBitmap* bitmap = frame->GetBitmap();
        ASSERT_NE(bitmap, nullptr);
        const TRgbPicture rendered = ReadPicture(*bitmap);
        const bool masked = frame->HasMask();
        const TRgbPicture onWhite = masked ? DrawnThroughMask(frame, clWhite) : rendered;
        const TRgbPicture onBlack = masked ? DrawnThroughMask(frame, clBlack) : rendered;
        int wrongColour = 0, wrongMask = 0;
        std::string first;
        for (int y = 0; y < ref.Height; ++y)
            for (int x = 0; x < ref.Width; ++x) {
                const uint8_t* p = &rgba[(size_t(y) * ref.Width + x) * 4];
                const bool seeThrough = onWhite.At(x, y) != onBlack.At(x, y);
                const uint32_t expected = uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
                if (p[3] == 0) {
                    wrongMask += !seeThrough;
                } else {
                    wrongMask += seeThrough;
                    wrongColour += rendered.At(x, y) != expected;
                }
                if (first.empty() && (wrongMask || wrongColour))
                    first = "first at " + std::to_string(x) + "," + std::to_string(y);
            }
        EXPECT_EQ(wrongColour, 0) << first;
        EXPECT_EQ(wrongMask, 0) << first;

        if (ref.File.rfind("generated/", 0) != 0) {
            ++realFrames;
            continue;
        }
        const bool local = frame->GetColorMap()->Count() > 0;
        const int bits = frame->GetActiveColorMap()->GetBitsPerPixel();
        covered.insert((local ? "local " : "global ") + std::to_string(bits));
        if (frame->GetInterlaced()) covered.insert(local ? "local interlaced" : "global interlaced");
        if (masked) covered.insert(local ? "local transparent" : "global transparent");
        if (!(frame->GetBoundsRect() == TGIFRect{0, 0, image->GetWidth(), image->GetHeight()})) covered.insert("partial");
    }
    EXPECT_GT(realFrames, 250);
    EXPECT_LT(refused, 20);
    for (const char* kind : {"interlaced", "transparent"}) {
        EXPECT_EQ(covered.count(std::string("local ") + kind), 1u) << kind;
        EXPECT_EQ(covered.count(std::string("global ") + kind), 1u) << kind;
    }
    EXPECT_EQ(covered.count("partial"), 1u);
    for (int bits = 1; bits <= 8; ++bits) {
        EXPECT_EQ(covered.count("local " + std::to_string(bits)), 1u) << bits << " bits";
        EXPECT_EQ(covered.count("global " + std::to_string(bits)), 1u) << bits << " bits";
    }
}

} // namespace
