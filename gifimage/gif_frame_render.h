// A frame's pixels as the rows of an 8-bit palette bitmap, and its
// transparency mask. The platform's rendering (gif_subimage_win32.cpp)
// puts them into a bitmap and a monochrome bitmap.
#pragma once
#include "gifimage/color_lookup.h"
#include "gifimage/dither.h"
#include "gifimage/gif_types.h"

#include <cstdint>
#include <memory>
#include <vector>

class TGIFSubImage;

class TFrameRenderer {
public:
    // Dither: the frame's colours (those of its active colour map; indices
    // beyond it are black) are dithered onto the web palette with
    // Floyd-Steinberg; else each row is the pixels as they are.
    // TransparentIndex: the pixels the mask marks, -1 for no mask.
    TFrameRenderer(const TGIFSubImage& Frame, bool Dither, int TransparentIndex);
    ~TFrameRenderer();
    TFrameRenderer(const TFrameRenderer&) = delete;
    TFrameRenderer& operator=(const TFrameRenderer&) = delete;

    // Rows come in order from the top; Out takes the frame's width in bytes.
    // Dithered, a transparent pixel shows the web colour nearest to the
    // transparent colour.
    void RenderRow(int Row, uint8_t* Out);

    // Whether any pixel was marked.
    bool MaskUsed() const { return Used; }
    // One bit per pixel, 1 for transparent, most significant bit first;
    // rows (from the top) padded to 16 bits, as monochrome bitmaps are.
    const uint8_t* MaskBits() const { return Mask.data(); }
    int MaskRowBytes() const { return MaskStride; }

private:
    void Mark(uint8_t* MaskRow, int X)
    {
        MaskRow[X >> 3] |= uint8_t(0x80 >> (X & 7));
        Used = true;
    }

    const uint8_t* const Pixels;
    const int Width;
    const int Transparent;
    TGIFColor Colors[256];
    std::unique_ptr<TNetscapeColorLookup> Lookup;
    std::unique_ptr<TFloydSteinbergDitherer> Ditherer;
    uint8_t Fill = 0;
    const int MaskStride;
    std::vector<uint8_t> Mask;
    bool Used = false;
};
