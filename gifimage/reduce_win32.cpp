#include "gifimage/reduce_win32.h"

#include "gifimage/dib_win32.h"
#include "gifimage/gif_types.h"
#include "gifimage/palette_win32.h"
#include "gifimage/system_error_win32.h"

namespace {

// Bitmap's pixels as 24-bit rows, valid while the bitmap is not changed;
// converts the bitmap to pf24bit.
TPixelRows BgrRows(TBitmap* Bitmap)
{
    TDIBReader reader(Bitmap, pf24bit);
    const int height = Bitmap->Height();
    return {height ? reader.GetScanline(0) : nullptr, RowStride(reader, height), Bitmap->Width(), height};
}

// The system's 20 static colours.
TGIFPaletteRef SystemColors()
{
    return std::make_unique<THandlePalette>(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), false);
}

TGIFPaletteRef ScreenHalftonePalette()
{
    HDC dc = RaiseSystemError(GetDC(nullptr));
    HPALETTE halftone = CreateHalftonePalette(dc);
    ReleaseDC(nullptr, dc);
    return std::make_unique<THandlePalette>(RaiseSystemError(halftone), true);
}

} // namespace

HPALETTE OptimizedPaletteForBitmap(TBitmap* Bitmap, int Colors, int ColorBits, bool Windows)
{
    return CreateOptimizedPaletteFromManyBitmaps({Bitmap}, Colors, ColorBits, Windows);
}

HPALETTE CreateOptimizedPaletteFromManyBitmaps(const std::vector<TBitmap*>& Bitmaps, int Colors,
                                               int ColorBits, bool Windows)
{
    if (Bitmaps.empty()) throw GIFException(ColorTexts::InvalidBitmapList);
    CheckColorCount(Colors);
    std::vector<TPixelRows> rows;
    for (TBitmap* bitmap : Bitmaps) rows.push_back(BgrRows(bitmap));
    const auto system = Windows ? SystemColors() : nullptr;
    return CreatePaletteHandle(TEntryPalette(PaletteFromQuantizer(rows, Colors, ColorBits, system.get())));
}

std::unique_ptr<TBitmap> ReduceColors(TBitmap* Bitmap, TColorReduction Reduction, TDitherMode DitherMode,
                                      int ReductionBits, HPALETTE CustomPalette)
{
    auto result = std::make_unique<TBitmap>();
    if (Reduction == rmNone) {
        result->Assign(Bitmap);
        result->SetPixelFormat(pf24bit);
        return result;
    }
    const TPixelRows rows = BgrRows(Bitmap);

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

    const THandlePalette target(CreatePaletteHandle(*palette), true);
    TDIBWriter writer(result.get(), pf8bit, rows.Width, rows.Height, target.Handle);
    ReducePixels(rows, *palette, Reduction, DitherMode, writer.GetScanline(0), RowStride(writer, rows.Height));
    writer.StoreDibInBitmap();
    return result;
}
