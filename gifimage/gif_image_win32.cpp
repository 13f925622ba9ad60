// The image as the toolkit's graphic: its palette, the bitmap of its first
// frame, copies to and from other graphics, form data and the clipboard.
#include "gif_image.h"
#include "gif_painter_win32.h"
#include "gif_unit_win32.h"
#include "gif_subimage.h"
#include "gif_util.h"
#include "palette_win32.h"
#include "toolkit/exceptions.h"

#include <cstring>

UINT CF_GIF = 0;
TThreadPriority GIFImageDefaultThreadPriority = tpNormal;

HPALETTE TGIFImage::GetPalette()
{
    // A first frame without colours of its own asks the image back.
    if (InsidePalette) RaiseGifError(GIFTexts::NoColorTable);
    const TFlagScope inside(InsidePalette);

    if (FBitmap)
        if (HPALETTE palette = FBitmap->Palette()) return palette;
    if (KeptPalette) return HandleOf(KeptPalette);
    if (GetDoDither()) KeptPalette = WebPalette();
    else if (GetColorMap()->Count() > 0) KeptPalette = GetColorMap()->ExportPalette();
    if (KeptPalette) return HandleOf(KeptPalette);
    return GetEmpty() ? nullptr : Images()->GetImage(0)->GetPalette();
}

void TGIFImage::SetPalette(HPALETTE Value)
{
    if (KeptPalette && HandleOf(KeptPalette) == Value) return;
    KeptPalette = Value ? TGIFPaletteRef(new THandlePalette(Value, true)) : nullptr;
    if (FBitmap && FBitmap->Palette() != Value) {
        FreeBitmap();
        PaletteModified = true;
        Changed(this);
    }
}

void TGIFImage::SetDrawOptions(TGIFDrawOptions Options)
{
    if (Options == FDrawOptions) return;
    if (DrawPainter) StopDraw();
    FDrawOptions = Options;
    Pack();
    Changed(this);
}

TBitmap* TGIFImage::NewBitmap()
{
    if (FBitmap) return FBitmap.get();
    FBitmap = std::make_shared<TBitmap>();
    // Painters draw on its canvas: each frame they leave is a change of the image.
    FBitmap->OnChange = [this](TObject*) { Changed(this); };
    FBitmap->Canvas()->OnChange = [this](TObject*) { Changed(this); };
    // In true colour: frames of different palettes compose on it without loss.
    FBitmap->SetPixelFormat(pf32bit);
    FBitmap->SetSize(GetWidth(), GetHeight());
    return FBitmap.get();
}

TBitmap* TGIFImage::GetBitmap()
{
    if (FBitmap || GetEmpty()) return FBitmap.get();
    TGIFSubImage* first = Images()->GetImage(0);
    if (first->GetWidth() == GetWidth() && first->GetHeight() == GetHeight()) {
        FBitmap = std::make_shared<TBitmap>();
        FBitmap->Assign(first->GetBitmap());
        FBitmap->OnChange = [this](TObject*) { Changed(this); };
        FBitmap->Canvas()->OnChange = [this](TObject*) { Changed(this); };
        return FBitmap.get();
    }
    TBitmap* bitmap = NewBitmap();
    first->Draw(bitmap->Canvas(), bitmap->Canvas()->ClipRect(), false, false);
    return bitmap;
}

void TGIFImage::FreeBitmap()
{
    if (DrawPainter) StopDraw(); // frees the bitmap too
    FBitmap.reset();
}

void TGIFImage::Pack()
{
    FreeBitmap();
    SetKeptPalette(nullptr);
    for (int i = 0; i < Images()->GetCount(); ++i) {
        TGIFSubImage* frame = Images()->GetImage(i);
        frame->FreeBitmap();
        frame->SetPalette(nullptr);
    }
    if (GetColorMap()->Count() == 0 && Images()->GetCount() == 1) {
        TGIFSubImage* frame = Images()->GetImage(0);
        GetColorMap()->Assign(frame->GetColorMap());
        frame->GetColorMap()->Clear();
    }
}

int TGIFImage::Add(TPersistent* Source)
{
    if (auto* frame = dynamic_cast<TGIFSubImage*>(Source)) return Add(frame);
    if (!dynamic_cast<TGraphic*>(Source)) RaiseGifError(GIFTexts::UnsupportedObject);
    auto frame = std::make_unique<TGIFSubImage>(this);
    frame->Assign(Source);
    return Add(frame.release());
}

void TGIFImage::AssignImage(TGIFImage* Source)
{
    Clear();
    // The copy reports through the source's handlers, and through none after.
    struct Handlers {
        explicit Handlers(TGIFImage& Image) : Image(Image) {}
        ~Handlers()
        {
            Image.OnProgress = nullptr;
            Image.OnWarning = nullptr;
        }
        TGIFImage& Image;
    } handlers(*this);
    OnProgress = Source->OnProgress;
    OnWarning = Source->OnWarning;
    Progress(this, psStarting, 0, false, GIFTexts::Copying);
    try {
        Header()->Assign(Source->Header());
        ThreadPriority = Source->ThreadPriority;
        DrawBackgroundColor = Source->DrawBackgroundColor;
        FDrawOptions = Source->FDrawOptions;
        ColorReduction = Source->ColorReduction;
        DitherMode = Source->DitherMode;
        const int count = Source->Images()->GetCount();
        for (int i = 0; i < count; ++i) {
            auto frame = std::make_unique<TGIFSubImage>(this);
            frame->Assign(Source->Images()->GetImage(i));
            Add(frame.release());
            Progress(this, psRunning, MulDiv(i + 1, 100, count), false, GIFTexts::Copying);
        }
    } catch (...) {
        Progress(this, psEnding, 0, false, GIFTexts::Copying);
        throw;
    }
    Progress(this, psEnding, 100, false, GIFTexts::Copying);
}

void TGIFImage::Assign(TPersistent* Source)
{
    if (Source == this) return;
    if (!Source) {
        Clear();
        return;
    }
    if (auto* image = dynamic_cast<TGIFImage*>(Source)) {
        AssignImage(image);
        return;
    }
    Clear();
    auto frame = std::make_unique<TGIFSubImage>(this);
    try {
        frame->Assign(Source);
    } catch (const EConvertError&) {
        frame.reset();
        TGraphic::Assign(Source); // the source may know how to become an image
        return;
    }
    Add(frame.release());
}

void TGIFImage::AssignTo(TPersistent* Dest)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) bitmap->Assign(GetBitmap());
    else TGraphic::AssignTo(Dest);
}

void TGIFImage::WriteData(TStream* Stream)
{
    if (GIFImageOptimizeOnStream)
        Optimize(OptimizeOption(ooCrop) | OptimizeOption(ooMerge) | OptimizeOption(ooCleanup) |
                     OptimizeOption(ooColorMap) | OptimizeOption(ooReduceColors),
                 rmNone, dmNearest, 8);
    SaveToStream(Stream);
}

void TGIFImage::LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette)
{
    if (!Data) Data = GetClipboardData(Format);
    if (Data && Format == CF_GIF && CF_GIF != 0) {
        void* bytes = GlobalLock(Data);
        if (!bytes) RaiseGifError(GIFTexts::UnsupportedClipboard);
        TMemoryStream stream;
        try {
            stream.WriteBuffer(bytes, static_cast<int64_t>(GlobalSize(Data)));
            stream.SetPosition(0);
            LoadFromStream(&stream);
        } catch (...) {
            GlobalUnlock(Data);
            throw;
        }
        GlobalUnlock(Data);
    } else if (Data && Format == CF_BITMAP) {
        TBitmap bitmap;
        bitmap.LoadFromClipboardFormat(Format, Data, Palette);
        Assign(&bitmap);
    } else {
        RaiseGifError(GIFTexts::UnsupportedClipboard);
    }
}

void TGIFImage::SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette)
{
    if (GetEmpty()) return;
    GetBitmap()->SaveToClipboardFormat(Format, Data, Palette);
    TMemoryStream stream;
    SaveToStream(&stream);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(stream.Size()));
    if (!block) return; // no room: the bitmap form alone goes
    try {
        void* bytes = GlobalLock(block);
        if (!bytes) RaiseGifError(GIFTexts::ClipboardFailed);
        std::memcpy(bytes, stream.Memory(), static_cast<size_t>(stream.Size()));
        GlobalUnlock(block);
        if (!SetClipboardData(CF_GIF, block)) RaiseGifError(GIFTexts::ClipboardFailed);
    } catch (...) {
        GlobalFree(block);
        throw;
    }
}
