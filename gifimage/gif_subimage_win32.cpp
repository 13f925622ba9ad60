// Rendering a frame into a palette bitmap with its transparency mask, and
// the palette it renders with.
#include "gif_frame_render.h"
#include "gif_image.h"
#include "gif_rendering_win32.h"
#include "gif_util.h"
#include "dib_win32.h"
#include "palette_win32.h"
#include "system_error_win32.h"

TBitmap* TGIFSubImage::GetBitmap()
{
    if (auto current = CurrentRendering()) return BitmapOf(*current).Bitmap.get();
    if (GetEmpty()) return nullptr;
    TGIFImage* image = Image();
    try {
        try {
            Progress(psStarting, 0, false, GIFTexts::Rendering);
            std::shared_ptr<TFrameRendering> none;
            // When another thread rendered meanwhile, its bitmap may be in
            // use already: it stays, this one goes.
            std::atomic_compare_exchange_strong(&Rendering, &none, Render(image->GetDoDither()));
        } catch (const EGIFImageFreed&) {
            throw; // the image and this frame are gone: nothing more is told
        } catch (...) {
            Progress(psEnding, 0, false, GIFTexts::Rendering);
            throw;
        }
        Progress(psEnding, 100, image->PaletteModified, GIFTexts::Rendering);
        if (image->PaletteModified) image->Changed(this);
    } catch (const EAbort&) {
        // A progress handler cancelled; what was made is kept.
    }
    auto current = CurrentRendering();
    return current ? BitmapOf(*current).Bitmap.get() : nullptr;
}

std::shared_ptr<TFrameRendering> TGIFSubImage::Render(bool Dither)
{
    auto rendering = std::make_shared<TFrameBitmap>();
    rendering->MaskIndex = TransparentIndex();
    const int width = GetWidth(), height = GetHeight();
    TFrameRenderer rows(*this, Dither, rendering->MaskIndex);
    TDIBWriter writer(rendering->Bitmap.get(), pf8bit, width, height, GetPalette());
    for (int y = 0; y < height; ++y) {
        if (y % 32 == 0) Progress(psRunning, MulDiv(y, 100, height), false, GIFTexts::Rendering);
        rows.RenderRow(y, writer.GetScanline(y));
    }
    writer.StoreDibInBitmap();
    if (rows.MaskUsed()) rendering->Mask = RaiseSystemError(CreateBitmap(width, height, 1, 1, rows.MaskBits()));
    return rendering;
}

void TGIFSubImage::SetBitmap(TBitmap* Bitmap)
{
    FreeBitmap();
    if (Bitmap) Assign(Bitmap);
}

void TGIFSubImage::SetHasBitmap(bool Value)
{
    if (Value == GetHasBitmap()) return;
    if (Value) GetBitmap();
    else FreeBitmap();
}

void TGIFSubImage::NewBitmap() { std::atomic_store(&Rendering, std::shared_ptr<TFrameRendering>(std::make_shared<TFrameBitmap>())); }

bool TGIFSubImage::HasMask()
{
    const int index = TransparentIndex();
    if (index < 0) return false;
    auto current = CurrentRendering();
    // Rendered before the frame became transparent, or for another index.
    if (current && current->MaskIndex != index) FreeBitmap();
    GetBitmap();
    current = CurrentRendering();
    return current && BitmapOf(*current).Mask;
}

HPALETTE TGIFSubImage::GetPalette()
{
    if (auto current = CurrentRendering())
        if (HPALETTE palette = BitmapOf(*current).Bitmap->Palette()) return palette;
    if (!KeptPalette) {
        if (Image()->GetDoDither()) KeptPalette = WebPalette();
        else if (ColorMap->Count() > 0) KeptPalette = ColorMap->ExportPalette();
        else return Image()->GetPalette();
    }
    return HandleOf(KeptPalette);
}
