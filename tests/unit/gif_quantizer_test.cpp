// The octree quantizer: exact colours while they fit, bounded pruning,
// averages that survive pictures too large for 32-bit sums.
#include "gifimage/quantizer.h"
#include "gifimage/reduce.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

namespace {

using TColor = std::tuple<int, int, int>;

// A one-row picture of the given colours (bytes blue, green, red).
struct TPicture {
    explicit TPicture(const std::vector<TColor>& Colors)
    {
        for (auto [r, g, b] : Colors) Bytes.insert(Bytes.end(), {uint8_t(b), uint8_t(g), uint8_t(r)});
    }
    TPixelRows Rows() const { return {Bytes.data(), 0, int(Bytes.size() / 3), 1}; }
    std::vector<uint8_t> Bytes;
};

std::vector<TColor> Table(const TColorQuantizer& Quantizer)
{
    TRGBQuad table[256];
    const int n = Quantizer.FillColorTable(table);
    std::vector<TColor> out;
    for (int i = 0; i < n; ++i) out.emplace_back(table[i].Red, table[i].Green, table[i].Blue);
    return out;
}

TEST(ColorQuantizer, KeepsEveryColourOfAPictureWithFewerColoursThanAsked)
{
    const std::vector<TColor> colors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {12, 34, 56}, {13, 34, 56}};
    TPicture picture(colors);
    TColorQuantizer quantizer(8, 8);
    quantizer.AddBitmapColours(picture.Rows());
    quantizer.AddBitmapColours(picture.Rows()); // the same colours again change nothing
    const auto table = Table(quantizer);
    EXPECT_EQ(std::set<TColor>(table.begin(), table.end()), std::set<TColor>(colors.begin(), colors.end()));
    EXPECT_EQ(table.size(), colors.size());
}

TEST(ColorQuantizer, MergesTheFinestDistinctionFirstIntoPixelWeightedAverages)
{
    // (100..103, 0, 0) differ only in the two lowest bits of red; white is far away.
    TPicture picture({{100, 0, 0}, {101, 0, 0}, {101, 0, 0}, {103, 0, 0}, {255, 255, 255}});
    TColorQuantizer quantizer(2, 8);
    quantizer.AddBitmapColours(picture.Rows());
    EXPECT_EQ(quantizer.LeafCount(), 2);
    // (100 + 101 + 101 + 103) / 4 = 101 (truncated).
    EXPECT_EQ(Table(quantizer), (std::vector<TColor>{{101, 0, 0}, {255, 255, 255}}));
}

TEST(ColorQuantizer, StaysWithinTheLimitOnManyColours)
{
    std::mt19937 random(7);
    std::vector<TColor> colors;
    for (int i = 0; i < 5000; ++i) colors.emplace_back(random() & 255, random() & 255, random() & 255);
    TPicture picture(colors);
    for (int limit : {1, 16, 256}) {
        TColorQuantizer quantizer(limit, 8);
        quantizer.AddBitmapColours(picture.Rows());
        EXPECT_LE(quantizer.LeafCount(), limit);
        EXPECT_GE(quantizer.LeafCount(), std::min(limit, 8));
        EXPECT_EQ(int(Table(quantizer).size()), quantizer.LeafCount());
    }
}

TEST(ColorQuantizer, AveragesAFlatPictureTooLargeForThirtyTwoBitSums)
{
    // 4096 x 4200 white pixels: the red sum 255 * 17203200 needs 33 bits.
    // Every row is the same memory (stride 0).
    std::vector<uint8_t> row(4096 * 3, 255);
    row[0] = 254; // one pixel not white keeps two leaves under one parent
    TColorQuantizer quantizer(1, 8);
    quantizer.AddBitmapColours({row.data(), 0, 4096, 4200});
    EXPECT_EQ(Table(quantizer), (std::vector<TColor>{{255, 255, 254}}));
}

TEST(ColorQuantizer, RefusesColourCountsOutsideOneTo256)
{
    for (int colors : {0, -1, 257}) {
        EXPECT_THROW(TColorQuantizer(colors, 8), GIFException) << colors;
        EXPECT_THROW(PaletteFromQuantizer({}, colors, 8, nullptr), GIFException) << colors;
    }
    EXPECT_THROW(TColorQuantizer(256, 9), GIFException);
    try {
        TColorQuantizer(257, 8);
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid color count");
    }
}

TEST(PaletteFromQuantizer, HasTheColoursAskedForBlackBeyondThoseFound)
{
    TPicture picture({{10, 20, 30}, {40, 50, 60}});
    const auto palette = PaletteFromQuantizer({picture.Rows()}, 16, 8, nullptr);
    ASSERT_EQ(palette.size(), 16u);
    EXPECT_EQ(palette[0].peRed, 10);
    EXPECT_EQ(palette[0].peBlue, 30);
    EXPECT_EQ(palette[1].peGreen, 50);
    for (std::size_t i = 2; i < 16; ++i)
        EXPECT_EQ(palette[i].peRed + palette[i].peGreen + palette[i].peBlue + palette[i].peFlags, 0) << i;
}

TEST(PaletteFromQuantizer, FeedsEveryPictureIntoOneTree)
{
    TPicture first({{1, 2, 3}}), second({{200, 100, 0}, {1, 2, 3}});
    const auto palette = PaletteFromQuantizer({first.Rows(), second.Rows()}, 4, 8, nullptr);
    EXPECT_EQ((TColor{palette[0].peRed, palette[0].peGreen, palette[0].peBlue}), (TColor{1, 2, 3}));
    EXPECT_EQ((TColor{palette[1].peRed, palette[1].peGreen, palette[1].peBlue}), (TColor{200, 100, 0}));
}

TEST(PaletteFromQuantizer, WindowsFlagPutsTheStaticColoursAtBothEnds)
{
    std::vector<TPaletteEntry> system;
    for (int i = 0; i < 20; ++i) system.push_back({uint8_t(i), uint8_t(100 + i), 7, 0});
    const TEntryPalette systemPalette(system);
    std::vector<TColor> colors;
    for (int i = 0; i < 300; ++i) colors.emplace_back(i & 255, (i * 7) & 255, 128);
    TPicture picture(colors);
    const auto palette = PaletteFromQuantizer({picture.Rows()}, 16, 8, &systemPalette);
    ASSERT_EQ(palette.size(), 256u); // the count asked for does not apply
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(palette[i].peGreen, 100 + i);
        EXPECT_EQ(palette[246 + i].peGreen, 110 + i);
    }
    // The 236 quantized colours fill the middle: the picture has more.
    int blue128 = 0;
    for (int i = 10; i < 246; ++i) blue128 += palette[i].peBlue == 128;
    EXPECT_EQ(blue128, 236);
}

} // namespace
