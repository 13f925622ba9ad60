// Reduction of known pixels onto the fixed palettes, through the same walk
// that colour reduction of bitmaps uses.
#include "gifimage/reduce.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using TColor = std::tuple<int, int, int>;

// Reduces a picture given top row first; the source is stored bottom-up
// (negative stride) as bitmaps usually are.
std::vector<std::vector<int>> Reduce(TColorReduction Reduction, TDitherMode Mode,
                                     const std::vector<std::vector<TColor>>& Picture)
{
    const int width = int(Picture[0].size()), height = int(Picture.size());
    std::vector<uint8_t> bytes(std::size_t(width) * 3 * height);
    const TPixelRows rows{bytes.data() + std::size_t(width) * 3 * (height - 1), -std::ptrdiff_t(width) * 3,
                          width, height};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto* p = const_cast<uint8_t*>(rows.Row(y)) + 3 * x;
            std::tie(p[2], p[1], p[0]) = Picture[y][x];
        }
    std::vector<uint8_t> indices(std::size_t(width) * height, 0xEE);
    ReducePixels(rows, *FixedPalette(Reduction), Reduction, Mode, indices.data(), width);
    std::vector<std::vector<int>> out(height);
    for (int y = 0; y < height; ++y) out[y].assign(indices.begin() + width * y, indices.begin() + width * (y + 1));
    return out;
}

using TIndices = std::vector<std::vector<int>>;

TEST(ReducePixels, NetscapeTakesTheWebCubeLevels)
{
    // Levels begin at 48, 99, 150, 201, 252: index = r * 36 + g * 6 + b.
    EXPECT_EQ(Reduce(rmNetscape, dmNearest, {{{0, 0, 0}, {47, 48, 255}, {255, 255, 255}},
                                              {{99, 150, 201}, {98, 149, 200}, {252, 251, 0}}}),
              (TIndices{{0, 11, 215}, {2 * 36 + 3 * 6 + 4, 1 * 36 + 2 * 6 + 3, 5 * 36 + 4 * 6}}));
}

TEST(ReducePixels, GrayScaleWeighsChannelsByLuminance)
{
    // (77 r + 150 g + 29 b) >> 8.
    EXPECT_EQ(Reduce(rmGrayScale, dmNearest, {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}, {255, 255, 255}}}),
              (TIndices{{76, 149, 28, 18, 255}}));
}

TEST(ReducePixels, MonochromeSplitsAtHalfBrightness)
{
    EXPECT_EQ(Reduce(rmMonochrome, dmNearest, {{{127, 127, 127}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}}}),
              (TIndices{{0, 1, 0, 1}}));
    // Floyd-Steinberg over a flat 127 grey: 127 -> black (error 127), 183 ->
    // white (-72), 96 -> black (96), 169 -> white; the next row runs back
    // from the right with what the first row left.
    EXPECT_EQ(Reduce(rmMonochrome, dmFloydSteinberg, {{{127, 127, 127}, {127, 127, 127}, {127, 127, 127}, {127, 127, 127}}}),
              (TIndices{{0, 1, 0, 1}}));
}

TEST(ReducePixels, DitheredGreysAverageOutToTheSourceGrey)
{
    std::vector<std::vector<TColor>> picture(64, std::vector<TColor>(64, TColor{64, 64, 64}));
    for (TDitherMode mode : {dmFloydSteinberg, dmStucki, dmSierra, dmJaJuNI, dmSteveArche, dmBurkes}) {
        const auto indices = Reduce(rmMonochrome, mode, picture);
        int white = 0;
        for (const auto& row : indices)
            for (int i : row) white += i;
        // 64/255 of 4096 pixels is 1028; the error that falls off the edges
        // keeps the count a little lower.
        EXPECT_NEAR(white, 1028, 80) << int(mode);
    }
    int white = 0;
    for (const auto& row : Reduce(rmMonochrome, dmNearest, picture))
        for (int i : row) white += i;
    EXPECT_EQ(white, 0);
}

TEST(FixedPalette, GreysDoNotCollapseAndSystemPalettesAreNotFixed)
{
    const auto four = FixedPalette(rmWindowsGray);
    TPaletteEntry e[4];
    ASSERT_EQ(four->GetEntries(0, 4, e), 4);
    EXPECT_EQ(four->EntryCount(), 4);
    EXPECT_EQ((std::vector<int>{e[0].peRed, e[1].peGreen, e[2].peBlue, e[3].peRed}), (std::vector<int>{0, 128, 192, 255}));
    EXPECT_EQ(e[2].peFlags, PC_NOCOLLAPSE_FLAG);
    EXPECT_EQ(FixedPalette(rmMonochrome)->EntryCount(), 2);
    EXPECT_EQ(FixedPalette(rmGrayScale)->EntryCount(), 256);
    EXPECT_EQ(FixedPalette(rmNetscape)->EntryCount(), 216);
    for (TColorReduction r : {rmNone, rmWindows20, rmWindows256, rmQuantize, rmQuantizeWindows, rmPalette})
        EXPECT_EQ(FixedPalette(r), nullptr) << int(r);
}

TEST(ReducePixels, APaletteWithoutColoursIsRefused)
{
    const uint8_t pixel[3] = {1, 2, 3};
    uint8_t index = 0;
    const TEntryPalette empty({});
    try {
        ReducePixels({pixel, 3, 1, 1}, empty, rmPalette, dmNearest, &index, 1);
        FAIL() << "reduced onto no colours";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid reduction method");
    }
}

TEST(ReducePixels, CustomPaletteTakesTheNearestEntry)
{
    const TEntryPalette palette({{255, 0, 0, 0}, {0, 0, 255, 0}, {250, 10, 5, 0}});
    const uint8_t pixels[] = {0, 0, 200, /**/ 240, 0, 0, /**/ 5, 10, 250};
    uint8_t indices[3] = {};
    ReducePixels({pixels, 9, 3, 1}, palette, rmPalette, dmNearest, indices, 3);
    // Red 200 is nearer to (255, 0, 0); blue 240 to (0, 0, 255); the last is an exact match.
    EXPECT_EQ((std::vector<int>(indices, indices + 3)), (std::vector<int>{0, 1, 2}));
}

} // namespace
