// The image's optimizations: one shared colour table for all frames
// (TColorMapOptimizer), and Optimize's crop and clean-up.
#include "gif_test_support.h"
#include "gifimage/colormap_optimizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <random>

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

TEST(ColorMapOptimizer, GlobalMapsBackgroundFollowsItsColourUnlessBeyondTheTable)
{
    for (int background : {1, 200}) {
        SCOPED_TRACE(background);
        TGIFImage image;
        WarningLog warnings(image);
        Bytes stream = Header(4, 1, true, 1, background); // four greys
        Append(stream, MinimalFrame(4, 1));
        Append(stream, {';'});
        ASSERT_EQ(Load(image, stream), "");
        ASSERT_EQ(image.GetBackgroundColorIndex(), background); // taken as it came
        const uint8_t pixels[] = {1, 1, 1, 2};                   // grey 1 most used
        std::copy(std::begin(pixels), std::end(pixels), image.Images()->GetImage(0)->Data());
        image.Optimize(OptimizeOption(ooColorMap), rmNone, dmNearest, 8);
        ASSERT_EQ(image.GetColorMap()->GetColor(0), Colour(1, 1, 1));
        EXPECT_EQ(image.GetBackgroundColorIndex(), background == 1 ? 0 : 200);
        EXPECT_EQ(warnings.Count(GIFTexts::BadColorIndex), 0);
    }
}

// --- Optimize -------------------------------------------------------------------

TGIFGraphicControlExtension* ControlOf(TGIFSubImage* Frame)
{
    if (!Frame->GraphicControlExtension) Frame->Extensions()->Add(new TGIFGraphicControlExtension(Frame));
    return Frame->GraphicControlExtension;
}

// What lies beneath the picture where no frame left anything.
const uint32_t Beneath = 1u << 24;

// The screen after each frame, composed as viewers compose an animation: a
// frame's pixels but its transparent ones over what the frames before left,
// then its disposal: left as it is, its area given back to what lies
// beneath, or the picture before it restored. Colours as 0xRRGGBB.
std::vector<std::vector<uint32_t>> Composed(const TGIFImage& Image)
{
    const int width = Image.GetWidth(), height = Image.GetHeight();
    std::vector<uint32_t> screen(size_t(width) * height, Beneath);
    std::vector<std::vector<uint32_t>> shown;
    for (int i = 0; i < Image.Images()->GetCount(); ++i) {
        TGIFSubImage* frame = Image.Images()->GetImage(i);
        const TGIFRect r = frame->GetBoundsRect();
        const auto each = [&](const std::function<void(int X, int Y)>& Do) {
            for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, height); ++y)
                for (int x = std::max(r.Left, 0); x < std::min(r.Right, width); ++x) Do(x, y);
        };
        const std::vector<uint32_t> before = screen;
        const TGIFColorMap* map = frame->GetActiveColorMap();
        each([&](int X, int Y) {
            const int index = frame->Data()[size_t(frame->GetWidth()) * (Y - r.Top) + X - r.Left];
            if (index == frame->TransparentIndex()) return;
            const TGIFColor c = index < map->Count() ? map->Data()[index] : TGIFColor{0, 0, 0};
            screen[size_t(width) * Y + X] = uint32_t(c.Red) << 16 | c.Green << 8 | c.Blue;
        });
        shown.push_back(screen);
        const TDisposalMethod disposal =
            frame->GraphicControlExtension ? frame->GraphicControlExtension->GetDisposal() : dmNoDisposal;
        if (disposal == dmBackground) each([&](int X, int Y) { screen[size_t(width) * Y + X] = Beneath; });
        else if (disposal == dmPrevious) screen = before;
    }
    return shown;
}

// Where two compositions of one animation first differ; "" when they do not.
std::string FirstDifference(const std::vector<std::vector<uint32_t>>& A, const std::vector<std::vector<uint32_t>>& B,
                            int Width)
{
    if (A.size() != B.size()) return std::to_string(A.size()) + " frames against " + std::to_string(B.size());
    for (size_t f = 0; f < A.size(); ++f)
        for (size_t p = 0; p < A[f].size(); ++p)
            if (A[f][p] != B[f][p])
                return "frame " + std::to_string(f) + " at (" + std::to_string(p % Width) + ", " +
                       std::to_string(p / Width) + ")";
    return "";
}

TEST(Optimize, CleanupKeepsWhatEveryFrameShows)
{
    const uint32_t red = Colour(255, 0, 0);
    // A red frame that gives its area back, then a small opaque one in its corner.
    {
        TGIFImage image;
        Screen(image, 20, 20);
        image.GetColorMap()->Add(red);
        image.GetColorMap()->Add(Colour(0, 0, 255));
        ControlOf(AddFrame(image, 0, 0, 20, 20, Bytes(400, 0)))->SetDisposal(dmBackground);
        AddFrame(image, 0, 0, 5, 5, Bytes(25, 1));
        image.Optimize(OptimizeOption(ooCleanup), rmNone, dmNearest, 8);
        EXPECT_EQ(Composed(image)[1][20 * 15 + 15], Beneath);
    }
    // Animations of every disposal over a screen of four colours, frames
    // anywhere on it, half of them transparent; cleaned up alone, and with
    // everything that form data's writing does.
    const TGIFOptimizeOptions all = OptimizeOption(ooCrop) | OptimizeOption(ooMerge) | OptimizeOption(ooCleanup) |
                                    OptimizeOption(ooColorMap) | OptimizeOption(ooReduceColors);
    for (TGIFOptimizeOptions options : {OptimizeOption(ooCleanup), all}) {
        std::mt19937 random(31);
        const auto below = [&](int N) { return int(random() % uint32_t(N)); };
        int dropped = 0;
        for (int n = 0; n < 2000; ++n) {
            SCOPED_TRACE("options " + std::to_string(options) + ", animation " + std::to_string(n));
            TGIFImage image;
            Screen(image, 7, 5);
            for (uint32_t c : {red, Colour(0, 255, 0), Colour(0, 0, 255), Colour(255, 255, 255)})
                image.GetColorMap()->Add(c);
            std::vector<TGIFSubImage*> frames;
            std::vector<TDisposalMethod> disposals;
            for (int f = 2 + below(3); f > 0; --f) {
                const int left = below(7), top = below(5), width = 1 + below(7 - left), height = 1 + below(5 - top);
                Bytes pixels(size_t(width) * height);
                for (uint8_t& p : pixels) p = uint8_t(below(4));
                frames.push_back(AddFrame(image, left, top, width, height, pixels, {}, below(2) ? -1 : below(4)));
                disposals.push_back(TDisposalMethod(below(4)));
                ControlOf(frames.back())->SetDisposal(disposals.back());
            }
            const auto before = Composed(image);
            image.Optimize(options, rmNone, dmNearest, 8);
            // A frame that cropping emptied is gone; every other shows what it showed.
            const auto after = Composed(image);
            std::vector<std::vector<uint32_t>> kept;
            for (int f = 0; f < image.Images()->GetCount(); ++f) {
                const size_t was = size_t(std::find(frames.begin(), frames.end(), image.Images()->GetImage(f)) -
                                          frames.begin());
                ASSERT_LT(was, frames.size());
                kept.push_back(before[was]);
                const TGIFGraphicControlExtension* control = image.Images()->GetImage(f)->GraphicControlExtension;
                dropped += (disposals[was] == dmBackground || disposals[was] == dmPrevious) &&
                           (!control || control->GetDisposal() == dmNone);
            }
            if (options == OptimizeOption(ooCleanup)) {
                ASSERT_EQ(kept.size(), frames.size());
            }
            ASSERT_EQ(FirstDifference(kept, after, 7), "");
        }
        // Where the next frame hides a frame wholly, its disposal still goes.
        EXPECT_GT(dropped, 50);
    }
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
