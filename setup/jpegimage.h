// TJPEGImage: a JPEG picture, decoded through libjpeg into a 24-bit bitmap
// when it is loaded. Registered with TPicture as the class "TJPEGImage" and
// the extensions .jpg and .jpeg, so that form data and files hold JPEG
// pictures as they hold bitmaps.
#pragma once
#include "toolkit/bitmap.h"

#include <cstdint>
#include <vector>

class TJPEGImage : public TGraphic {
public:
    CLASS_NAME(TJPEGImage)
    TJPEGImage();
    ~TJPEGImage() override;
    void Assign(TPersistent* Source) override; // another JPEG picture

    void Draw(TCanvas* Canvas, const RECT& Rect) override;
    bool Empty() const override { return FBitmap->Empty(); }
    int Width() const override { return FBitmap->Width(); }
    int Height() const override { return FBitmap->Height(); }
    void SetWidth(int Value) override;  // a JPEG picture keeps its size
    void SetHeight(int Value) override;

    // The JPEG stream from the position to the end of Stream; what was loaded
    // before stays when it cannot be decoded (EInvalidGraphic).
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override; // the stream as loaded

    // The decoded picture.
    TBitmap* Bitmap() const { return FBitmap; }

private:
    std::vector<uint8_t> FData;
    TBitmap* FBitmap;
};

// Makes the class known to TPicture; call before any form data is read.
void RegisterJpegFormat();
