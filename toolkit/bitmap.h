// TBitmap: a picture in memory. Every pixel format but pfDevice is a
// bottom-up DIB section, so that rows can be read and written directly.
#pragma once
#include "graphics.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmap : public TGraphic {
public:
    CLASS_NAME(TBitmap)
    TBitmap();
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    void Draw(TCanvas* Canvas, const RECT& Rect) override;
    bool Empty() const override { return FHandle == nullptr; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int Value) override { SetSize(Value, FHeight); }
    void SetHeight(int Value) override { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    HPALETTE Palette() override;
    void SetPalette(HPALETTE Value) override; // takes the palette's colours into the colour table

    void LoadFromStream(TStream* Stream) override; // a BMP file
    void SaveToStream(TStream* Stream) override;
    void ReadData(TStream* Stream) override;        // 32-bit size, then a BMP file
    void WriteData(TStream* Stream) override;
    // CF_BITMAP: a copy of the bitmap (and of its palette) either way.
    void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette) override;
    void SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette) override;
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);

    // The bitmap; setting one takes it over and frees the one it replaces.
    HBITMAP Handle() const { return FHandle; }
    void SetHandle(HBITMAP Value);
    HBITMAP ReleaseHandle(); // gives the bitmap away; this one is empty after
    TCanvas* Canvas();

    // Device bitmaps (pfDevice) are compatible with the screen; every other
    // format is a bottom-up DIB section whose rows ScanLine returns.
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    void* ScanLine(int Row);

    // The colour drawn as see-through when Transparent is set: the bottom-left
    // pixel unless one is set.
    TColor TransparentColor();
    void SetTransparentColor(TColor Value) { FTransparentColor = Value; Changed(); }
    // A monochrome bitmap of the same size, 1 where a pixel is the
    // transparent colour; made anew by each call, the bitmap keeps it until
    // the next call or its end.
    HBITMAP MaskHandle();

private:
    class TBitmapCanvas;
    void LoadFromResource(HINSTANCE Instance, const char* Name, const std::string& Shown);
    void LoadFromDib(const BITMAPINFO* Info, const void* Bits, size_t BitsSize);
    void Replace(HBITMAP Bitmap, TPixelFormat Format, int AWidth, int AHeight);
    void Recreate(TPixelFormat Format, int AWidth, int AHeight);
    void FreeContext();
    HBITMAP FHandle = nullptr;
    HPALETTE FPalette = nullptr;
    HBITMAP FMaskHandle = nullptr;
    TBitmapCanvas* FCanvas = nullptr;
    TPixelFormat FPixelFormat = pfDevice;
    int FWidth = 0, FHeight = 0;
    TColor FTransparentColor = clNone;
};
