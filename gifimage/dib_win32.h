// Row access to the pixels of toolkit bitmaps, and device-independent
// copies of GDI bitmaps. Rows are numbered from the top.
#pragma once
#include "toolkit/bitmap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TDIB : public TObject {
public:
    CLASS_NAME(TDIB)
    TDIB(TBitmap* Bitmap, TPixelFormat PixelFormat) : Bitmap(Bitmap), PixelFormat(PixelFormat) {}
    virtual uint8_t* GetScanline(int Row) = 0;

protected:
    TBitmap* const Bitmap; // not owned
    const TPixelFormat PixelFormat;
};

// The bitmap's own rows, after converting the bitmap itself to the format.
class TDIBReader : public TDIB {
public:
    CLASS_NAME(TDIBReader)
    TDIBReader(TBitmap* Bitmap, TPixelFormat PixelFormat);
    uint8_t* GetScanline(int Row) override;
};

// Rows of pf8bit or pf24bit pixels kept in memory of the writer's own; the
// colour table of pf8bit is the palette's (entries beyond it are black).
// StoreDibInBitmap replaces the bitmap's picture with them, and so does
// the destructor when rows were handed out since. A caller that must know
// whether storing failed calls StoreDibInBitmap itself: a destructor can
// only swallow the failure.
class TDIBWriter : public TDIB {
public:
    CLASS_NAME(TDIBWriter)
    // Palette is not owned and may be none.
    TDIBWriter(TBitmap* Bitmap, TPixelFormat PixelFormat, int Width, int Height, HPALETTE Palette);
    ~TDIBWriter() override;
    uint8_t* GetScanline(int Row) override;
    void StoreDibInBitmap();

private:
    void AllocateDib();
    void ReleaseDib();
    void EnsureDib();

    std::vector<uint8_t> Info; // BITMAPINFOHEADER, then 256 RGBQUADs for pf8bit
    std::vector<uint8_t> Bits; // bottom-up rows
    const HPALETTE Palette;
    const int Height;
    const int Width;
    bool Pending = false; // rows were handed out and not stored since
};

// The distance from one row of Dib to the next (Height rows): negative for
// bottom-up rows.
std::ptrdiff_t RowStride(TDIB& Dib, int Height);

// A header for fetching Bitmap's pixels as PixelFormat (pf1bit, pf4bit,
// pf8bit or pf24bit): a DIB section's own header (rows keep their order),
// else a bottom-up one of the bitmap's size.
void FillBitmapInfoHeader(HBITMAP Bitmap, BITMAPINFOHEADER& Header, TPixelFormat PixelFormat);
// Bytes InternalGetDIB needs for the header with its colour table, and for the pixels.
void InternalGetDIBSizes(HBITMAP Bitmap, TPixelFormat PixelFormat, int& InfoSize, int& ImageSize);
// Fills Info (InfoSize bytes) and Bits (ImageSize bytes) with the bitmap's
// pixels as PixelFormat, through Palette when one is given; false when GDI
// could not read them.
bool InternalGetDIB(HBITMAP Bitmap, HPALETTE Palette, BITMAPINFO* Info, void* Bits, TPixelFormat PixelFormat);
