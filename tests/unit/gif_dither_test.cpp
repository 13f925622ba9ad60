// Error-diffusion arithmetic of the dither engines on small pictures whose
// results are worked out by hand.
#include "gifimage/dither.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A lookup given as a function of the red channel (all tests use greys),
// recording every value it was asked for.
class TGreyLookup : public TColorLookup {
public:
    explicit TGreyLookup(std::function<uint8_t(uint8_t)> Choose) : TColorLookup(nullptr), Choose(std::move(Choose))
    {
        ColorCount = 256;
    }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override
    {
        Seen.push_back(Red);
        R = G = B = Choose(Red);
        return R == 255;
    }
    std::function<uint8_t(uint8_t)> Choose;
    std::vector<int> Seen;
};

uint8_t BlackOrWhite(uint8_t v) { return v >= 128 ? 255 : 0; }

// Feeds a grey picture (rows of values) through the engine in its own
// serpentine order; answers the indices and the columns in visiting order.
struct TRun {
    std::vector<std::vector<int>> Indices;
    std::vector<int> Columns;
};

TRun Dither(TDitherEngine& Engine, const std::vector<std::vector<int>>& Picture)
{
    TRun run;
    uint8_t r, g, b;
    for (const auto& row : Picture) {
        std::vector<int> out(row.size(), -1);
        for (int x = Engine.Column(); x >= 0 && x < int(row.size()); x = Engine.Column()) {
            run.Columns.push_back(x);
            const auto v = uint8_t(row[x]);
            out[x] = Engine.DitherPixel(v, v, v, r, g, b);
        }
        run.Indices.push_back(out);
        Engine.BeginRow();
    }
    return run;
}

TEST(FloydSteinberg, SpreadsRoundsWithTruncationAndWalksSerpentine)
{
    TGreyLookup lookup(BlackOrWhite);
    TFloydSteinbergDitherer engine(3, lookup);
    const TRun run = Dither(engine, {{100, 100, 100}, {100, 100, 100}});
    // Row 0: 100 -> 0 (error 100); 100 + (700 + 8) / 16 = 144 -> 255 (error
    // -111); 100 + (-777 + 8) / 16 = 100 - 48 = 52 (floor would give 51).
    // Row 1, right to left, takes 5/16 from above, 3/16 from the pixel ahead
    // of that and 1/16 from the one behind: column 2 gets 149 -> 109; column
    // 1 gets -299 + 7 * 109 = 464 -> 129; column 0 gets 167 - 7 * 126 = -715
    // -> 100 + (-707) / 16 = 56 (floor would give 55).
    EXPECT_EQ(lookup.Seen, (std::vector<int>{100, 144, 52, 109, 129, 56}));
    EXPECT_EQ(run.Columns, (std::vector<int>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(run.Indices, (std::vector<std::vector<int>>{{0, 1, 0}, {0, 1, 0}}));
}

TEST(FloydSteinberg, ClampsBeforeTheLookupAndMeasuresErrorFromTheClampedValue)
{
    TGreyLookup black([](uint8_t) { return uint8_t(0); });
    TFloydSteinbergDitherer up(3, black);
    Dither(up, {{200, 200, 0}});
    // 200 + 1400/16 = 288 is clamped to 255, so 7 * 255 (not 7 * 288) goes on:
    // (1785 + 8) / 16 = 112.
    EXPECT_EQ(black.Seen, (std::vector<int>{200, 255, 112}));

    TGreyLookup white([](uint8_t) { return uint8_t(255); });
    TFloydSteinbergDitherer down(3, white);
    Dither(down, {{55, 55, 255}});
    // 55 - 87 is clamped to 0, error -255: 255 + (-1785 + 8) / 16 = 144.
    EXPECT_EQ(white.Seen, (std::vector<int>{55, 0, 144}));
}

TEST(FloydSteinberg, ExactColoursPassNoErrorAndEdgeTapsAreDropped)
{
    TGreyLookup lookup(BlackOrWhite);
    TFloydSteinbergDitherer exact(2, lookup);
    Dither(exact, {{100, 211}, {0, 0}});
    // 211 + 44 is exactly white and passes nothing on, so row 1 holds only
    // the first pixel's 1/16 and 5/16 (its 3/16 fell off the left edge):
    // (100 + 8) / 16 = 6 -> black, whose 7/16 joins the 5/16:
    // (500 + 42 + 8) / 16 = 34.
    EXPECT_EQ(lookup.Seen, (std::vector<int>{100, 255, 6, 34}));

    // One column: only the 5/16 straight down stays inside the picture.
    TGreyLookup column(BlackOrWhite);
    TFloydSteinbergDitherer narrow(1, column);
    Dither(narrow, {{100}, {100}, {100}});
    // 100 -> 0; 100 + (500 + 8) / 16 = 131 -> 255, error -124;
    // 100 + (-620 + 8) / 16 = 62.
    EXPECT_EQ(column.Seen, (std::vector<int>{100, 131, 62}));
}

TEST(DitherEngine, NearestTakesPixelsUnchangedAndSkipsColumns)
{
    TGreyLookup lookup(BlackOrWhite);
    TDitherEngine engine(3, lookup);
    const TRun run = Dither(engine, {{100, 200, 127}, {128, 0, 255}});
    EXPECT_EQ(lookup.Seen, (std::vector<int>{100, 200, 127, 255, 0, 128}));
    EXPECT_EQ(run.Indices, (std::vector<std::vector<int>>{{0, 1, 0}, {1, 0, 1}}));

    // A skipped pixel takes no error and leaves the error of its neighbour
    // where it was: the 7/16 meant for column 1 is not handed to column 2.
    TGreyLookup skipping(BlackOrWhite);
    TFloydSteinbergDitherer fs(3, skipping);
    uint8_t r, g, b;
    fs.DitherPixel(100, 100, 100, r, g, b);
    fs.SkipColumn();
    EXPECT_EQ(fs.Column(), 2);
    fs.DitherPixel(100, 100, 100, r, g, b);
    EXPECT_EQ(skipping.Seen, (std::vector<int>{100, 100}));
}

// Lets one marked pixel (value = the divisor) fall to black and passes every
// other pixel unchanged, so the picture afterwards shows the kernel: each
// pixel receives exactly its weight.
std::vector<std::vector<int>> SpreadOfOnePixel(TDitherMode Mode, int Divisor, int MarkRow)
{
    TGreyLookup lookup([Divisor](uint8_t v) { return v == Divisor ? uint8_t(0) : v; });
    auto engine = CreateDitherEngine(Mode, 7, lookup);
    std::vector<std::vector<int>> picture(MarkRow + 4, std::vector<int>(7, 0));
    picture[MarkRow][3] = Divisor;
    Dither(*engine, picture);
    // Seen is in visiting order; put it back on the grid.
    std::vector<std::vector<int>> grid(picture.size(), std::vector<int>(7));
    std::size_t i = 0;
    for (std::size_t y = 0; y < grid.size(); ++y)
        for (int k = 0; k < 7; ++k) grid[y][y % 2 ? 6 - k : k] = lookup.Seen[i++];
    grid[MarkRow][3] = -1; // the marked pixel itself
    return {grid.begin() + MarkRow, grid.end()};
}

using TGrid = std::vector<std::vector<int>>;

TEST(ErrorDiffusion, KernelsPutTheirPublishedWeightsAhead)
{
    EXPECT_EQ(SpreadOfOnePixel(dmFloydSteinberg, 16, 0), (TGrid{{0, 0, 0, -1, 7, 0, 0},
                                                               {0, 0, 3, 5, 1, 0, 0},
                                                               {0, 0, 0, 0, 0, 0, 0},
                                                               {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(SpreadOfOnePixel(dmStucki, 42, 0), (TGrid{{0, 0, 0, -1, 8, 4, 0},
                                                       {0, 2, 4, 8, 4, 2, 0},
                                                       {0, 1, 2, 4, 2, 1, 0},
                                                       {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(SpreadOfOnePixel(dmSierra, 32, 0), (TGrid{{0, 0, 0, -1, 5, 3, 0},
                                                       {0, 2, 4, 5, 4, 2, 0},
                                                       {0, 0, 2, 3, 2, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(SpreadOfOnePixel(dmJaJuNI, 48, 0), (TGrid{{0, 0, 0, -1, 7, 5, 0},
                                                        {0, 3, 5, 7, 5, 3, 0},
                                                        {0, 1, 3, 5, 3, 1, 0},
                                                        {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(SpreadOfOnePixel(dmSteveArche, 200, 0), (TGrid{{0, 0, 0, -1, 0, 32, 0},
                                                             {12, 0, 26, 0, 30, 0, 16},
                                                             {0, 12, 0, 26, 0, 12, 0},
                                                             {5, 0, 12, 0, 12, 0, 5}}));
    EXPECT_EQ(SpreadOfOnePixel(dmBurkes, 32, 0), (TGrid{{0, 0, 0, -1, 8, 4, 0},
                                                       {0, 2, 4, 8, 4, 2, 0},
                                                       {0, 0, 0, 0, 0, 0, 0},
                                                       {0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(SpreadOfOnePixel(dmNearest, 16, 0), (TGrid{{0, 0, 0, -1, 0, 0, 0},
                                                        {0, 0, 0, 0, 0, 0, 0},
                                                        {0, 0, 0, 0, 0, 0, 0},
                                                        {0, 0, 0, 0, 0, 0, 0}}));
}

TEST(ErrorDiffusion, RightToLeftRowsMirrorTheKernel)
{
    EXPECT_EQ(SpreadOfOnePixel(dmFloydSteinberg, 16, 1), (TGrid{{0, 0, 7, -1, 0, 0, 0},
                                                               {0, 0, 1, 5, 3, 0, 0},
                                                               {0, 0, 0, 0, 0, 0, 0},
                                                               {0, 0, 0, 0, 0, 0, 0}}));
}

} // namespace
