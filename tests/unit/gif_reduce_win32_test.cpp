// Colour reduction of real toolkit bitmaps: pixels and colour tables read
// back from the DIB sections that ReduceColors makes.
#include "gifimage/dib_win32.h"
#include "gifimage/palette_win32.h"
#include "gifimage/reduce_win32.h"
#include "gif_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

using TRgb = std::tuple<int, int, int>;
using TPixels = std::vector<std::vector<TRgb>>;

// A pf24bit bitmap holding the picture (top row first).
std::unique_ptr<TBitmap> MakeBitmap(const TPixels& Picture)
{
    const int width = int(Picture[0].size()), height = int(Picture.size());
    auto bitmap = std::make_unique<TBitmap>();
    TDIBWriter writer(bitmap.get(), pf24bit, width, height, nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = writer.GetScanline(y) + 3 * x;
            std::tie(p[2], p[1], p[0]) = Picture[y][x];
        }
    writer.StoreDibInBitmap();
    return bitmap;
}

struct TReadBack {
    int BitCount = 0;
    std::vector<TRgb> Table;
    std::vector<std::vector<int>> Indices;  // 8-bit results
    TPixels Pixels;                        // 24-bit results
};

// Reads a bitmap the way a painter would see it: its DIB section header,
// colour table and pixel rows.
TReadBack ReadBack(const std::unique_ptr<TBitmap>& Result)
{
    TReadBack out;
    HBITMAP Bitmap = Result->Handle();
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectA(Bitmap, sizeof dib, &dib), int(sizeof dib));
    out.BitCount = dib.dsBmih.biBitCount;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Bitmap);
    RGBQUAD table[256];
    // The palette's entries are the important ones; GDI may pad the table.
    const UINT used = dib.dsBmih.biClrImportant ? dib.dsBmih.biClrImportant : 256;
    const UINT n = std::min(GetDIBColorTable(dc, 0, 256, table), used);
    for (UINT i = 0; i < n; ++i) out.Table.emplace_back(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    SelectObject(dc, old);
    DeleteDC(dc);
    const int width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
    for (int y = 0; y < height; ++y) {
        // Bottom-up rows: picture row y is DIB row height - 1 - y.
        const auto* row = static_cast<const uint8_t*>(dib.dsBm.bmBits) + dib.dsBm.bmWidthBytes * (height - 1 - y);
        if (out.BitCount == 8) {
            out.Indices.emplace_back(row, row + width);
        } else {
            std::vector<TRgb> colors;
            for (int x = 0; x < width; ++x) colors.emplace_back(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            out.Pixels.push_back(colors);
        }
    }
    return out;
}

TReadBack Reduce(const TPixels& Picture, TColorReduction Reduction, TDitherMode Mode = dmNearest,
                 int Bits = 8, HPALETTE Custom = nullptr)
{
    return ReadBack(ReduceColors(MakeBitmap(Picture).get(), Reduction, Mode, Bits, Custom));
}

std::vector<TRgb> Entries(HPALETTE Palette)
{
    std::vector<TRgb> out;
    PALETTEENTRY e[256];
    const UINT n = GetPaletteEntries(Palette, 0, 256, e);
    for (UINT i = 0; i < n; ++i) out.emplace_back(e[i].peRed, e[i].peGreen, e[i].peBlue);
    return out;
}

std::vector<TRgb> SystemStaticColors() { return Entries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE))); }

using TIndices = std::vector<std::vector<int>>;

TEST(ReduceColors, FixedPalettesOnKnownPixels)
{
    const TPixels picture = {{{0, 0, 0}, {47, 48, 255}, {255, 255, 255}},
                              {{127, 127, 127}, {128, 128, 128}, {10, 20, 30}}};
    const TReadBack web = Reduce(picture, rmNetscape);
    EXPECT_EQ(web.BitCount, 8);
    ASSERT_EQ(web.Table.size(), 216u);
    EXPECT_EQ(web.Table[11], (TRgb{0, 51, 255}));
    EXPECT_EQ(web.Indices, (TIndices{{0, 11, 215}, {2 * 36 + 2 * 6 + 2, 2 * 36 + 2 * 6 + 2, 0}}));

    const TReadBack grey = Reduce(picture, rmGrayScale);
    ASSERT_EQ(grey.Table.size(), 256u);
    EXPECT_EQ(grey.Table[200], (TRgb{200, 200, 200}));
    EXPECT_EQ(grey.Indices, (TIndices{{0, 71, 255}, {127, 128, 18}}));

    const TReadBack mono = Reduce(picture, rmMonochrome);
    EXPECT_EQ(mono.Table, (std::vector<TRgb>{{0, 0, 0}, {255, 255, 255}}));
    EXPECT_EQ(mono.Indices, (TIndices{{0, 0, 1}, {0, 1, 0}}));

    const TReadBack four = Reduce(picture, rmWindowsGray);
    EXPECT_EQ(four.Table, (std::vector<TRgb>{{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}}));
    EXPECT_EQ(four.Indices[1][1], 1);
}

TEST(ReduceColors, DitheringSpreadsTheErrorAcrossTheBitmap)
{
    const TPixels flat(8, std::vector<TRgb>(8, TRgb{127, 127, 127}));
    const TReadBack nearest = Reduce(flat, rmMonochrome, dmNearest);
    const TReadBack diffused = Reduce(flat, rmMonochrome, dmFloydSteinberg);
    int nearestWhite = 0, diffusedWhite = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            nearestWhite += nearest.Indices[y][x];
            diffusedWhite += diffused.Indices[y][x];
        }
    EXPECT_EQ(nearestWhite, 0);
    EXPECT_NEAR(diffusedWhite, 32, 3);
    EXPECT_EQ(diffused.Indices[0], (std::vector<int>{0, 1, 0, 1, 0, 1, 0, 1}));
}

TEST(ReduceColors, QuantizeKeepsFewColoursExactly)
{
    const TPixels picture = {{{200, 10, 10}, {10, 200, 10}}, {{10, 10, 200}, {200, 10, 10}}};
    const TReadBack q = Reduce(picture, rmQuantize, dmFloydSteinberg, 4);
    ASSERT_EQ(q.Table.size(), 16u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(q.Table[q.Indices[y][x]], picture[y][x]) << x << "," << y;
    EXPECT_EQ(q.Table[15], (TRgb{0, 0, 0}));
}

TEST(ReduceColors, QuantizeWindowsKeepsTheStaticColoursAtBothEnds)
{
    const auto system = SystemStaticColors();
    ASSERT_EQ(system.size(), 20u);
    // 144 colours: fewer than the 236 between the static ones, so all stay.
    TPixels picture(12, std::vector<TRgb>(12));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) picture[y][x] = {x * 16, y * 16, 99};
    const TReadBack q = Reduce(picture, rmQuantizeWindows, dmNearest);
    ASSERT_EQ(q.Table.size(), 256u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(q.Table[i], system[i]) << i;
        EXPECT_EQ(q.Table[246 + i], system[10 + i]) << i;
    }
    EXPECT_EQ(q.Table[q.Indices[3][5]], (TRgb{80, 48, 99}));

    const auto bitmap = MakeBitmap(picture);
    HPALETTE palette = OptimizedPaletteForBitmap(bitmap.get(), 16, 8, true);
    const auto entries = Entries(palette);
    ASSERT_EQ(entries.size(), 256u);
    EXPECT_EQ(entries.front(), system.front());
    EXPECT_EQ(entries.back(), system.back());
    DeleteObject(palette);
}

TEST(ReduceColors, SystemPalettes)
{
    const TPixels picture = {{{255, 0, 0}, {255, 255, 255}, {1, 1, 1}}};
    const TReadBack w20 = Reduce(picture, rmWindows20);
    EXPECT_EQ(w20.Table, SystemStaticColors());
    EXPECT_EQ(w20.Table[w20.Indices[0][0]], (TRgb{255, 0, 0}));
    EXPECT_EQ(w20.Table[w20.Indices[0][1]], (TRgb{255, 255, 255}));
    EXPECT_EQ(w20.Table[w20.Indices[0][2]], (TRgb{0, 0, 0}));

    const TReadBack halftone = Reduce(picture, rmWindows256);
    EXPECT_GE(halftone.Table.size(), 20u);
    EXPECT_EQ(halftone.Table[halftone.Indices[0][1]], (TRgb{255, 255, 255}));
}

TEST(ReduceColors, CustomPaletteAndNone)
{
    const TPixels picture = {{{250, 5, 5}, {3, 3, 250}}};
    HPALETTE custom = CreatePaletteHandle(TEntryPalette({{0, 0, 255, 0}, {255, 0, 0, 0}}));
    const TReadBack p = Reduce(picture, rmPalette, dmNearest, 8, custom);
    EXPECT_EQ(p.Table, (std::vector<TRgb>{{0, 0, 255}, {255, 0, 0}}));
    EXPECT_EQ(p.Indices, (TIndices{{1, 0}}));
    EXPECT_EQ(Entries(custom).size(), 2u); // the caller's palette is left alone
    DeleteObject(custom);

    const TReadBack copy = Reduce(picture, rmNone);
    EXPECT_EQ(copy.BitCount, 24);
    EXPECT_EQ(copy.Pixels, picture);
}

TEST(ReduceColors, RefusesWhatItCannotReduce)
{
    const auto owned = MakeBitmap({{{1, 2, 3}}});
    TBitmap* bitmap = owned.get();
    EXPECT_EQ(MessageOf([&] { ReduceColors(bitmap, rmPalette, dmNearest, 8, nullptr); }), "Invalid reduction method");
    const LOGPALETTE noEntries{0x300, 0, {}};
    HPALETTE empty = CreatePalette(&noEntries);
    if (empty) {
        EXPECT_EQ(MessageOf([&] { ReduceColors(bitmap, rmPalette, dmNearest, 8, empty); }), "Invalid reduction method");
        DeleteObject(empty);
    }
    EXPECT_EQ(MessageOf([&] { ReduceColors(bitmap, TColorReduction(42), dmNearest, 8, nullptr); }),
              "Invalid reduction method");
    for (int bits : {-1, 9, 40})
        EXPECT_EQ(MessageOf([&] { ReduceColors(bitmap, rmQuantize, dmNearest, bits, nullptr); }), "Invalid color count");
    TBitmap nothing;
    EXPECT_EQ(MessageOf([&] { ReduceColors(&nothing, rmNetscape, dmNearest, 8, nullptr); }), "Invalid image dimensions");
    EXPECT_TRUE(ReduceColors(&nothing, rmNone, dmNearest, 8, nullptr)->Empty());

    EXPECT_EQ(MessageOf([&] { CreateOptimizedPaletteFromManyBitmaps({}, 256, 8, false); }), "Invalid bitmap list");
    for (int colors : {0, 257})
        EXPECT_EQ(MessageOf([&] { CreateOptimizedPaletteFromManyBitmaps({bitmap}, colors, 8, false); }),
                  "Invalid color count");
}

TEST(ReduceColors, ReadsSourcesOfAnyFormatTopRowFirst)
{
    const TPixels picture = {{{0, 0, 0}, {255, 255, 255}}, {{255, 255, 255}, {255, 255, 255}}};
    const auto expected = Reduce(picture, rmMonochrome).Indices;
    ASSERT_EQ(expected, (TIndices{{0, 1}, {1, 1}}));
    for (TPixelFormat format : {pfDevice, pf1bit, pf4bit, pf8bit, pf16bit, pf32bit}) {
        const auto source = MakeBitmap(picture);
        source->SetPixelFormat(format);
        EXPECT_EQ(ReadBack(ReduceColors(source.get(), rmMonochrome, dmNearest, 8, nullptr)).Indices, expected) << format;
        // The reader works on the source itself.
        EXPECT_EQ(source->PixelFormat(), pf24bit);
    }
}

TEST(CreateOptimizedPaletteFromManyBitmaps, TakesTheColoursOfEveryBitmap)
{
    const auto first = MakeBitmap({{{10, 20, 30}, {10, 20, 30}}});
    const auto second = MakeBitmap({{{200, 100, 50}}});
    HPALETTE palette = CreateOptimizedPaletteFromManyBitmaps({first.get(), second.get()}, 4, 8, false);
    EXPECT_EQ(Entries(palette), (std::vector<TRgb>{{10, 20, 30}, {200, 100, 50}, {0, 0, 0}, {0, 0, 0}}));
    DeleteObject(palette);
}

} // namespace
