// A button drawn wholly from a picture: a strip of three glyphs of equal
// width side by side, for the button at rest, under the pointer, and held
// down. It is a window of its own, so that it keeps its clicks on a skinned
// form that answers every bare point as its caption.
#pragma once
#include "bitmap.h"
#include "control.h"

enum class TGlyphState { Up, Hot, Down };

class TPictureButton : public TWinControl {
public:
    CLASS_NAME(TPictureButton)
    explicit TPictureButton(TComponent* AOwner);
    // The strip; the button shows one third of its width.
    TBitmap* Glyph() { return &FGlyph; }
    TGlyphState State() const;

protected:
    void PaintWindow(TCanvas* Canvas) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    void SetPointer(bool Over, bool Held);
    TBitmap FGlyph;
    bool PointerOver = false;
    bool Held = false; // the left button went down on it and is still down
};
