// Drawing a frame: placed and scaled within a rectangle that stands for
// the whole logical screen, tiled or not, transparent through its mask.
#include "gif_image.h"
#include "gif_rendering_win32.h"
#include "gif_util.h"
#include "system_error_win32.h"

namespace {

// Windows NT and its successors have MaskBlt; Windows 9x has not.
bool IsNTFamily()
{
    static const bool nt = [] {
        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;
        return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }();
    return nt;
}

// A memory context with a bitmap selected, released at the end of the
// scope with the bitmap when it is Owned.
class TMemoryContext {
public:
    TMemoryContext(HDC Compatible, HBITMAP Bitmap, bool Owned = true)
        : DC(RaiseSystemError(CreateCompatibleDC(Compatible))), Owned(Owned)
    {
        if (!Bitmap) {
            DeleteDC(DC);
            RaiseSystemError();
        }
        this->Bitmap = Bitmap;
        Old = SelectObject(DC, Bitmap);
    }
    ~TMemoryContext()
    {
        SelectObject(DC, Old);
        DeleteDC(DC);
        if (Owned) DeleteObject(Bitmap);
    }
    TMemoryContext(const TMemoryContext&) = delete;
    TMemoryContext& operator=(const TMemoryContext&) = delete;
    const HDC DC;

private:
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Old = nullptr;
    const bool Owned;
};

} // namespace

void TGIFSubImage::Draw(TCanvas* Canvas, const RECT& Rect, bool Transparent, bool Tile)
{
    StretchDraw(Canvas, Tile ? Rect : ScaleRect(Rect), Transparent, Tile);
}

RECT TGIFSubImage::ScaleRect(const RECT& Rect) const
{
    const int width = Image()->GetWidth(), height = Image()->GetHeight();
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    return {Rect.left + MulDiv(GetLeft(), w, width), Rect.top + MulDiv(GetTop(), h, height),
            Rect.left + MulDiv(GetLeft() + GetWidth(), w, width), Rect.top + MulDiv(GetTop() + GetHeight(), h, height)};
}

void TGIFSubImage::TiledCopies(const RECT& Rect, const std::function<void(int X, int Y)>& Copy) const
{
    const int stepX = Image()->GetWidth(), stepY = Image()->GetHeight();
    // Steps of nothing would never reach the edge; a frame of nothing shows nothing.
    if (stepX <= 0 || stepY <= 0 || GetWidth() == 0 || GetHeight() == 0) return;
    for (int x = Rect.left + GetLeft(); x < Rect.right; x += stepX)
        for (int y = Rect.top + GetTop(); y < Rect.bottom; y += stepY) Copy(x, y);
}

void TGIFSubImage::StretchDraw(TCanvas* Canvas, const RECT& Rect, bool Transparent, bool Tile)
{
    const int width = GetWidth(), height = GetHeight();
    // Held for the whole draw, so that nothing frees the bitmap or the mask
    // while they are in use.
    std::shared_ptr<TFrameRendering> rendering;
    if (Transparent && HasMask()) rendering = CurrentRendering();
    if (rendering && BitmapOf(*rendering).Mask) {
        TFrameBitmap& frame = BitmapOf(*rendering);
        const TMemoryContext mask(nullptr, frame.Mask, false);
        HDC dest = Canvas->Handle();
        HDC source = frame.Bitmap->Canvas()->Handle();
        if (Tile)
            TiledCopies(Rect, [&](int X, int Y) {
                MaskedStretchDraw(dest, X, Y, width, height, source, 0, 0, width, height, mask.DC, 0, 0);
            });
        else
            MaskedStretchDraw(dest, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, source, 0, 0,
                              width, height, mask.DC, 0, 0);
        Canvas->Changed();
        return;
    }
    GetBitmap();
    rendering = CurrentRendering();
    if (!rendering) return;
    TBitmap* bitmap = BitmapOf(*rendering).Bitmap.get();
    if (Tile)
        TiledCopies(Rect, [&](int X, int Y) { Canvas->StretchDraw({X, Y, X + width, Y + height}, bitmap); });
    else
        Canvas->StretchDraw(Rect, bitmap);
}

bool TGIFSubImage::MaskedStretchDraw(HDC DestDC, int X, int Y, int Width, int Height, HDC SourceDC, int SourceX,
                                     int SourceY, int SourceWidth, int SourceHeight, HDC MaskDC, int MaskX, int MaskY)
{
    if (IsNTFamily() && Width == SourceWidth && Height == SourceHeight) {
        // MaskBlt takes the mask as a bitmap out of any context.
        HBITMAP stand = RaiseSystemError(CreateCompatibleBitmap(SourceDC, 1, 1));
        HGDIOBJ mask = SelectObject(MaskDC, stand);
        MaskBlt(DestDC, X, Y, Width, Height, SourceDC, SourceX, SourceY, static_cast<HBITMAP>(mask), MaskX, MaskY,
                MAKEROP4(0x00AA0029, SRCCOPY)); // mask 1: destination kept; 0: source copied
        SelectObject(MaskDC, mask);
        DeleteObject(stand);
        return true;
    }

    // Without MaskBlt, or scaled: the source with black where the mask is
    // set, ANDed and ORed onto the destination through the mask.
    TMemoryContext memory(DestDC, CreateCompatibleBitmap(DestDC, SourceWidth, SourceHeight));
    HPALETTE palette = static_cast<HPALETTE>(GetCurrentObject(SourceDC, OBJ_PAL));
    HPALETTE oldPalette = SelectPalette(memory.DC, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    RealizePalette(memory.DC);
    {
        TMemoryContext inverted(nullptr, CreateBitmap(SourceWidth, SourceHeight, 1, 1, nullptr));
        BitBlt(inverted.DC, 0, 0, SourceWidth, SourceHeight, MaskDC, MaskX, MaskY, NOTSRCCOPY);
        BitBlt(memory.DC, 0, 0, SourceWidth, SourceHeight, inverted.DC, 0, 0, SRCCOPY);
    }
    BitBlt(memory.DC, 0, 0, SourceWidth, SourceHeight, SourceDC, SourceX, SourceY, SRCAND);

    // A monochrome source is drawn in the text colour for 0, the background colour for 1.
    const COLORREF oldText = SetTextColor(DestDC, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(DestDC, RGB(255, 255, 255));
    // Both copies must drop the same source pixels when they shrink.
    const int oldMode = SetStretchBltMode(DestDC, COLORONCOLOR);
    StretchBlt(DestDC, X, Y, Width, Height, MaskDC, MaskX, MaskY, SourceWidth, SourceHeight, SRCAND);
    StretchBlt(DestDC, X, Y, Width, Height, memory.DC, 0, 0, SourceWidth, SourceHeight, SRCPAINT);
    SetStretchBltMode(DestDC, oldMode);
    SetTextColor(DestDC, oldText);
    SetBkColor(DestDC, oldBack);
    SelectPalette(memory.DC, oldPalette, FALSE);
    return true;
}
