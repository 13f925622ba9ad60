#include "bitmap.h"
#include "exceptions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char* const InvalidBitmap = "Bitmap image is not valid";

int BitsOf(TPixelFormat Format)
{
    static const int bits[] = {0, 1, 4, 8, 16, 16, 24, 32, 0};
    return bits[Format];
}

TPixelFormat FormatOf(const BITMAPINFOHEADER& Header)
{
    switch (Header.biBitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: {
        if (Header.biCompression != BI_BITFIELDS) return pf15bit;
        auto masks = reinterpret_cast<const DWORD*>(&Header + 1);
        return masks[1] == 0x07E0 ? pf16bit : pf15bit;
    }
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
    }
}

int RowBytes(int Width, int Bits) { return ((Width * Bits + 31) / 32) * 4; }

// A BITMAPINFO with room for 256 colours or three bit-field masks.
struct DibInfo {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
};

int ColorTableSize(const BITMAPINFOHEADER& Header)
{
    if (Header.biBitCount > 8) return Header.biCompression == BI_BITFIELDS ? 3 : 0;
    return Header.biClrUsed ? static_cast<int>(Header.biClrUsed) : 1 << Header.biBitCount;
}

std::vector<RGBQUAD> DefaultColors(int Bits)
{
    if (Bits == 1) return {{0, 0, 0, 0}, {255, 255, 255, 0}};
    if (Bits == 4)
        return {{0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},   {0, 128, 128, 0},
                {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0}, {192, 192, 192, 0},
                {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},   {0, 255, 255, 0},
                {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0}, {255, 255, 255, 0}};
    HDC screen = ::GetDC(nullptr);
    HPALETTE halftone = ::CreateHalftonePalette(screen);
    ::ReleaseDC(nullptr, screen);
    PALETTEENTRY entries[256]{};
    UINT count = ::GetPaletteEntries(halftone, 0, 256, entries);
    ::DeleteObject(halftone);
    std::vector<RGBQUAD> colors;
    for (UINT i = 0; i < count; ++i) colors.push_back({entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0});
    return colors;
}

HBITMAP CreateDib(TPixelFormat Format, int Width, int Height, const std::vector<RGBQUAD>& Colors)
{
    DibInfo info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = Width;
    info.Header.biHeight = Height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(BitsOf(Format));
    if (Format == pf16bit) {
        info.Header.biCompression = BI_BITFIELDS;
        auto masks = reinterpret_cast<DWORD*>(info.Colors);
        masks[0] = 0xF800, masks[1] = 0x07E0, masks[2] = 0x001F;
    }
    std::copy(Colors.begin(), Colors.begin() + std::min<size_t>(Colors.size(), 256), info.Colors);
    info.Header.biClrUsed = static_cast<DWORD>(Colors.size());
    void* bits = nullptr;
    HBITMAP bitmap =
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) throw EOutOfResources("Out of system resources");
    return bitmap;
}

} // namespace

// The bitmap's own memory context, with the bitmap selected while it lives.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& Owner) : Bitmap(Owner) {}
    ~TBitmapCanvas() override { FreeContext(); }
    void FreeContext()
    {
        if (!HandleAllocated()) return;
        HDC dc = Handle();
        SetHandle(nullptr);
        ::SelectObject(dc, OldBitmap);
        if (OldPalette) ::SelectPalette(dc, OldPalette, TRUE);
        ::DeleteDC(dc);
        OldPalette = nullptr;
    }

protected:
    void CreateHandle() override
    {
        if (!Bitmap.FHandle) return;
        HDC dc = ::CreateCompatibleDC(nullptr);
        OldBitmap = ::SelectObject(dc, Bitmap.FHandle);
        if (Bitmap.FPalette) {
            OldPalette = ::SelectPalette(dc, Bitmap.FPalette, TRUE);
            ::RealizePalette(dc);
        }
        SetHandle(dc);
    }

private:
    TBitmap& Bitmap;
    HGDIOBJ OldBitmap = nullptr;
    HPALETTE OldPalette = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    delete FCanvas;
    if (FMaskHandle) ::DeleteObject(FMaskHandle);
    if (FHandle) ::DeleteObject(FHandle);
    if (FPalette) ::DeleteObject(FPalette);
}

void TBitmap::FreeContext()
{
    if (FCanvas) FCanvas->FreeContext();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) FCanvas = new TBitmapCanvas(*this);
    return FCanvas;
}

void TBitmap::Replace(HBITMAP Bitmap, TPixelFormat Format, int AWidth, int AHeight)
{
    FreeContext();
    if (FHandle && FHandle != Bitmap) ::DeleteObject(FHandle);
    if (FPalette) ::DeleteObject(FPalette);
    FPalette = nullptr;
    FHandle = Bitmap;
    FPixelFormat = Format;
    FWidth = Bitmap ? AWidth : 0;
    FHeight = Bitmap ? AHeight : 0;
    Changed();
}

void TBitmap::Recreate(TPixelFormat Format, int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0) {
        Replace(nullptr, Format, 0, 0);
        return;
    }
    HBITMAP bitmap;
    if (Format == pfDevice) {
        HDC screen = ::GetDC(nullptr);
        bitmap = ::CreateCompatibleBitmap(screen, AWidth, AHeight);
        ::ReleaseDC(nullptr, screen);
        if (!bitmap) throw EOutOfResources("Out of system resources");
    } else {
        int bits = BitsOf(Format);
        std::vector<RGBQUAD> colors;
        if (bits <= 8) {
            // Keep the colours the bitmap has, as far as the new format holds them.
            if (FHandle && FPixelFormat >= pf1bit && FPixelFormat <= pf8bit) {
                colors.resize(256);
                colors.resize(::GetDIBColorTable(Canvas()->Handle(), 0, 1u << bits, colors.data()));
            }
            if (colors.empty()) colors = DefaultColors(bits);
        }
        bitmap = CreateDib(Format, AWidth, AHeight, colors);
    }
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::PatBlt(dc, 0, 0, AWidth, AHeight, WHITENESS);
    if (FHandle) ::BitBlt(dc, 0, 0, std::min(AWidth, FWidth), std::min(AHeight, FHeight), Canvas()->Handle(), 0, 0, SRCCOPY);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    Replace(bitmap, Format, AWidth, AHeight);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    if (AWidth == FWidth && AHeight == FHeight) return;
    Recreate(FPixelFormat, AWidth, AHeight);
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == FPixelFormat) return;
    if (Value == pfCustom) throw EInvalidGraphic("Unsupported pixel format");
    if (!FHandle) FPixelFormat = Value;
    else Recreate(Value, FWidth, FHeight);
}

void* TBitmap::ScanLine(int Row)
{
    if (Row < 0 || Row >= FHeight || FPixelFormat == pfDevice)
        throw EInvalidGraphicOperation("Scan line index out of range");
    ::GdiFlush();
    DIBSECTION dib{};
    ::GetObjectA(FHandle, sizeof dib, &dib);
    return static_cast<uint8_t*>(dib.dsBm.bmBits) + static_cast<size_t>(dib.dsBm.bmWidthBytes) * (FHeight - 1 - Row);
}

void TBitmap::SetHandle(HBITMAP Value)
{
    if (Value == FHandle) return;
    if (!Value) {
        Replace(nullptr, FPixelFormat, 0, 0);
        return;
    }
    DIBSECTION dib{};
    int size = ::GetObjectA(Value, sizeof dib, &dib);
    if (size == 0) throw EInvalidGraphic(InvalidBitmap);
    TPixelFormat format = size >= static_cast<int>(sizeof dib) ? FormatOf(dib.dsBmih) : pfDevice;
    Replace(Value, format, dib.dsBm.bmWidth, dib.dsBm.bmHeight);
}

HBITMAP TBitmap::ReleaseHandle()
{
    FreeContext();
    HBITMAP bitmap = FHandle;
    FHandle = nullptr;
    Replace(nullptr, FPixelFormat, 0, 0);
    return bitmap;
}

HPALETTE TBitmap::Palette()
{
    if (!FPalette && FHandle && FPixelFormat >= pf1bit && FPixelFormat <= pf8bit) {
        RGBQUAD colors[256];
        UINT count = ::GetDIBColorTable(Canvas()->Handle(), 0, 256, colors);
        if (count == 0) return nullptr;
        struct {
            WORD Version, Count;
            PALETTEENTRY Entries[256];
        } log{0x300, static_cast<WORD>(count), {}};
        for (UINT i = 0; i < count; ++i)
            log.Entries[i] = {colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
        FPalette = ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    }
    return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value)
{
    if (Value == FPalette) return;
    FreeContext();
    if (FHandle && FPixelFormat >= pf1bit && FPixelFormat <= pf8bit && Value) {
        PALETTEENTRY entries[256];
        UINT count = ::GetPaletteEntries(Value, 0, 256, entries);
        RGBQUAD colors[256];
        for (UINT i = 0; i < count; ++i) colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        ::SetDIBColorTable(Canvas()->Handle(), 0, count, colors);
        FreeContext();
    }
    if (FPalette) ::DeleteObject(FPalette);
    FPalette = Value;
    PaletteModified = true;
    Changed();
}

TColor TBitmap::TransparentColor()
{
    if (FTransparentColor != clNone) return FTransparentColor;
    if (!FHandle) return clNone;
    return Canvas()->Pixel(0, FHeight - 1) & 0xFFFFFF;
}

HBITMAP TBitmap::MaskHandle()
{
    if (FMaskHandle) ::DeleteObject(FMaskHandle);
    FMaskHandle = nullptr;
    if (!FHandle) return nullptr;
    HBITMAP mask = ::CreateBitmap(FWidth, FHeight, 1, 1, nullptr);
    if (!mask) throw EOutOfResources("Out of system resources");
    // Copied to one bit per pixel, the source's background colour becomes 1.
    HDC source = Canvas()->Handle();
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, mask);
    COLORREF oldBk = ::SetBkColor(source, ColorToRGB(TransparentColor()));
    ::BitBlt(dc, 0, 0, FWidth, FHeight, source, 0, 0, SRCCOPY);
    ::SetBkColor(source, oldBk);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    FMaskHandle = mask;
    return mask;
}

void TBitmap::Draw(TCanvas* Target, const RECT& Rect)
{
    if (!FHandle) return;
    HDC dc = Target->Handle();
    HDC source = Canvas()->Handle();
    int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (Transparent()) {
        ::TransparentBlt(dc, Rect.left, Rect.top, w, h, source, 0, 0, FWidth, FHeight, ColorToRGB(TransparentColor()));
    } else {
        int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, Rect.left, Rect.top, w, h, source, 0, 0, FWidth, FHeight, Target->CopyMode);
        ::SetStretchBltMode(dc, oldMode);
    }
}

void TBitmap::LoadFromDib(const BITMAPINFO* Info, const void* Bits, size_t BitsSize)
{
    const BITMAPINFOHEADER& header = Info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 0x8000 || std::abs(header.biHeight) > 0x8000 || header.biPlanes != 1 ||
        (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS) ||
        (header.biBitCount > 8 && header.biClrUsed > 256) || (header.biBitCount <= 8 && header.biClrUsed > (1u << header.biBitCount)))
        throw EInvalidGraphic(InvalidBitmap);
    TPixelFormat format = FormatOf(header);
    if (format == pfCustom) throw EInvalidGraphic(InvalidBitmap);
    int height = std::abs(header.biHeight);
    size_t stride = RowBytes(header.biWidth, header.biBitCount);
    if (BitsSize < stride * height) throw EInvalidGraphic(InvalidBitmap);

    // Always bottom-up and with a plain header, whatever the source had.
    DibInfo info{};
    info.Header = header;
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biHeight = height;
    info.Header.biSizeImage = 0;
    const uint8_t* table = reinterpret_cast<const uint8_t*>(Info) + header.biSize;
    std::memcpy(info.Colors, table, ColorTableSize(header) * sizeof(RGBQUAD));
    void* bits = nullptr;
    HBITMAP bitmap =
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) throw EOutOfResources("Out of system resources");
    const auto* source = static_cast<const uint8_t*>(Bits);
    auto* target = static_cast<uint8_t*>(bits);
    if (header.biHeight > 0) std::memcpy(target, source, stride * height);
    else
        for (int row = 0; row < height; ++row)
            std::memcpy(target + stride * (height - 1 - row), source + stride * row, stride);
    Replace(bitmap, format, header.biWidth, height);
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    BITMAPFILEHEADER file{};
    Stream->ReadBuffer(&file, sizeof file);
    if (file.bfType != 0x4D42 || file.bfSize < sizeof file + sizeof(BITMAPINFOHEADER) ||
        file.bfOffBits < sizeof file + sizeof(BITMAPINFOHEADER) || file.bfOffBits > file.bfSize)
        throw EInvalidGraphic(InvalidBitmap);
    std::vector<uint8_t> data(file.bfSize - sizeof file);
    Stream->ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
    auto* info = reinterpret_cast<const BITMAPINFO*>(data.data());
    size_t offset = file.bfOffBits - sizeof file;
    if (info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biSize > offset ||
        info->bmiHeader.biSize + ColorTableSize(info->bmiHeader) * sizeof(RGBQUAD) > offset)
        throw EInvalidGraphic(InvalidBitmap);
    LoadFromDib(info, data.data() + offset, data.size() - offset);
}

void TBitmap::SaveToStream(TStream* Stream)
{
    if (!FHandle) return;
    DibInfo info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = FWidth;
    info.Header.biHeight = FHeight;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(FPixelFormat == pfDevice ? 24 : BitsOf(FPixelFormat));
    if (FPixelFormat == pf16bit) info.Header.biCompression = BI_BITFIELDS;
    // GetDIBits wants the bitmap out of every context.
    FreeContext();
    std::vector<uint8_t> bits(RowBytes(FWidth, info.Header.biBitCount) * static_cast<size_t>(FHeight));
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, FHandle, 0, FHeight, bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                           DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != FHeight) throw EInvalidGraphic(InvalidBitmap);
    info.Header.biSizeImage = static_cast<DWORD>(bits.size());
    if (info.Header.biBitCount <= 8 && info.Header.biClrUsed == 0) info.Header.biClrUsed = 1u << info.Header.biBitCount;
    size_t infoSize = sizeof(BITMAPINFOHEADER) + ColorTableSize(info.Header) * sizeof(RGBQUAD);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof file + infoSize);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + bits.size());
    Stream->WriteBuffer(&file, sizeof file);
    Stream->WriteBuffer(&info, static_cast<int32_t>(infoSize));
    Stream->WriteBuffer(bits.data(), static_cast<int32_t>(bits.size()));
}

void TBitmap::ReadData(TStream* Stream)
{
    int32_t size = 0;
    Stream->ReadBuffer(&size, sizeof size);
    if (size < 0 || size > Stream->Size() - Stream->Position()) throw EReadError(Texts::ReadError);
    TMemoryStream data;
    data.CopyFrom(Stream, size);
    data.SetPosition(0);
    LoadFromStream(&data);
}

void TBitmap::WriteData(TStream* Stream)
{
    TMemoryStream data;
    SaveToStream(&data);
    int32_t size = static_cast<int32_t>(data.Size());
    Stream->WriteBuffer(&size, sizeof size);
    Stream->WriteBuffer(data.Memory(), size);
}

void TBitmap::LoadFromResource(HINSTANCE Instance, const char* Name, const std::string& Shown)
{
    HRSRC resource = ::FindResourceA(Instance, Name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!resource) throw EResNotFound("Resource " + Shown + " not found");
    auto* data = static_cast<const uint8_t*>(::LockResource(::LoadResource(Instance, resource)));
    DWORD size = ::SizeofResource(Instance, resource);
    auto* info = reinterpret_cast<const BITMAPINFO*>(data);
    if (size < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        throw EInvalidGraphic(InvalidBitmap);
    size_t offset = info->bmiHeader.biSize + ColorTableSize(info->bmiHeader) * sizeof(RGBQUAD);
    if (offset > size) throw EInvalidGraphic(InvalidBitmap);
    LoadFromDib(info, data + offset, size - offset);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName)
{
    LoadFromResource(Instance, ResName.c_str(), ResName);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
    LoadFromResource(Instance, MAKEINTRESOURCEA(ResID), std::to_string(ResID));
}

namespace {

HPALETTE CopyPalette(HPALETTE Palette)
{
    if (!Palette) return nullptr;
    struct {
        WORD Version, Count;
        PALETTEENTRY Entries[256];
    } log{0x300, 0, {}};
    log.Count = static_cast<WORD>(::GetPaletteEntries(Palette, 0, 256, log.Entries));
    return log.Count ? ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&log)) : nullptr;
}

} // namespace

void TBitmap::LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette)
{
    if (Format != CF_BITMAP || !Data) throw EInvalidGraphic("Unsupported clipboard format");
    HBITMAP copy = static_cast<HBITMAP>(::CopyImage(Data, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy) throw EInvalidGraphic(InvalidBitmap);
    SetHandle(copy);
    if (Palette) SetPalette(CopyPalette(Palette));
}

void TBitmap::SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette)
{
    Format = CF_BITMAP;
    FreeContext();
    Data = FHandle ? ::CopyImage(FHandle, IMAGE_BITMAP, 0, 0, 0) : nullptr;
    Palette = CopyPalette(TBitmap::Palette());
}

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        Replace(nullptr, FPixelFormat, 0, 0);
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        if (bitmap == this) return;
        if (bitmap->Empty()) {
            Replace(nullptr, bitmap->FPixelFormat, 0, 0);
        } else if (bitmap->FPixelFormat == pfDevice) {
            HDC screen = ::GetDC(nullptr);
            HBITMAP copy = ::CreateCompatibleBitmap(screen, bitmap->FWidth, bitmap->FHeight);
            ::ReleaseDC(nullptr, screen);
            HDC dc = ::CreateCompatibleDC(nullptr);
            HGDIOBJ old = ::SelectObject(dc, copy);
            ::BitBlt(dc, 0, 0, bitmap->FWidth, bitmap->FHeight, bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
            ::SelectObject(dc, old);
            ::DeleteDC(dc);
            Replace(copy, pfDevice, bitmap->FWidth, bitmap->FHeight);
        } else {
            TMemoryStream data;
            bitmap->SaveToStream(&data);
            data.SetPosition(0);
            LoadFromStream(&data);
        }
        FTransparent = bitmap->FTransparent;
        FTransparentColor = bitmap->FTransparentColor;
        return;
    }
    TGraphic::Assign(Source);
}
