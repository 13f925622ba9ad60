// The image's optimizations: one shared colour table for all frames
// (TColorMapOptimizer), and Optimize's crop and clean-up.
#include "gif_test_support.h"
#include "gifimage/colormap_optimizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

uint32_t Colour(int R, int G, int B) { return uint32_t(R) | uint32_t(G) << 8 | uint32_t(B) << 16; }

int ChannelSum(uint32_t C) { return int(C & 0xFF) + int(C >> 8 & 0xFF) + int(C >> 16 & 0xFF); }

// An image of a logical screen of Width x Height without colours of its own.
void Screen(TGIFImage& Image, int Width, int Height)
{
    Image.Clear();
    Image.Header()->SetWidth(uint16_t(Width));
    Image.Header()->SetHeight(uint16_t(Height));
}

// Frames that use Colours[i] Counts[i] times, in a local table each.
TGIFSubImage* FrameOf(TGIFImage& Image, const std::vector<uint32_t>& Colours, const std::vector<int>& Counts,
                      int Width, int Height, int Transparent = -1)
{
    Bytes pixels;
    for (size_t i = 0; i < Colours.size(); ++i) pixels.insert(pixels.end(), size_t(Counts[i]), uint8_t(i));
    EXPECT_EQ(pixels.size(), size_t(Width) * Height);
    TGIFSubImage* frame = AddFrame(Image, 0, 0, Width, Height, pixels, {}, Transparent);
    for (uint32_t c : Colours) frame->GetColorMap()->Add(c);
    return frame;
}

TEST(ColorMapOptimizer, ThreeHundredColoursKeepTheMostUsed256)
{
    TGIFImage image;
    Screen(image, 45, 10);
    std::vector<uint32_t> first, second;
    std::vector<int> firstCounts, secondCounts;
    for (int i = 0; i < 300; ++i) {
        const uint32_t c = Colour(i % 256, i / 256 * 100, 7);
        // The 44 colours from 256 on are used once, the others three times.
        (i < 150 ? first : second).push_back(c);
        (i < 150 ? firstCounts : secondCounts).push_back(i < 256 ? 3 : 1);
    }
    secondCounts[0] += 88; // fills the second frame's 45 x 10
    FrameOf(image, first, firstCounts, 45, 10);
    TGIFSubImage* frame2 = FrameOf(image, second, secondCounts, 45, 10);
    const Bytes before(frame2->Data(), frame2->Data() + frame2->DataSize());

    image.OptimizeColorMap();
    TGIFColorMap* map = image.GetColorMap();
    ASSERT_EQ(map->Count(), 256);
    EXPECT_TRUE(map->Optimized());
    for (int f = 0; f < 2; ++f) EXPECT_EQ(image.Images()->GetImage(f)->GetColorMap()->Count(), 0);
    std::vector<uint32_t> kept;
    for (int i = 0; i < 256; ++i) kept.push_back(map->GetColor(i));
    for (int i = 0; i < 256; ++i)
        EXPECT_NE(std::find(kept.begin(), kept.end(), Colour(i % 256, i / 256 * 100, 7)), kept.end()) << i;
    // Each of the 44 others is drawn in a kept colour of the nearest channel sum.
    for (int32_t p = 0; p < frame2->DataSize(); ++p) {
        const uint32_t old = second[before[p]];
        const uint32_t now = map->GetColor(frame2->Data()[p]);
        int nearest = INT_MAX;
        for (uint32_t k : kept) nearest = std::min(nearest, std::abs(ChannelSum(k) - ChannelSum(old)));
        EXPECT_EQ(std::abs(ChannelSum(now) - ChannelSum(old)), nearest) << p;
    }
}

TEST(ColorMapOptimizer, TransparencyKeeps255AndBlackLast)
{
    TGIFImage image;
    Screen(image, 30, 10);
    std::vector<uint32_t> colours;
    std::vector<int> counts;
    for (int i = 0; i < 256; ++i) {
        colours.push_back(Colour(255 - i, 40, 200));
        counts.push_back(i == 5 ? 45 : 1); // index 5 is the transparent one
    }
    TGIFSubImage* frame = FrameOf(image, colours, counts, 30, 10, 5);
    image.OptimizeColorMap();
    ASSERT_EQ(image.GetColorMap()->Count(), 256);
    EXPECT_EQ(image.GetColorMap()->GetColor(255), Colour(0, 0, 0));
    ASSERT_TRUE(frame->Transparent);
    EXPECT_EQ(frame->TransparentIndex(), 255);
    EXPECT_EQ(std::count(frame->Data(), frame->Data() + frame->DataSize(), 255), 45);
}

TEST(ColorMapOptimizer, OneColourOfTwoTablesBecomesOneEntryWithBothCounts)
{
    TGIFImage image;
    Screen(image, 4, 4);
    const uint32_t x = Colour(10, 20, 30), y = Colour(200, 100, 0), z = Colour(1, 2, 3), unused = Colour(9, 9, 9);
    for (uint32_t c : {z, x, unused}) image.GetColorMap()->Add(c);
    // The global table's frame: x twice, z fourteen times.
    Bytes global(16, 0);
    global[0] = global[1] = 1;
    AddFrame(image, 0, 0, 4, 4, global);
    // x and y four times each in a local table.
    FrameOf(image, {x, y}, {4, 4}, 4, 2);
    image.OptimizeColorMap();
    ASSERT_EQ(image.GetColorMap()->Count(), 3);
    EXPECT_EQ(image.GetColorMap()->GetColor(0), z); // 14
    EXPECT_EQ(image.GetColorMap()->GetColor(1), x); // 2 + 4
    EXPECT_EQ(image.GetColorMap()->GetColor(2), y); // 4
    EXPECT_EQ(image.Images()->GetImage(0)->GetPixel(0, 0), 1);
    EXPECT_EQ(image.Images()->GetImage(1)->GetPixel(0, 0), 1);
}

TEST(ColorMapOptimizer, UnseenTransparencyAndColoursBeyondTheTable)
{
    TGIFImage image;
    Screen(image, 4, 1);
    WarningLog warnings(image);
    TGIFSubImage* frame = FrameOf(image, {Colour(1, 1, 1), Colour(2, 2, 2)}, {2, 2}, 4, 1, 3);
    frame->Data()[3] = 7; // beyond the two colours
    image.OptimizeColorMap();
    EXPECT_FALSE(frame->Transparent);
    EXPECT_EQ(warnings.Count(GIFTexts::ColorNotInTable), 1);
    EXPECT_EQ(image.GetColorMap()->GetColor(frame->Data()[3]), Colour(1, 1, 1));
}

// --- Optimize -------------------------------------------------------------------

TGIFGraphicControlExtension* ControlOf(TGIFSubImage* Frame)
{
    if (!Frame->GraphicControlExtension) Frame->Extensions()->Add(new TGIFGraphicControlExtension(Frame));
    return Frame->GraphicControlExtension;
}

TEST(Optimize, CropDeletesEmptyFramesAndKeepsTheirDelayAndLoop)
{
    TGIFImage image;
    Screen(image, 4, 4);
    image.GetColorMap()->Add(Colour(0, 0, 0));
    image.GetColorMap()->Add(Colour(255, 255, 255));
    // Frame 0 holds only its transparent index and the loop extension.
    TGIFSubImage* first = AddFrame(image, 0, 0, 4, 4, Bytes(16, 1), {}, 1);
    auto* loop = new TGIFAppExtNSLoop(first);
    loop->Loops = 7;
    first->Extensions()->Insert(0, loop);
    Bytes some(16, 1);
    some[5] = 0;
    TGIFSubImage* second = AddFrame(image, 0, 0, 4, 4, some, {}, 1);
    ControlOf(second)->SetDelay(65000);
    TGIFSubImage* last = AddFrame(image, 0, 0, 4, 4, Bytes(16, 1), {}, 1);
    ControlOf(last)->SetDelay(1000);

    image.Optimize(OptimizeOption(ooCrop), rmNone, dmNearest, 8);
    ASSERT_EQ(image.Images()->GetCount(), 1);
    TGIFSubImage* kept = image.Images()->GetImage(0);
    EXPECT_EQ(kept->GraphicControlExtension->GetDelay(), 65535); // not wrapped round
    EXPECT_EQ(kept->GetWidth(), 1);
    TGIFAppExtNSLoop* moved = dynamic_cast<TGIFAppExtNSLoop*>(kept->Extensions()->GetExtension(0));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->Loops, 7);
}

TEST(Optimize, CleanupKeepsTheFirstFramesLoopOnlyInAnAnimation)
{
    for (int frames : {1, 2}) {
        TGIFImage image;
        Screen(image, 2, 2);
        image.GetColorMap()->Add(Colour(0, 0, 0));
        image.GetColorMap()->Add(Colour(9, 9, 9));
        for (int f = 0; f < frames; ++f) {
            TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 2, Bytes(4, uint8_t(f)));
            frame->Extensions()->Add(new TGIFAppExtNSLoop(frame));
            frame->Extensions()->Add(new TGIFCommentExtension(frame));
            ControlOf(frame)->SetDelay(0);
        }
        image.Optimize(OptimizeOption(ooCleanup), rmNone, dmNearest, 8);
        ASSERT_EQ(image.Images()->GetCount(), frames);
        // A delay of nothing, no transparency, plain disposal: no graphic control either.
        EXPECT_EQ(image.Images()->GetImage(0)->Extensions()->GetCount(), frames == 1 ? 0 : 1) << frames;
        if (frames == 2) {
            EXPECT_NE(dynamic_cast<TGIFAppExtNSLoop*>(image.Images()->GetImage(0)->Extensions()->GetExtension(0)),
                      nullptr);
            EXPECT_EQ(image.Images()->GetImage(1)->Extensions()->GetCount(), 0);
        }
    }
}

TEST(Optimize, PaletteReductionIsRefusedWithoutCleanup)
{
    TGIFImage image;
    Screen(image, 2, 1);
    image.GetColorMap()->Add(Colour(1, 1, 1));
    AddFrame(image, 0, 0, 2, 1, Bytes(2, 0));
    EXPECT_EQ(MessageOf([&] { image.Optimize(OptimizeOption(ooReduceColors), rmPalette, dmNearest, 8); }),
              GIFTexts::BadReduction);
    image.Optimize(OptimizeOption(ooReduceColors) | OptimizeOption(ooCleanup), rmPalette, dmNearest, 8);
}

TEST(ImageFrames, AFrameOfAnotherImageIsCopiedNotShared)
{
    TGIFImage one, other;
    Screen(one, 2, 1);
    Screen(other, 2, 1);
    one.GetColorMap()->Add(Colour(1, 2, 3));
    TGIFSubImage* frame = AddFrame(one, 0, 0, 2, 1, Bytes(2, 0));
    const int index = other.Add(frame);
    EXPECT_NE(other.Images()->GetImage(index), frame);
    EXPECT_EQ(other.Images()->GetImage(index)->GetWidth(), 2);
    EXPECT_EQ(MessageOf([&] { one.Add(frame); }), GIFTexts::FrameListed);
    EXPECT_EQ(MessageOf([&] { one.SetReductionBits(2); }), "Invalid Bits Per Pixel value");
    EXPECT_EQ(MessageOf([&] { one.SetReductionBits(9); }), "Invalid Bits Per Pixel value");
    one.SetReductionBits(3);
    EXPECT_EQ(one.GetReductionBits(), 3);
}

} // namespace
