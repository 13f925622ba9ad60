#include "gif_subimage.h"
#include "gif_image.h"
#include "gif_util.h"

#include <cstring>

TGIFSubImage::TGIFSubImage(TGIFImage* Image)
    : TGIFItem(Image), ColorMap(new TGIFLocalColorMap(this)), FExtensions(new TGIFExtensionList(Image))
{
    ImageDescriptor.Separator = ',';
}

TGIFSubImage::~TGIFSubImage()
{
    if (Image()->Images()) Image()->Images()->Remove(this);
    Clear(); // reports nothing: an emptied frame asks nothing of the image
    FExtensions.reset();
    ColorMap.reset();
}

void TGIFSubImage::Clear()
{
    FExtensions->Clear();
    ColorMap->Clear();
    FreeImage();
    DoSetBounds(GetLeft(), GetTop(), 0, 0);
    Transparent = false;
    GraphicControlExtension = nullptr;
    FreeBitmap();
    // The colours it was made from are gone.
    KeptPalette.reset();
}

bool TGIFSubImage::GetEmpty() const { return !FData || FDataSize == 0 || GetHeight() == 0 || GetWidth() == 0; }

int TGIFSubImage::GetBounds(int Index) const
{
    switch (Index) {
    case 1: return GetLeft();
    case 2: return GetTop();
    case 3: return GetWidth();
    case 4: return GetHeight();
    default: return 0;
    }
}

void TGIFSubImage::SetBounds(int Index, int Value)
{
    int bounds[4] = {GetLeft(), GetTop(), GetWidth(), GetHeight()};
    if (Index < 1 || Index > 4) return;
    bounds[Index - 1] = Value;
    DoSetBounds(bounds[0], bounds[1], bounds[2], bounds[3]);
}

TGIFRect TGIFSubImage::GetBoundsRect() const
{
    return {GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight()};
}

void TGIFSubImage::SetBoundsRect(const TGIFRect& Rect)
{
    DoSetBounds(Rect.Left, Rect.Top, Rect.Right - Rect.Left + 1, Rect.Bottom - Rect.Top + 1);
}

void TGIFSubImage::DoSetBounds(int Left, int Top, int Width, int Height)
{
    const TImageDescriptor old = ImageDescriptor;
    ImageDescriptor.Left = uint16_t(Left);
    ImageDescriptor.Top = uint16_t(Top);
    ImageDescriptor.Width = uint16_t(Width);
    ImageDescriptor.Height = uint16_t(Height);
    if (GetWidth() != old.Width || GetHeight() != old.Height) {
        FreeBitmap();
        try {
            NewImage();
        } catch (...) {
            ImageDescriptor = old; // refused: the same size asked again is tried again
            throw;
        }
    }

    // A frame of no pixels needs no room on the screen: clearing one that
    // lies beyond it neither warns nor grows the image (which would raise
    // when another frame reaches further still).
    if (GetWidth() == 0 || GetHeight() == 0) return;
    TGIFImage* image = Image();
    bool exceeded = false;
    if (image->GetWidth() < GetLeft() + GetWidth()) {
        if (image->GetWidth() > 0) {
            Warning(gsWarning, GIFTexts::WidthTooSmall);
            exceeded = true;
        }
        image->SetWidth(GetLeft() + GetWidth());
    }
    if (image->GetHeight() < GetTop() + GetHeight()) {
        if (image->GetHeight() > 0) {
            Warning(gsWarning, GIFTexts::HeightTooSmall);
            exceeded = true;
        }
        image->SetHeight(GetTop() + GetHeight());
    }
    if (exceeded) Warning(gsWarning, GIFTexts::ExceedsScreen);
}

void TGIFSubImage::SetInterlaced(bool Value)
{
    if (Value)
        ImageDescriptor.PackedFields |= idInterlaced;
    else
        ImageDescriptor.PackedFields &= ~idInterlaced;
}

TGIFVersion TGIFSubImage::GetVersion() const
{
    if (ColorMap->Optimized()) return gv89a;
    for (int i = 0; i < FExtensions->GetCount(); ++i)
        if (FExtensions->GetItem(i)->GetVersion() == gv89a) return gv89a;
    return gv87a;
}

TGIFColorMap* TGIFSubImage::GetActiveColorMap() const
{
    if (ColorMap->Count() > 0) return ColorMap.get();
    TGIFColorMap* global = Image()->GetColorMap();
    return global->Count() > 0 ? global : ColorMap.get();
}

int TGIFSubImage::TransparentIndex() const
{
    return Transparent && GraphicControlExtension ? GraphicControlExtension->GetTransparentColorIndex() : -1;
}

void TGIFSubImage::SetTransparentIndex(int Index)
{
    TGIFGraphicControlExtension* gce = GraphicControlExtension;
    if (!gce) {
        gce = new TGIFGraphicControlExtension(this);
        FExtensions->Add(gce);
    }
    gce->SetTransparentColorIndex(uint8_t(Index));
    gce->SetTransparent(true);
}

void TGIFSubImage::NewImage()
{
    FreeImage();
    const int64_t size = int64_t(GetWidth()) * GetHeight();
    if (size > MaxFramePixels) RaiseGifError(GIFTexts::ImageTooLarge);
    if (size == 0) return;
    if (Image()->FPixelCount + size > MaxImagePixels) RaiseGifError(GIFTexts::FramesTooLarge);
    FData.reset(new uint8_t[size]());
    FDataSize = int32_t(size);
    Image()->FPixelCount += size;
}

void TGIFSubImage::FreeImage()
{
    Image()->FPixelCount -= FDataSize;
    FData.reset();
    FDataSize = 0;
}

void TGIFSubImage::ReplaceImage(std::unique_ptr<uint8_t[]> Pixels, int32_t Size)
{
    FreeImage();
    FData = std::move(Pixels);
    FDataSize = Size;
    Image()->FPixelCount += Size;
}

void TGIFSubImage::NeedImage()
{
    if (!FData) NewImage();
    if (FDataSize == 0) RaiseGifError(GIFTexts::ImageEmpty);
}

uint8_t* TGIFSubImage::GetScanline(int Row)
{
    if (Row < 0 || Row >= GetHeight()) RaiseGifError(GIFTexts::BadPixelCoordinates);
    NeedImage();
    return FData.get() + size_t(GetWidth()) * Row;
}

uint8_t TGIFSubImage::GetPixel(int X, int Y)
{
    if (X < 0 || X >= GetWidth()) RaiseGifError(GIFTexts::BadPixelCoordinates);
    return GetScanline(Y)[X];
}

void TGIFSubImage::SetPalette(TGIFPaletteRef Palette)
{
    // Kept palettes are the frame's own: the same one again can only be none.
    if (!Palette && !KeptPalette) return;
    KeptPalette = std::move(Palette);
    RenderedColorsChanged();
}

void TGIFSubImage::ColorMapChanged()
{
    KeptPalette.reset();
    RenderedColorsChanged();
}

void TGIFSubImage::RenderedColorsChanged()
{
    if (!CurrentRendering()) return;
    FreeBitmap();
    Image()->PaletteModified = true;
    Image()->Changed(this);
}

void TGIFSubImage::FreeBitmap() { std::atomic_store(&Rendering, std::shared_ptr<TFrameRendering>()); }

void TGIFSubImage::Progress(TProgressStage Stage, int Percent, bool RedrawNow, const char* Message)
{
    Image()->Progress(this, Stage, Percent, RedrawNow, Message);
}

void TGIFSubImage::MapColorIndices(const uint8_t* Map)
{
    for (int32_t i = 0; i < FDataSize; ++i) FData[i] = Map[FData[i]];
    for (int i = 0; i < FExtensions->GetCount(); ++i) {
        TGIFExtension* e = FExtensions->GetExtension(i);
        if (auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(e)) {
            if (gce->GetTransparent()) gce->SetTransparentColorIndex(Map[gce->GetTransparentColorIndex()]);
        } else if (auto* text = dynamic_cast<TGIFTextExtension*>(e)) {
            text->SetColorIndex(1, Map[text->GetColorIndex(1)]);
            text->SetColorIndex(2, Map[text->GetColorIndex(2)]);
        }
    }
}

void TGIFSubImage::Prepare()
{
    uint8_t& packed = ImageDescriptor.PackedFields;
    if (ColorMap->Count() > 0) {
        packed = (packed & idInterlaced) | idLocalColorTable | ((ColorMap->GetBitsPerPixel() - 1) & idColorTableSize);
        if (ColorMap->Optimized()) packed |= idSort;
    } else {
        packed &= idInterlaced | idReserved;
    }
}

void TGIFSubImage::SaveToStream(TStream* Stream)
{
    FExtensions->SaveToStream(Stream);
    if (GetEmpty()) return;
    Prepare();
    Stream->WriteBuffer(&ImageDescriptor, sizeof ImageDescriptor);
    ColorMap->SaveToStream(Stream);
    Compress(Stream);
}

void TGIFSubImage::LoadFromStream(TStream* Stream)
{
    Clear();
    FExtensions->LoadFromStream(Stream, this);
    const int next = GetByte(Stream);
    if (next < 0) return;
    Stream->Seek(-1, soCurrent);
    if (next == ';' || next == 0) return; // a frame of extensions only
    ReadExactly(Stream, &ImageDescriptor, sizeof ImageDescriptor);
    if (GetHeight() == 0 || GetWidth() == 0) {
        ImageDescriptor.Height = uint16_t(Image()->GetHeight());
        ImageDescriptor.Width = uint16_t(Image()->GetWidth());
        Warning(gsWarning, GIFTexts::ExceedsScreen);
    }
    if (ImageDescriptor.PackedFields & idLocalColorTable)
        ColorMap->LoadFromStream(Stream, 2 << (ImageDescriptor.PackedFields & idColorTableSize));
    Decompress(Stream);
#ifdef _WIN32
    if (GIFImageRenderOnLoad) GetBitmap();
#endif
}

void TGIFSubImage::Assign(TPersistent* Source)
{
    if (Source == this) return;
    if (!Source) {
        Clear();
        return;
    }
    if (auto* frame = dynamic_cast<TGIFSubImage*>(Source)) {
        AssignFrame(frame);
        return;
    }
#ifdef _WIN32
    if (AssignGraphic(Source)) return;
#endif
    TGIFItem::Assign(Source);
}

void TGIFSubImage::AssignFrame(TGIFSubImage* Source)
{
    Clear();
    if (Source->GetEmpty()) return;
    ImageDescriptor = Source->ImageDescriptor;
    Transparent = Source->Transparent;
    NewImage();
    if (FData && Source->FData) std::memcpy(FData.get(), Source->FData.get(), FDataSize);
    ColorMap->Assign(Source->ColorMap.get());
    if (Source->FExtensions->GetCount() > 0) {
        // Written and read back: copies that belong to this frame, the
        // graphic control extension among them.
        TMemoryStream stream;
        Source->FExtensions->SaveToStream(&stream);
        stream.SetPosition(0);
        FExtensions->LoadFromStream(&stream, this);
    }
#ifdef _WIN32
    if (Source->GetHasBitmap()) {
        NewBitmap();
        GetBitmap()->Assign(Source->GetBitmap());
    }
#endif
}
