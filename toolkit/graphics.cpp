#include "graphics.h"
#include "application.h"
#include "exceptions.h"

COLORREF ColorToRGB(TColor Color)
{
    if (Color < 0) return ::GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color) & 0xFFFFFF;
}

// --- font, pen, brush -------------------------------------------------------

TGraphicsObject::~TGraphicsObject()
{
    if (FHandle) ::DeleteObject(FHandle);
}

void TGraphicsObject::Changed()
{
    if (FHandle) ::DeleteObject(FHandle);
    FHandle = nullptr;
    if (OnChange) OnChange(this);
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* font = dynamic_cast<TFont*>(Source)) {
        FName = font->FName;
        FSize = font->FSize;
        FColor = font->FColor;
        FStyle = font->FStyle;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

int TFont::Height() const { return -::MulDiv(FSize, Screen->PixelsPerInch(), 72); }

HFONT TFont::Handle()
{
    if (!FHandle)
        FHandle = ::CreateFontA(Height(), 0, 0, 0, (FStyle & fsBold) ? FW_BOLD : FW_NORMAL, (FStyle & fsItalic) != 0,
                                (FStyle & fsUnderline) != 0, (FStyle & fsStrikeOut) != 0, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, FName.c_str());
    return static_cast<HFONT>(FHandle);
}

void TFont::SetName(const std::string& Value)
{
    if (Value == FName) return;
    FName = Value;
    Changed();
}

void TFont::SetSize(int Value)
{
    if (Value == FSize) return;
    FSize = Value;
    Changed();
}

void TFont::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TPen::Assign(TPersistent* Source)
{
    if (auto* pen = dynamic_cast<TPen*>(Source)) {
        FColor = pen->FColor;
        FWidth = pen->FWidth;
        FStyle = pen->FStyle;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

HPEN TPen::Handle()
{
    if (!FHandle) FHandle = ::CreatePen(FStyle, FWidth, ColorToRGB(FColor));
    return static_cast<HPEN>(FHandle);
}

void TPen::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value == FWidth) return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* brush = dynamic_cast<TBrush*>(Source)) {
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

HBRUSH TBrush::Handle()
{
    if (!FHandle)
        FHandle = FStyle == bsClear ? ::GetStockObject(NULL_BRUSH) : ::CreateSolidBrush(ColorToRGB(FColor));
    return static_cast<HBRUSH>(FHandle);
}

void TBrush::SetColor(TColor Value)
{
    if (Value == FColor && FStyle == bsSolid) return;
    FColor = Value;
    FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

// --- canvas -----------------------------------------------------------------

// The canvas's pen, brush, font and text colours, selected into its context
// for one operation.
class TCanvas::Selection {
public:
    explicit Selection(TCanvas& Canvas) : DC(Canvas.Handle())
    {
        OldPen = ::SelectObject(DC, Canvas.FPen.Handle());
        OldBrush = ::SelectObject(DC, Canvas.FBrush.Handle());
        OldFont = ::SelectObject(DC, Canvas.FFont.Handle());
        OldText = ::SetTextColor(DC, ColorToRGB(Canvas.FFont.Color()));
        OldBk = ::SetBkColor(DC, ColorToRGB(Canvas.FBrush.Color()));
        OldMode = ::SetBkMode(DC, Canvas.FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
    }
    ~Selection()
    {
        ::SetBkMode(DC, OldMode);
        ::SetBkColor(DC, OldBk);
        ::SetTextColor(DC, OldText);
        ::SelectObject(DC, OldFont);
        ::SelectObject(DC, OldBrush);
        ::SelectObject(DC, OldPen);
    }
    HDC const DC;

private:
    HGDIOBJ OldPen, OldBrush, OldFont;
    COLORREF OldText, OldBk;
    int OldMode;
};

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

HDC TCanvas::Handle()
{
    if (!FHandle) CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    return FHandle;
}

void TCanvas::SetHandle(HDC Value) { FHandle = Value; }

void TCanvas::FillRect(const RECT& Rect) { ::FillRect(Handle(), &Rect, FBrush.Handle()); }

void TCanvas::FrameRect(const RECT& Rect) { ::FrameRect(Handle(), &Rect, FBrush.Handle()); }

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Selection s(*this);
    ::Rectangle(s.DC, X1, Y1, X2, Y2);
}

void TCanvas::MoveTo(int X, int Y) { ::MoveToEx(Handle(), X, Y, nullptr); }

void TCanvas::LineTo(int X, int Y)
{
    Selection s(*this);
    ::LineTo(s.DC, X, Y);
}

void TCanvas::TextOut(int X, int Y, const std::string& Text)
{
    Selection s(*this);
    ::TextOutA(s.DC, X, Y, Text.data(), static_cast<int>(Text.size()));
}

void TCanvas::TextRect(const RECT& Rect, int X, int Y, const std::string& Text)
{
    Selection s(*this);
    UINT options = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0 : ETO_OPAQUE);
    ::ExtTextOutA(s.DC, X, Y, options, &Rect, Text.data(), static_cast<UINT>(Text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& Text)
{
    Selection s(*this);
    SIZE size{};
    ::GetTextExtentPoint32A(s.DC, Text.data(), static_cast<int>(Text.size()), &size);
    return size;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, RECT{X, Y, X + Graphic->Width(), Y + Graphic->Height()});
}

void TCanvas::StretchDraw(const RECT& Rect, TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty()) Graphic->Draw(this, Rect);
}

void TCanvas::CopyRect(const RECT& Dest, TCanvas* Source, const RECT& Src)
{
    HDC dc = Handle();
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, Dest.left, Dest.top, Dest.right - Dest.left, Dest.bottom - Dest.top, Source->Handle(), Src.left,
                 Src.top, Src.right - Src.left, Src.bottom - Src.top, CopyMode);
}

RECT TCanvas::ClipRect()
{
    RECT r{};
    ::GetClipBox(Handle(), &r);
    return r;
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

TColor TCanvas::Pixel(int X, int Y) { return static_cast<TColor>(::GetPixel(Handle(), X, Y)); }

void TCanvas::SetPixel(int X, int Y, TColor Color) { ::SetPixel(Handle(), X, Y, ColorToRGB(Color)); }

// --- graphic ----------------------------------------------------------------

void TGraphic::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    Changed();
}

void TGraphic::Changed()
{
    Modified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const RECT& R,
                        const std::string& Msg)
{
    if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE)
{
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&)
{
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}
