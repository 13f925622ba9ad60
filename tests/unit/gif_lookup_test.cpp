// Colour lookups and the web palette.
#include "gifimage/color_lookup.h"

#include <gtest/gtest.h>

namespace {

struct Answer {
    int Index;
    int Red, Green, Blue;
};

Answer Find(TColorLookup& lookup, int r, int g, int b)
{
    uint8_t R, G, B;
    int index = lookup.FindNearest(uint8_t(r), uint8_t(g), uint8_t(b), R, G, B);
    return {index, R, G, B};
}

TEST(WebPalette, HoldsTheCubeInOrder)
{
    auto palette = WebPalette();
    ASSERT_EQ(palette->EntryCount(), 216);
    TPaletteEntry e[216];
    ASSERT_EQ(palette->GetEntries(0, 300, e), 216);
    EXPECT_EQ(e[0].peRed + e[0].peGreen + e[0].peBlue, 0);
    const TPaletteEntry& x = e[2 * 36 + 3 * 6 + 4];
    EXPECT_EQ(x.peRed, 102);
    EXPECT_EQ(x.peGreen, 153);
    EXPECT_EQ(x.peBlue, 204);
    EXPECT_EQ(x.peFlags, 0);
    EXPECT_EQ(palette->GetEntries(215, 5, e), 1);
    EXPECT_EQ(e[0].peRed, 255);
}

TEST(NetscapeLookup, LevelsBeginAt48And99AndAgreeWithWebPalette)
{
    TNetscapeColorLookup lookup;
    EXPECT_EQ(lookup.Colors(), 216);
    EXPECT_EQ(Find(lookup, 47, 0, 0).Index, 0);
    EXPECT_EQ(Find(lookup, 48, 0, 0).Index, 36);
    EXPECT_EQ(Find(lookup, 0, 98, 0).Index, 6);
    EXPECT_EQ(Find(lookup, 0, 99, 0).Index, 12);
    Answer white = Find(lookup, 255, 255, 255);
    EXPECT_EQ(white.Index, 215);
    EXPECT_EQ(white.Red + white.Green + white.Blue, 765);

    auto palette = WebPalette();
    TPaletteEntry e[216];
    palette->GetEntries(0, 216, e);
    for (int c = 0; c < 256; c += 5) {
        Answer a = Find(lookup, c, 255 - c, c / 2);
        EXPECT_EQ(e[a.Index].peRed, a.Red);
        EXPECT_EQ(e[a.Index].peGreen, a.Green);
        EXPECT_EQ(e[a.Index].peBlue, a.Blue);
    }
}

TEST(GrayAndMonochrome, SplitByLuminance)
{
    TGrayScaleLookup grey;
    Answer g = Find(grey, 100, 100, 100);
    EXPECT_EQ(g.Index, 100); // 77 + 150 + 29 = 256
    EXPECT_EQ(g.Blue, 100);
    EXPECT_EQ(Find(grey, 255, 0, 0).Index, 255 * 77 >> 8);

    TMonochromeLookup mono;
    EXPECT_EQ(mono.Colors(), 2);
    Answer dark = Find(mono, 127, 127, 127); // sum 32512, not above the limit
    EXPECT_EQ(dark.Index, 0);
    EXPECT_EQ(dark.Red, 0);
    Answer light = Find(mono, 128, 128, 128);
    EXPECT_EQ(light.Index, 1);
    EXPECT_EQ(light.Green, 255);
}

TEST(FastLookup, NearestBySumOfDifferencesFirstOfEqualsWins)
{
    TEntryPalette palette({{0, 0, 0, 0}, {200, 0, 0, 0}, {0, 200, 0, 0}, {0, 200, 0, 0}, {100, 100, 100, 0}});
    TFastColorLookup lookup(&palette);
    EXPECT_EQ(lookup.Colors(), 5);
    EXPECT_EQ(Find(lookup, 190, 10, 0).Index, 1);
    Answer green = Find(lookup, 10, 190, 10);
    EXPECT_EQ(green.Index, 2); // entry 3 is the same colour, later
    EXPECT_EQ(green.Green, 200);
    EXPECT_EQ(Find(lookup, 90, 110, 100).Index, 4);
    // (100,100,100) and (100,0,100) tie-break: 0 has distance 200, 4 has 100.
    EXPECT_EQ(Find(lookup, 100, 0, 100).Index, 4);
}

TEST(FastLookup, ACellKeepsItsFirstAnswer)
{
    TEntryPalette palette({{0, 0, 0, 0}, {7, 7, 7, 0}});
    TFastColorLookup lookup(&palette);
    // (7,7,7) falls in cell 0, which entry 0 already owns.
    EXPECT_EQ(Find(lookup, 7, 7, 7).Index, 0);
    // A cell without an owner caches the first search for all its colours.
    TEntryPalette far({{0, 0, 0, 0}, {20, 20, 20, 0}});
    TFastColorLookup cached(&far);
    EXPECT_EQ(Find(cached, 9, 9, 9).Index, 0);  // 27 vs 33
    EXPECT_EQ(Find(cached, 15, 15, 15).Index, 0); // same cell, though entry 1 is nearer
}

TEST(FastLookup, TakesAtMost256Entries)
{
    std::vector<TPaletteEntry> many(300, TPaletteEntry{1, 2, 3, 0});
    TEntryPalette palette(many);
    TFastColorLookup lookup(&palette);
    EXPECT_EQ(lookup.Colors(), 256);
    TFastColorLookup none(nullptr);
    EXPECT_EQ(none.Colors(), 0);
}

} // namespace
