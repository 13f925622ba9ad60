#include "picture_button.h"

TPictureButton::TPictureButton(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 59;
    FHeight = 22;
    FColor = clNone; // the glyph covers the whole window
    Cursor = crHandPoint;
}

TGlyphState TPictureButton::State() const
{
    if (Held && PointerOver) return TGlyphState::Down;
    return PointerOver ? TGlyphState::Hot : TGlyphState::Up;
}

void TPictureButton::SetPointer(bool Over, bool HeldDown)
{
    if (Over == PointerOver && HeldDown == Held) return;
    if (Over && !PointerOver) {
        // Told when the pointer leaves, unless the button holds the mouse.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
    }
    PointerOver = Over;
    Held = HeldDown;
    Invalidate();
}

void TPictureButton::PaintWindow(TCanvas* Canvas)
{
    const int width = FGlyph.Width() / 3;
    if (width <= 0) return;
    const int column = static_cast<int>(State());
    const RECT source{column * width, 0, (column + 1) * width, FGlyph.Height()};
    Canvas->CopyRect(RECT{0, 0, width, FGlyph.Height()}, FGlyph.Canvas(), source);
}

void TPictureButton::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_MOUSELEAVE) {
        SetPointer(false, Held);
        return;
    }
    TWinControl::Dispatch(Message);
}

void TPictureButton::MouseMove(TShiftState Shift, int X, int Y)
{
    SetPointer(X >= 0 && Y >= 0 && X < FWidth && Y < FHeight, Held);
    TWinControl::MouseMove(Shift, X, Y);
}

void TPictureButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) SetPointer(true, true);
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TPictureButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) SetPointer(X >= 0 && Y >= 0 && X < FWidth && Y < FHeight, false);
    TWinControl::MouseUp(Button, Shift, X, Y);
}
