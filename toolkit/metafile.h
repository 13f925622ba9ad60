// TMetafile: an enhanced metafile, played into the rectangle it is drawn in.
#pragma once
#include "graphics.h"

class TMetafile : public TGraphic {
public:
    CLASS_NAME(TMetafile)
    ~TMetafile() override;

    void Draw(TCanvas* Canvas, const RECT& Rect) override;
    bool Empty() const override { return FHandle == nullptr; }
    // Pixels of the screen that the metafile's frame covers.
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    // What it does not draw shows through.
    bool Transparent() const override { return true; }

    void LoadFromStream(TStream* Stream) override; // an EMF file, the rest of the stream
    void SaveToStream(TStream* Stream) override;

    // The metafile; setting one takes it over and frees the one it replaces.
    HENHMETAFILE Handle() const { return FHandle; }
    void SetHandle(HENHMETAFILE Value);

private:
    HENHMETAFILE FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
};
