#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <algorithm>

bool GIFImageRenderOnLoad = false;
TGIFCompression GIFImageDefaultCompression = gcLZW;

TGIFImage::TGIFImage() : FImages(new TGIFImageList(this)), FHeader(new TGIFHeader(this)) {}

TGIFImage::~TGIFImage()
{
    Clear();
    // Frames and maps report to the image while they go.
    FImages.reset();
    FHeader.reset();
}

void TGIFImage::Clear()
{
    FImages->Clear();
    FHeader->GetColorMap()->Clear();
    FHeader->SetHeight(0);
    FHeader->SetWidth(0);
    FHeader->Prepare();
    SetPalette(nullptr);
}

void TGIFImage::SetWidth(int Width)
{
    for (int i = 0; i < FImages->GetCount(); ++i) {
        TGIFSubImage* frame = FImages->GetImage(i);
        if (frame->GetLeft() + frame->GetWidth() > Width) RaiseGifError(GIFTexts::WidthTooSmall);
    }
    FHeader->SetWidth(uint16_t(Width));
}

void TGIFImage::SetHeight(int Height)
{
    for (int i = 0; i < FImages->GetCount(); ++i) {
        TGIFSubImage* frame = FImages->GetImage(i);
        if (frame->GetTop() + frame->GetHeight() > Height) RaiseGifError(GIFTexts::HeightTooSmall);
    }
    FHeader->SetHeight(uint16_t(Height));
}

TGIFVersion TGIFImage::GetVersion() const
{
    TGIFVersion version = gvUnknown;
    for (int i = 0; i < FImages->GetCount() && version != gv89a; ++i)
        version = std::max(version, FImages->GetImage(i)->GetVersion());
    return version;
}

int TGIFImage::GetColorResolution() const
{
    int result = FHeader->GetColorResolution();
    for (int i = 0; i < FImages->GetCount(); ++i)
        result = std::max(result, FImages->GetImage(i)->GetColorResolution());
    return result;
}

int TGIFImage::GetBitsPerPixel() const
{
    if (SavingBitsPerPixel >= 0) return SavingBitsPerPixel;
    int result = FHeader->GetBitsPerPixel();
    for (int i = 0; i < FImages->GetCount(); ++i)
        result = std::max(result, FImages->GetImage(i)->GetBitsPerPixel());
    return result;
}

void TGIFImage::Warning(TObject* Sender, TGIFSeverity Severity, const std::string& Message)
{
    if (OnWarning) OnWarning(Sender, Severity, Message);
}

void TGIFImage::Progress(TObject* Sender, TProgressStage Stage, int Percent, bool RedrawNow,
                         const std::string& Message)
{
    if (OnProgress) OnProgress(Sender, Stage, Percent, RedrawNow, Message);
}

void TGIFImage::LoadFromStream(TStream* Stream)
{
    Progress(this, psStarting, 0, false, GIFTexts::Loading);
    Clear();
    const int64_t start = Stream->Position();
    try {
        FHeader->LoadFromStream(Stream);
        FImages->LoadFromStream(Stream, this);
        TGIFTrailer(this).LoadFromStream(Stream);
    } catch (...) {
        Stream->SetPosition(start);
        Progress(this, psEnding, 0, true, GIFTexts::Loading);
        throw;
    }
    Progress(this, psEnding, 100, true, GIFTexts::Loading);
}

void TGIFImage::SaveToStream(TStream* Stream)
{
    Progress(this, psStarting, 0, false, GIFTexts::Saving);
    // Each frame without a colour table of its own asks for the image's
    // depth, which cannot change while saving: found once, not per frame.
    SavingBitsPerPixel = GetBitsPerPixel();
    try {
        FHeader->SaveToStream(Stream);
        FImages->SaveToStream(Stream);
        TGIFTrailer(this).SaveToStream(Stream);
    } catch (...) {
        SavingBitsPerPixel = -1;
        Progress(this, psEnding, 0, true, GIFTexts::Saving);
        throw;
    }
    SavingBitsPerPixel = -1;
    Progress(this, psEnding, 100, true, GIFTexts::Saving);
}
