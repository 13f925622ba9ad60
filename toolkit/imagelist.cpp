#include "imagelist.h"
#include "exceptions.h"

TImageList::~TImageList()
{
    if (FHandle) ::ImageList_Destroy(FHandle);
}

HIMAGELIST TImageList::Handle()
{
    if (!FHandle) {
        FHandle = ::ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, 4, 4);
        if (!FHandle) throw EOutOfResources("Out of system resources");
    }
    return FHandle;
}

void TImageList::SetSize(int AWidth, int AHeight)
{
    if (FHandle) ::ImageList_Destroy(FHandle);
    FHandle = nullptr;
    FWidth = AWidth;
    FHeight = AHeight;
}

int TImageList::Count() const { return FHandle ? ::ImageList_GetImageCount(FHandle) : 0; }

namespace {

// A copy of a bitmap at the list's height, as a device bitmap the list can
// take; a strip as wide as several pictures keeps its width and becomes
// several pictures.
HBITMAP Scaled(TBitmap* Source, int Width, int Height)
{
    if (Source->Height() == Height && Source->Width() % Width == 0) Width = Source->Width();
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, Width, Height);
    ::ReleaseDC(nullptr, screen);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, 0, 0, Width, Height, Source->Canvas()->Handle(), 0, 0, Source->Width(), Source->Height(), SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

} // namespace

int TImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    HBITMAP image = Scaled(Image, FWidth, FHeight);
    HBITMAP mask = Mask && !Mask->Empty() ? Scaled(Mask, FWidth, FHeight) : nullptr;
    int index = ::ImageList_Add(Handle(), image, mask);
    ::DeleteObject(image);
    if (mask) ::DeleteObject(mask);
    return index;
}

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    HBITMAP image = Scaled(Image, FWidth, FHeight);
    int index = ::ImageList_AddMasked(Handle(), image, ColorToRGB(MaskColor));
    ::DeleteObject(image);
    return index;
}

int TImageList::AddIcon(TIcon* Icon)
{
    HICON icon = Icon->CopyAtSize(FWidth, FHeight);
    int index = ::ImageList_AddIcon(Handle(), icon ? icon : Icon->Handle());
    if (icon) ::DestroyIcon(icon);
    return index;
}

void TImageList::Delete(int Index)
{
    if (FHandle) ::ImageList_Remove(FHandle, Index);
}

void TImageList::Clear() { Delete(-1); }

void TImageList::GetIcon(int Index, TIcon* Icon)
{
    if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid image list index");
    Icon->SetHandle(::ImageList_GetIcon(FHandle, Index, ILD_NORMAL));
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index)
{
    if (FHandle) ::ImageList_Draw(FHandle, Index, Canvas->Handle(), X, Y, ILD_NORMAL);
}
