// Colour reduction, the portable part: target palettes, and the walk that
// maps a picture's pixels to palette indices through a dither engine. The
// Windows side (reduce_win32.h) reads and makes bitmaps around it.
#pragma once
#include "gifimage/dither.h"
#include "gifimage/quantizer.h"

#include <vector>

enum TColorReduction : uint8_t {
    rmNone,
    rmWindows20,
    rmWindows256,
    rmWindowsGray,
    rmMonochrome,
    rmGrayScale,
    rmNetscape,
    rmQuantize,
    rmQuantizeWindows,
    rmPalette,
};

// The palettes of rmWindowsGray, rmMonochrome, rmGrayScale and rmNetscape;
// none for the reductions whose palette comes from the system or the picture.
TGIFPaletteRef FixedPalette(TColorReduction Reduction);

// An optimized palette for the pictures, fed in order into one octree.
// Without system colours it has Colors entries (black beyond the colours
// found). With the system's 20 static colours it has 256: the first ten
// static colours, 236 quantized ones, then the last ten static colours.
std::vector<TPaletteEntry> PaletteFromQuantizer(const std::vector<TPixelRows>& Pictures, int Colors,
                                                int ColorBits, const TGIFPalette* SystemColors);

// The lookup that maps onto the palette of a reduction.
std::unique_ptr<TColorLookup> CreateLookup(TColorReduction Reduction, const TGIFPalette& Palette);

// Writes the index of every pixel of Source into rows of Indices (IndexStride
// bytes apart), dithered by Mode onto Palette. Raises "Invalid reduction
// method" when the palette has no colours.
void ReducePixels(const TPixelRows& Source, const TGIFPalette& Palette, TColorReduction Reduction,
                  TDitherMode Mode, uint8_t* Indices, std::ptrdiff_t IndexStride);
