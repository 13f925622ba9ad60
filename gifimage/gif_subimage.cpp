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
    FreeImage();
    FExtensions->Clear(); // extensions leave the list as they go
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
}

bool TGIFSubImage::GetEmpty() const { return !FData || FDataSize == 0 || GetHeight() == 0 || GetWidth() == 0; }

void TGIFSubImage::DoSetBounds(int Left, int Top, int Width, int Height)
{
    const TImageDescriptor old = ImageDescriptor;
    ImageDescriptor.Left = uint16_t(Left);
    ImageDescriptor.Top = uint16_t(Top);
    ImageDescriptor.Width = uint16_t(Width);
    ImageDescriptor.Height = uint16_t(Height);
    if (Width != old.Width || Height != old.Height) {
        try {
            NewImage();
        } catch (...) {
            ImageDescriptor = old; // refused: the same size asked again is tried again
            throw;
        }
    }

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
}
