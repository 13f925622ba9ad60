// GDI drawing: colours, the font, pen and brush of a canvas, the canvas
// itself, and TGraphic, the pictures that draw on one (bitmap.h, icon.h).
#pragma once
#include "progress.h"
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

using TProgressEvent = std::function<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone,
                                          bool RedrawNow, const RECT& R, const std::string& Msg)>;

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
    RECT ClipRect(); // the part of the context that drawing reaches
    // Raster operation of CopyRect and of bitmaps drawn without transparency.
    DWORD CopyMode = SRCCOPY;
    // Drawing done on the context directly tells the canvas's owner so.
    void Changed();
    TNotifyEvent OnChange;

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
    // Clipboard forms; a class without one raises EInvalidGraphic.
    virtual void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette);
    virtual void SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette);

    bool Modified = false;
    bool PaletteModified = false;
    TNotifyEvent OnChange;
    TProgressEvent OnProgress; // long loads and saves report their stages

protected:
    virtual void Changed();
    void Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const RECT& R,
                  const std::string& Msg);
    bool FTransparent = false;
};
