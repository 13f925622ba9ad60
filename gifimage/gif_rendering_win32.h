// The rendering of a frame on Windows: a palette bitmap of the frame and
// the monochrome mask of its transparent pixels.
#pragma once
#include "gifimage/gif_subimage.h"
#include "toolkit/bitmap.h"

#include <memory>

class TFrameBitmap : public TFrameRendering {
public:
    ~TFrameBitmap() override
    {
        if (Mask) DeleteObject(Mask);
    }
    std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
    HBITMAP Mask = nullptr; // bit 1: transparent
};

inline TFrameBitmap& BitmapOf(TFrameRendering& Rendering) { return static_cast<TFrameBitmap&>(Rendering); }
