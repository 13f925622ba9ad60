#include "dib_win32.h"

#include "gif_util.h"
#include "system_error_win32.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

const char* const UnsupportedPixelFormat = "Unsupported PixelFormat";
const char* const NoMemory = "Failed to allocate memory for GIF DIB";

int BitCountOf(TPixelFormat PixelFormat)
{
    switch (PixelFormat) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf24bit: return 24;
    default: RaiseGifError(UnsupportedPixelFormat);
    }
}

int64_t ImageSize(int Width, int BitCount, int Height)
{
    return AlignedRowSize(Width, BitCount, 32) * std::abs(int64_t(Height));
}

// Turns palette entries (red, green, blue, flags) in place into RGBQUADs.
void SwapRedBlue(PALETTEENTRY* Colors, int Count)
{
    for (int i = 0; i < Count; ++i) {
        const PALETTEENTRY entry = Colors[i];
        reinterpret_cast<RGBQUAD&>(Colors[i]) = {entry.peBlue, entry.peGreen, entry.peRed, 0};
    }
}

} // namespace

TDIBReader::TDIBReader(TBitmap* Bitmap, TPixelFormat PixelFormat) : TDIB(Bitmap, PixelFormat)
{
    Bitmap->SetPixelFormat(PixelFormat);
}

uint8_t* TDIBReader::GetScanline(int Row) { return static_cast<uint8_t*>(Bitmap->ScanLine(Row)); }

TDIBWriter::TDIBWriter(TBitmap* Bitmap, TPixelFormat PixelFormat, int Width, int Height, HPALETTE Palette)
    : TDIB(Bitmap, PixelFormat), Palette(Palette), Height(Height), Width(Width)
{
    if (PixelFormat != pf8bit && PixelFormat != pf24bit) RaiseGifError(UnsupportedPixelFormat);
    // Negative sizes would make negative strides.
    if (Width <= 0 || Height <= 0) RaiseGifError("Invalid image dimensions");
}

void TDIBWriter::AllocateDib()
{
    ReleaseDib();
    const int bitCount = BitCountOf(PixelFormat);
    const int colors = PixelFormat == pf8bit ? 256 : 0;
    const size_t infoSize = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD);
    // The whole picture is handed over later as one BMP file in a stream.
    const int64_t room = INT32_MAX - int64_t(sizeof(BITMAPFILEHEADER) + infoSize);
    if (AlignedRowSize(Width, bitCount, 32) > room / Height) throw EOutOfMemory(NoMemory);
    try {
        Info.assign(infoSize, 0);
        Bits.assign(size_t(ImageSize(Width, bitCount, Height)), 0);
    } catch (const std::bad_alloc&) {
        ReleaseDib();
        throw EOutOfMemory(NoMemory);
    }
    auto* info = reinterpret_cast<BITMAPINFO*>(Info.data());
    info->bmiHeader = {sizeof(BITMAPINFOHEADER), Width, Height, 1, WORD(bitCount), BI_RGB, 0, 0, 0, 0, 0};
    if (PixelFormat == pf8bit) {
        // At most the table's 256 entries, whatever the palette holds.
        auto* entries = reinterpret_cast<PALETTEENTRY*>(info->bmiColors);
        const int count = Palette ? int(GetPaletteEntries(Palette, 0, 256, entries)) : 0;
        SwapRedBlue(entries, count);
        info->bmiHeader.biClrUsed = 256;
        info->bmiHeader.biClrImportant = DWORD(count);
    }
}

void TDIBWriter::ReleaseDib()
{
    std::vector<uint8_t>().swap(Info);
    std::vector<uint8_t>().swap(Bits);
}

void TDIBWriter::EnsureDib()
{
    if (Bits.empty()) AllocateDib();
}

TDIBWriter::~TDIBWriter()
{
    if (!Pending) return;
    try {
        StoreDibInBitmap();
    } catch (...) {
        // The bitmap keeps its old picture.
    }
}

uint8_t* TDIBWriter::GetScanline(int Row)
{
    EnsureDib();
    if (Row < 0 || Row >= Height) throw EInvalidGraphicOperation("Scan line index out of range");
    Pending = true;
    return Bits.data() + size_t(AlignedRowSize(Width, BitCountOf(PixelFormat), 32)) * (Height - Row - 1);
}

void TDIBWriter::StoreDibInBitmap()
{
    if (Bits.empty()) return;
    Pending = false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = DWORD(sizeof file + Info.size());
    file.bfSize = DWORD(file.bfOffBits + Bits.size());
    TMemoryStream stream;
    stream.SetSize(file.bfSize);
    stream.WriteBuffer(&file, sizeof file);
    stream.WriteBuffer(Info.data(), int32_t(Info.size()));
    stream.WriteBuffer(Bits.data(), int32_t(Bits.size()));
    stream.SetPosition(0);
    Bitmap->LoadFromStream(&stream);
}

std::ptrdiff_t RowStride(TDIB& Dib, int Height) { return Height > 1 ? Dib.GetScanline(1) - Dib.GetScanline(0) : 0; }

void FillBitmapInfoHeader(HBITMAP Bitmap, BITMAPINFOHEADER& Header, TPixelFormat PixelFormat)
{
    DIBSECTION dib{};
    const int size = GetObjectA(Bitmap, sizeof dib, &dib);
    if (size == 0) RaiseGifError("Bitmap image is not valid");
    if (size < int(sizeof dib) || dib.dsBmih.biSize < sizeof(BITMAPINFOHEADER)) {
        Header = {};
        Header.biSize = sizeof(BITMAPINFOHEADER);
        Header.biWidth = dib.dsBm.bmWidth;
        Header.biHeight = dib.dsBm.bmHeight;
    } else {
        Header = dib.dsBmih;
        // They count the section's own colour table, not the one asked for.
        Header.biClrUsed = 0;
        Header.biClrImportant = 0;
    }
    Header.biBitCount = WORD(BitCountOf(PixelFormat));
    Header.biPlanes = 1;
    Header.biCompression = BI_RGB;
    Header.biSizeImage = DWORD(ImageSize(Header.biWidth, Header.biBitCount, Header.biHeight));
}

void InternalGetDIBSizes(HBITMAP Bitmap, TPixelFormat PixelFormat, int& InfoSize, int& ImageSize)
{
    BITMAPINFOHEADER header;
    FillBitmapInfoHeader(Bitmap, header, PixelFormat);
    InfoSize = int(sizeof header) + (header.biBitCount <= 8 ? int(sizeof(RGBQUAD)) << header.biBitCount : 0);
    ImageSize = int(header.biSizeImage);
}

bool InternalGetDIB(HBITMAP Bitmap, HPALETTE Palette, BITMAPINFO* Info, void* Bits, TPixelFormat PixelFormat)
{
    FillBitmapInfoHeader(Bitmap, Info->bmiHeader, PixelFormat);
    HDC dc = RaiseSystemError(CreateCompatibleDC(nullptr));
    HPALETTE oldPalette = nullptr;
    if (Palette) {
        oldPalette = SelectPalette(dc, Palette, FALSE);
        RealizePalette(dc);
    }
    const int rows = GetDIBits(dc, Bitmap, 0, UINT(std::abs(Info->bmiHeader.biHeight)), Bits, Info, DIB_RGB_COLORS);
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
    DeleteDC(dc);
    return rows != 0;
}
