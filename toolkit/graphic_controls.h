// The windowless controls: a picture and a text, painted by their parent.
#pragma once
#include "control.h"
#include "picture.h"

class TImage : public TGraphicControl {
public:
    CLASS_NAME(TImage)
    explicit TImage(TComponent* AOwner);

    TPicture* Picture() { return &FPicture; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    // Takes the picture's size whenever the picture changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    void Paint() override;

private:
    void PictureChanged();
    TPicture FPicture;
    bool FTransparent = false, FStretch = false, FCenter = false, FAutoSize = false;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TGraphicControl {
public:
    CLASS_NAME(TLabel)
    explicit TLabel(TComponent* AOwner);

    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    // A transparent label leaves what lies under it; else it fills itself with Color.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Sized to the caption (a right-justified label keeps its right edge).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    // A caption too wide for the label goes on in further lines, broken
    // between words or, within a word too long for a line, between
    // characters; an autosized label keeps its width and takes their height.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

protected:
    void Paint() override;
    void FontChanged() override;

private:
    void AdjustBounds();
    UINT TextFlags(TAlignment Alignment) const;
    std::string FCaption;
    bool FTransparent = false, FAutoSize = true, FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
};
