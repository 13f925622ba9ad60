// GDI drawing: colours, the font, pen and brush of a canvas, the canvas
// itself, and the graphics that draw on one (TGraphic and its bitmap and
// icon). Bitmaps are DIB sections, so that their rows can be read and
// written directly.
#pragma once
#include "streams.h"

#include <windows.h>

#include <cstdint>
#include <string>

// A colour: an RGB value (0x00BBGGRR), or a system colour index or-ed with
// clSystemColor, or clNone.
using TColor = int32_t;
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clGray = 0x808080, clSilver = 0xC0C0C0;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clNone = 0x1FFFFFFF;
COLORREF ColorToRGB(TColor Color);

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// Font, pen and brush create their GDI object on first use and drop it when
// a property changes; OnChange then tells the owner.
class TGraphicsObject : public TPersistent {
public:
    CLASS_NAME(TGraphicsObject)
    ~TGraphicsObject() override;
    TNotifyEvent OnChange;

protected:
    void Changed();
    HGDIOBJ FHandle = nullptr;
};

class TFont : public TGraphicsObject {
public:
    CLASS_NAME(TFont)
    void Assign(TPersistent* Source) override;
    HFONT Handle();

    std::string Name() const { return FName; }
    void SetName(const std::string& Value);
    int Size() const { return FSize; } // points, at the screen's pixels per inch
    void SetSize(int Value);
    int Height() const; // pixels, negative for the character height
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);

private:
    std::string FName = "MS Sans Serif";
    int FSize = 8;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
};

enum TPenStyle { psSolid = PS_SOLID, psDash = PS_DASH, psDot = PS_DOT, psClear = PS_NULL };

class TPen : public TGraphicsObject {
public:
    CLASS_NAME(TPen)
    void Assign(TPersistent* Source) override;
    HPEN Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    CLASS_NAME(TBrush)
    void Assign(TPersistent* Source) override;
    HBRUSH Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class TGraphic;

// Drawing on a device context that someone else owns. The pen, brush and
// font are selected for the length of each operation only, so that they can
// change or go at any time without leaving a freed object in the context.
class TCanvas : public TPersistent {
public:
    CLASS_NAME(TCanvas)
    TCanvas();
    ~TCanvas() override;

    HDC Handle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont* Font() { return &FFont; }
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }

    void FillRect(const RECT& Rect);
    void FrameRect(const RECT& Rect);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void TextOut(int X, int Y, const std::string& Text);
    void TextRect(const RECT& Rect, int X, int Y, const std::string& Text);
    SIZE TextExtent(const std::string& Text);
    int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
    int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const RECT& Rect, TGraphic* Graphic);
    void CopyRect(const RECT& Dest, TCanvas* Source, const RECT& Src);
    TColor Pixel(int X, int Y);
    void SetPixel(int X, int Y, TColor Color);

protected:
    // Called when a context is first needed; canvases that own one make it here.
    virtual void CreateHandle() {}

private:
    class Selection;
    HDC FHandle = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
};

// A picture that draws itself on a canvas and keeps itself in a stream.
// ReadData and WriteData are its form-data form: what follows the class name
// of a picture stored with a window.
class TGraphic : public TPersistent {
public:
    CLASS_NAME(TGraphic)

    virtual void Draw(TCanvas* Canvas, const RECT& Rect) = 0;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual HPALETTE Palette() { return nullptr; }
    virtual void SetPalette(HPALETTE /*Value*/) {}
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);

    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    virtual void LoadFromFile(const std::string& FileName);
    virtual void SaveToFile(const std::string& FileName);
    virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
    virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }

    bool Modified = false;
    bool PaletteModified = false;
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    bool FTransparent = false;
};

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

private:
    class TBitmapCanvas;
    void LoadFromResource(HINSTANCE Instance, const char* Name, const std::string& Shown);
    void LoadFromDib(const BITMAPINFO* Info, const void* Bits, size_t BitsSize);
    void Replace(HBITMAP Bitmap, TPixelFormat Format, int AWidth, int AHeight);
    void Recreate(TPixelFormat Format, int AWidth, int AHeight);
    void FreeContext();
    HBITMAP FHandle = nullptr;
    HPALETTE FPalette = nullptr;
    TBitmapCanvas* FCanvas = nullptr;
    TPixelFormat FPixelFormat = pfDevice;
    int FWidth = 0, FHeight = 0;
    TColor FTransparentColor = clNone;
};

class TIcon : public TGraphic {
public:
    CLASS_NAME(TIcon)
    ~TIcon() override;
    void Assign(TPersistent* Source) override;

    void Draw(TCanvas* Canvas, const RECT& Rect) override;
    bool Empty() const override { return FHandle == nullptr; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    bool Transparent() const override { return true; }

    void LoadFromStream(TStream* Stream) override; // an ICO file: its entry nearest to the icon size
    void SaveToStream(TStream* Stream) override;    // the file it was loaded from
    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);

    // The icon; setting one takes it over and frees the one it replaces.
    HICON Handle() const { return FHandle; }
    void SetHandle(HICON Value);
    HICON ReleaseHandle();

private:
    HICON FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
    std::vector<uint8_t> FileData;
};
