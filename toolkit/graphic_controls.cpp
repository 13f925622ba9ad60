#include "graphic_controls.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = FHeight = 105;
    FPicture.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::PictureChanged()
{
    TGraphic* graphic = FPicture.Graphic();
    if (graphic && graphic->Transparent() != FTransparent && !dynamic_cast<TIcon*>(graphic))
        graphic->SetTransparent(FTransparent); // comes back here
    if (FAutoSize && graphic && !graphic->Empty())
        SetBounds(FLeft, FTop, graphic->Width(), graphic->Height());
    Invalidate();
}

void TImage::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    PictureChanged();
}

void TImage::SetStretch(bool Value)
{
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value)
{
    FCenter = Value;
    Invalidate();
}

void TImage::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value) PictureChanged();
}

void TImage::Paint()
{
    TGraphic* graphic = FPicture.Graphic();
    if (!graphic || graphic->Empty()) return;
    RECT r = ClientRect();
    if (!FStretch) {
        int x = FCenter ? (FWidth - graphic->Width()) / 2 : 0;
        int y = FCenter ? (FHeight - graphic->Height()) / 2 : 0;
        r = RECT{x, y, x + graphic->Width(), y + graphic->Height()};
    }
    Canvas()->StretchDraw(r, graphic);
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 65;
    FHeight = 17;
}

void TLabel::SetCaption(const std::string& Value)
{
    CheckThread();
    if (Value == FCaption) return;
    FCaption = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TLabel::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

// An edit control's breaking also breaks a word too long for a line, which
// word breaking alone leaves to run past the edge.
UINT TLabel::TextFlags(TAlignment Alignment) const
{
    UINT align = Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    return align | DT_NOPREFIX | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK | DT_EDITCONTROL : 0);
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize) return;
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, Font()->Handle());
    RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
    if (FCaption.empty()) {
        TEXTMETRICA tm;
        ::GetTextMetricsA(dc, &tm);
        r.bottom = tm.tmHeight;
    } else {
        ::DrawTextA(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &r, TextFlags(taLeftJustify) | DT_CALCRECT);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    const int width = FWordWrap ? FWidth : r.right;
    int left = FAlignment == taRightJustify ? FLeft + FWidth - width : FLeft;
    SetBounds(left, FTop, width, r.bottom);
}

void TLabel::Paint()
{
    HDC dc = Canvas()->Handle();
    RECT r = ClientRect();
    if (!FTransparent) {
        Canvas()->Brush()->SetColor(FColor);
        Canvas()->FillRect(r);
    }
    HGDIOBJ old = ::SelectObject(dc, Font()->Handle());
    int mode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF color = ::SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    // A label of its own size ends a caption too long for it with an
    // ellipsis, so that a cut text shows as cut.
    ::DrawTextA(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &r,
                TextFlags(FAlignment) | (FAutoSize || FWordWrap ? 0 : DT_END_ELLIPSIS));
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, mode);
    ::SelectObject(dc, old);
}
