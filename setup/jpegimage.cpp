#include "jpegimage.h"
#include "jpeg_decoder.h"
#include "toolkit/exceptions.h"
#include "toolkit/picture.h"

#include <memory>

TJPEGImage::TJPEGImage() : FBitmap(new TBitmap) {}

TJPEGImage::~TJPEGImage() { delete FBitmap; }

void TJPEGImage::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TJPEGImage*>(Source);
    if (!other) {
        TGraphic::Assign(Source);
        return;
    }
    FData = other->FData;
    FBitmap->Assign(other->FBitmap);
    Changed();
}

void TJPEGImage::Draw(TCanvas* Canvas, const RECT& Rect) { Canvas->StretchDraw(Rect, FBitmap); }

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::LoadFromStream(TStream* Stream)
{
    const int64_t left = Stream->Size() - Stream->Position();
    if (left < 0 || left > INT32_MAX) throw EInvalidGraphic("JPEG error: stream too large");
    std::vector<uint8_t> data(static_cast<size_t>(left));
    if (!data.empty()) Stream->ReadBuffer(data.data(), static_cast<int32_t>(data.size()));

    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    TJpegSink sink;
    sink.Begin = [&](int Width, int Height) { bitmap->SetSize(Width, Height); };
    sink.Row = [&](int Row) { return static_cast<uint8_t*>(bitmap->ScanLine(Row)); };
    DecodeJpeg(data.data(), data.size(), sink);

    FData = std::move(data);
    delete FBitmap;
    FBitmap = bitmap.release();
    Changed();
}

void TJPEGImage::SaveToStream(TStream* Stream)
{
    if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<int32_t>(FData.size()));
}

void RegisterJpegFormat()
{
    const TGraphicClass jpeg = GraphicClass<TJPEGImage>("TJPEGImage");
    TPicture::RegisterFileFormat("jpeg", "JPEG Image File", jpeg);
    TPicture::RegisterFileFormat("jpg", "JPEG Image File", jpeg);
}
