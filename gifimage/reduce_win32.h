// Colour reduction of toolkit bitmaps. Each source is read as 24-bit rows
// through a TDIBReader, which converts the source bitmap itself to pf24bit.
// Results are pf8bit bitmaps whose colour table is the target palette;
// every bitmap and palette handle returned belongs to the caller.
#pragma once
#include "gifimage/reduce.h"
#include "toolkit/bitmap.h"

#include <memory>
#include <vector>

// An optimized palette for one bitmap: Colors entries, or with Windows set
// 256 entries whose first and last ten are the system's static colours.
HPALETTE OptimizedPaletteForBitmap(TBitmap* Bitmap, int Colors, int ColorBits, bool Windows);
// The same over several bitmaps fed into one quantizer; an empty list
// raises "Invalid bitmap list".
HPALETTE CreateOptimizedPaletteFromManyBitmaps(const std::vector<TBitmap*>& Bitmaps, int Colors,
                                               int ColorBits, bool Windows);
// A palette bitmap of the picture reduced by Reduction (rmNone: a pf24bit
// copy). ReductionBits sets the colour count of rmQuantize (2^bits);
// CustomPalette is the palette of rmPalette and stays the caller's.
std::unique_ptr<TBitmap> ReduceColors(TBitmap* Bitmap, TColorReduction Reduction, TDitherMode DitherMode,
                                      int ReductionBits, HPALETTE CustomPalette);
