#include "gifimage/reduce_win32.h"

#include "gifimage/gif_types.h"
#include "gifimage/palette_win32.h"

#include <cstring>
#include <utility>

namespace {

std::ptrdiff_t DibStride(int Width, int BitCount) { return ((Width * BitCount + 31) & ~31) >> 3; }

// A bitmap's pixels as 24-bit rows, top row first, in memory of our own.
class TBgrPixels {
public:
    explicit TBgrPixels(HBITMAP Bitmap)
    {
        BITMAP bm{};
        if (!Bitmap || !GetObjectA(Bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
            throw EInvalidGraphic("Bitmap image is not valid");
        FRows = {nullptr, DibStride(bm.bmWidth, 24), bm.bmWidth, bm.bmHeight};
        FBits.resize(std::size_t(FRows.Stride) * FRows.Height);
        FRows.Top = FBits.data();

        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), FRows.Width, -FRows.Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        HDC dc = GetDC(nullptr);
        const int rows = GetDIBits(dc, Bitmap, 0, FRows.Height, FBits.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        if (rows != FRows.Height) throw EInvalidGraphic("Bitmap image is not valid");
    }
    const TPixelRows& Rows() const { return FRows; }

private:
    std::vector<uint8_t> FBits;
    TPixelRows FRows;
};

// The system's 20 static colours.
TGIFPaletteRef SystemColors()
{
    return std::make_unique<THandlePalette>(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), false);
}

TGIFPaletteRef ScreenHalftonePalette()
{
    HDC dc = GetDC(nullptr);
    HPALETTE halftone = dc ? CreateHalftonePalette(dc) : nullptr;
    if (dc) ReleaseDC(nullptr, dc);
    if (!halftone) throw EOutOfMemory("Out of system resources");
    return std::make_unique<THandlePalette>(halftone, true);
}

// A bottom-up DIB section of the picture's size; for 8 bits its colour table
// is the palette. Deleted on scope exit unless released.
class TDibSection {
public:
    TDibSection(int Width, int Height, int BitCount, const TGIFPalette* Palette)
    {
        std::vector<uint8_t> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
        int colors = 0;
        if (Palette) {
            TPaletteEntry entries[256];
            colors = Palette->GetEntries(0, 256, entries);
            for (int i = 0; i < colors; ++i)
                info->bmiColors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        }
        info->bmiHeader = {sizeof(BITMAPINFOHEADER), Width, Height, 1, WORD(BitCount), BI_RGB, 0, 0, 0,
                           DWORD(colors), DWORD(colors)};
        void* bits = nullptr;
        FHandle = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!FHandle) throw EOutOfMemory("Out of system resources");
        const std::ptrdiff_t stride = DibStride(Width, BitCount);
        Top = static_cast<uint8_t*>(bits) + stride * (Height - 1);
        Stride = -stride;
    }
    ~TDibSection() { if (FHandle) DeleteObject(FHandle); }
    TDibSection(const TDibSection&) = delete;
    TDibSection& operator=(const TDibSection&) = delete;

    HBITMAP Release()
    {
        GdiFlush();
        return std::exchange(FHandle, nullptr);
    }

    uint8_t* Top;
    std::ptrdiff_t Stride;

private:
    HBITMAP FHandle;
};

} // namespace

HPALETTE OptimizedPaletteForBitmap(HBITMAP Bitmap, int Colors, int ColorBits, bool Windows)
{
    return CreateOptimizedPaletteFromManyBitmaps({Bitmap}, Colors, ColorBits, Windows);
}

HPALETTE CreateOptimizedPaletteFromManyBitmaps(const std::vector<HBITMAP>& Bitmaps, int Colors,
                                               int ColorBits, bool Windows)
{
    if (Bitmaps.empty()) throw GIFException(ColorTexts::InvalidBitmapList);
    CheckColorCount(Colors);
    std::vector<TBgrPixels> pixels;
    pixels.reserve(Bitmaps.size());
    std::vector<TPixelRows> rows;
    for (HBITMAP bitmap : Bitmaps) rows.push_back(pixels.emplace_back(bitmap).Rows());
    const auto system = Windows ? SystemColors() : nullptr;
    return CreatePaletteHandle(TEntryPalette(PaletteFromQuantizer(rows, Colors, ColorBits, system.get())));
}

HBITMAP ReduceColors(HBITMAP Bitmap, TColorReduction Reduction, TDitherMode DitherMode, int ReductionBits,
                     HPALETTE CustomPalette)
{
    const TBgrPixels source(Bitmap);
    const TPixelRows& rows = source.Rows();
    if (Reduction == rmNone) {
        TDibSection copy(rows.Width, rows.Height, 24, nullptr);
        for (int y = 0; y < rows.Height; ++y) std::memcpy(copy.Top + copy.Stride * y, rows.Row(y), rows.Stride);
        return copy.Release();
    }

    TGIFPaletteRef palette;
    switch (Reduction) {
    case rmWindows20: palette = SystemColors(); break;
    case rmWindows256: palette = ScreenHalftonePalette(); break;
    case rmQuantize: {
        const int colors = ReductionBits >= 0 && ReductionBits <= 8 ? 1 << ReductionBits : 0;
        palette = std::make_unique<TEntryPalette>(PaletteFromQuantizer({rows}, colors, 8, nullptr));
        break;
    }
    case rmQuantizeWindows: {
        const auto system = SystemColors();
        palette = std::make_unique<TEntryPalette>(PaletteFromQuantizer({rows}, 256, 8, system.get()));
        break;
    }
    case rmPalette:
        // No palette would leave an empty result that looks like success.
        if (!CustomPalette) throw GIFException(ColorTexts::InvalidReduction);
        palette = std::make_unique<THandlePalette>(CustomPalette, false);
        break;
    default:
        palette = FixedPalette(Reduction);
        if (!palette) throw GIFException(ColorTexts::InvalidReduction);
    }

    TDibSection result(rows.Width, rows.Height, 8, palette.get());
    ReducePixels(rows, *palette, Reduction, DitherMode, result.Top, result.Stride);
    return result.Release();
}
