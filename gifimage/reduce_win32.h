// Colour reduction over GDI bitmaps and palettes. Bitmaps of any format are
// read as 24-bit pixels; results are 8-bit DIB sections whose colour table
// is the target palette. Every handle returned belongs to the caller.
#pragma once
#include "gifimage/reduce.h"

#include <windows.h>

#include <vector>

// An optimized palette for one bitmap: Colors entries, or with Windows set
// 256 entries whose first and last ten are the system's static colours.
HPALETTE OptimizedPaletteForBitmap(HBITMAP Bitmap, int Colors, int ColorBits, bool Windows);
// The same over several bitmaps fed into one quantizer; an empty list
// raises "Invalid bitmap list".
HPALETTE CreateOptimizedPaletteFromManyBitmaps(const std::vector<HBITMAP>& Bitmaps, int Colors,
                                               int ColorBits, bool Windows);
// A palette bitmap of the picture reduced by Reduction (rmNone: a 24-bit
// copy). ReductionBits sets the colour count of rmQuantize (2^bits);
// CustomPalette is the palette of rmPalette.
HBITMAP ReduceColors(HBITMAP Bitmap, TColorReduction Reduction, TDitherMode DitherMode, int ReductionBits,
                     HPALETTE CustomPalette);
