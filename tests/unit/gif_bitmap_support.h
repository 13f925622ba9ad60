// Pictures read back from real GDI bitmaps, for the GIF tests that render
// and draw frames.
#pragma once
#include "toolkit/bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

// Pixels as 0xRRGGBB, rows from the top.
struct TRgbPicture {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int X, int Y) const { return Pixels[size_t(Y) * Width + X]; }
};

// What a context shows from (0, 0), copied by GDI into a 32-bit DIB of our own.
inline TRgbPicture ReadPicture(HDC Source, int Width, int Height)
{
    TRgbPicture picture;
    picture.Width = Width;
    picture.Height = Height;
    BITMAPINFOHEADER header{sizeof header, Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(copy, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, Width, Height, Source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* bgrx = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < size_t(Width) * Height; ++i) picture.Pixels.push_back(bgrx[i] & 0xFFFFFF);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(copy);
    return picture;
}

// The bitmap's pixels as GDI gives them out: a palette bitmap's indices
// through its colour table.
inline TRgbPicture ReadPicture(TBitmap& Bitmap)
{
    return ReadPicture(Bitmap.Canvas()->Handle(), Bitmap.Width(), Bitmap.Height());
}

// A 24-bit bitmap of Width x Height in one colour (0x00BBGGRR, as TColor).
inline std::unique_ptr<TBitmap> SolidBitmap(int Width, int Height, TColor Color)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width, Height);
    bitmap->Canvas()->Brush()->SetColor(Color);
    bitmap->Canvas()->FillRect({0, 0, Width, Height});
    return bitmap;
}

// 0xRRGGBB of a TColor.
inline uint32_t Rgb(TColor Color)
{
    return (uint32_t(Color) & 0xFF) << 16 | (uint32_t(Color) & 0xFF00) | (uint32_t(Color) >> 16 & 0xFF);
}
