// Row access to toolkit bitmaps and DIB copies of GDI bitmaps: known
// patterns written through one path and read back through the others
// (TDIBReader, GetDIBits, the canvas), in every format they handle.
#include "gifimage/dib_win32.h"
#include "gifimage/gif_types.h"
#include "gifimage/system_error_win32.h"
#include "gif_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

HPALETTE MakePalette(int Count, PALETTEENTRY (*Entry)(int))
{
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + Count * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = WORD(Count);
    for (int i = 0; i < Count; ++i) log->palPalEntry[i] = Entry(i);
    return CreatePalette(log);
}

int BitsOf(TPixelFormat Format) { return Format == pf1bit ? 1 : Format == pf4bit ? 4 : Format == pf8bit ? 8 : 24; }
int Stride(int Width, int Bits) { return ((Width * Bits + 31) / 32) * 4; }

// What GetDIBits gives for the bitmap in Bits bits per pixel; top-down rows
// unless BottomUp.
struct TDibCopy {
    std::vector<RGBQUAD> Table;
    Bytes Pixels;
    int Stride = 0;
    const uint8_t* Row(int y) const { return Pixels.data() + Stride * y; }
};

TDibCopy GetDIBitsOf(HBITMAP Bitmap, int Bits, bool BottomUp = false)
{
    BITMAP bm{};
    EXPECT_NE(GetObjectA(Bitmap, sizeof bm, &bm), 0);
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info{};
    info.Header = {sizeof(BITMAPINFOHEADER), bm.bmWidth, BottomUp ? bm.bmHeight : -bm.bmHeight, 1, WORD(Bits), BI_RGB, 0, 0, 0, 0, 0};
    TDibCopy copy;
    copy.Stride = Stride(bm.bmWidth, Bits);
    copy.Pixels.resize(size_t(copy.Stride) * bm.bmHeight);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, Bitmap, 0, bm.bmHeight, copy.Pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                        DIB_RGB_COLORS),
              bm.bmHeight);
    ReleaseDC(nullptr, screen);
    if (Bits <= 8) copy.Table.assign(info.Colors, info.Colors + (1 << Bits));
    return copy;
}

DIBSECTION SectionOf(HBITMAP Bitmap)
{
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectA(Bitmap, sizeof dib, &dib), int(sizeof dib));
    return dib;
}

// The colour of pixel x of a row of packed pixels.
COLORREF ColorAt(const uint8_t* Row, int X, int Bits, const std::vector<RGBQUAD>& Table)
{
    int index;
    switch (Bits) {
    case 1: index = (Row[X / 8] >> (7 - X % 8)) & 1; break;
    case 4: index = X % 2 ? Row[X / 2] & 15 : Row[X / 2] >> 4; break;
    case 8: index = Row[X]; break;
    default: return RGB(Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]);
    }
    const RGBQUAD c = Table.at(index);
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

// A pf24bit bitmap of Width x Height pixels coloured by Color(x, y), written
// through a TDIBWriter.
template <typename F>
void Paint24(TBitmap& Bitmap, int Width, int Height, F Color)
{
    TDIBWriter writer(&Bitmap, pf24bit, Width, Height, nullptr);
    for (int y = 0; y < Height; ++y) {
        uint8_t* row = writer.GetScanline(y);
        for (int x = 0; x < Width; ++x) {
            const COLORREF c = Color(x, y);
            row[3 * x] = GetBValue(c), row[3 * x + 1] = GetGValue(c), row[3 * x + 2] = GetRValue(c);
        }
    }
    writer.StoreDibInBitmap();
}

TEST(DIBWriter, Pf8bitRowsReachTheBitmapTopRowFirstWithThePalettesColours)
{
    const int width = 5, height = 3; // rows of 5 bytes are padded to 8
    HPALETTE palette = MakePalette(16, [](int i) { return PALETTEENTRY{BYTE(i * 16), BYTE(255 - i), BYTE(i), 0}; });
    TBitmap bitmap;
    {
        TDIBWriter writer(&bitmap, pf8bit, width, height, palette);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) writer.GetScanline(y)[x] = uint8_t(y * width + x);
        EXPECT_TRUE(bitmap.Empty()); // nothing reaches the bitmap before it is stored
        writer.StoreDibInBitmap();
    }
    ASSERT_EQ(bitmap.PixelFormat(), pf8bit);
    ASSERT_EQ(bitmap.Width(), width);
    ASSERT_EQ(bitmap.Height(), height);

    const DIBSECTION dib = SectionOf(bitmap.Handle());
    EXPECT_GT(dib.dsBmih.biHeight, 0);
    EXPECT_EQ(dib.dsBmih.biClrUsed, 256u);
    EXPECT_EQ(dib.dsBmih.biClrImportant, 16u);

    const TDibCopy copy = GetDIBitsOf(bitmap.Handle(), 8);
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD expected = i < 16 ? RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 16), 0} : RGBQUAD{0, 0, 0, 0};
        EXPECT_EQ(std::memcmp(&copy.Table[i], &expected, sizeof expected), 0) << i;
    }
    TDIBReader reader(&bitmap, pf8bit);
    for (int y = 0; y < height; ++y) {
        const Bytes expected = {uint8_t(y * 5), uint8_t(y * 5 + 1), uint8_t(y * 5 + 2), uint8_t(y * 5 + 3),
                                 uint8_t(y * 5 + 4)};
        EXPECT_EQ(Bytes(copy.Row(y), copy.Row(y) + width), expected) << y;
        EXPECT_EQ(Bytes(reader.GetScanline(y), reader.GetScanline(y) + width), expected) << y;
    }
    EXPECT_EQ(RowStride(reader, height), -8);
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), RGB(0, 255, 0));          // index 0 at the top left
    EXPECT_EQ(bitmap.Canvas()->Pixel(4, 2), RGB(14 * 16, 241, 14));   // index 14 at the bottom right
    DeleteObject(palette);
}

TEST(DIBWriter, ItsDestructorStoresRowsWrittenSinceTheLastStore)
{
    TBitmap bitmap;
    {
        TDIBWriter writer(&bitmap, pf24bit, 2, 2, nullptr);
        for (int y = 0; y < 2; ++y) std::memset(writer.GetScanline(y), 0x40 * (y + 1), 6);
    }
    ASSERT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 0), RGB(0x40, 0x40, 0x40));
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 1), RGB(0x80, 0x80, 0x80));
    // Stored already: the destructor does not store the same rows again
    // over what was drawn on the bitmap since.
    {
        TDIBWriter writer(&bitmap, pf24bit, 2, 2, nullptr);
        std::memset(writer.GetScanline(0), 0x10, 6);
        writer.StoreDibInBitmap();
        bitmap.Canvas()->SetPixel(0, 0, RGB(255, 0, 0));
    }
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 0), RGB(0x10, 0x10, 0x10));
    // A writer that handed out no rows leaves the bitmap as it is.
    { TDIBWriter writer(&bitmap, pf8bit, 3, 3, nullptr); }
    EXPECT_EQ(bitmap.Width(), 2);
}

TEST(DIBWriter, Pf24bitRowsKeepTheirOrderThroughGetDIBits)
{
    const int width = 3, height = 4;
    const auto color = [](int x, int y) { return RGB(10 * x + 1, 50 * y + 2, 200 - x - y); };
    TBitmap bitmap;
    Paint24(bitmap, width, height, color);
    ASSERT_EQ(bitmap.PixelFormat(), pf24bit);

    const TDibCopy topDown = GetDIBitsOf(bitmap.Handle(), 24);
    const TDibCopy bottomUp = GetDIBitsOf(bitmap.Handle(), 24, true);
    TDIBReader reader(&bitmap, pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(ColorAt(topDown.Row(y), x, 24, {}), color(x, y)) << x << "," << y;
            EXPECT_EQ(ColorAt(bottomUp.Row(height - 1 - y), x, 24, {}), color(x, y)) << x << "," << y;
            EXPECT_EQ(ColorAt(reader.GetScanline(y), x, 24, {}), color(x, y)) << x << "," << y;
        }
}

TEST(DIBWriter, CopiesAtMostTheColourTablesEntries)
{
    // 300 entries: more than a colour table holds.
    HPALETTE large = MakePalette(300, [](int i) { return PALETTEENTRY{BYTE(i), BYTE(i >> 8), 7, 0}; });
    ASSERT_NE(large, nullptr);
    TBitmap bitmap;
    {
        TDIBWriter writer(&bitmap, pf8bit, 2, 1, large);
        writer.GetScanline(0)[0] = 255;
        writer.GetScanline(0)[1] = 44;
        writer.StoreDibInBitmap();
    }
    EXPECT_EQ(SectionOf(bitmap.Handle()).dsBmih.biClrImportant, 256u);
    const TDibCopy copy = GetDIBitsOf(bitmap.Handle(), 8);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(copy.Table[i].rgbRed, i);
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), RGB(255, 0, 7));
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 0), RGB(44, 0, 7));
    DeleteObject(large);

    TBitmap plain; // no palette: a black table
    {
        TDIBWriter writer(&plain, pf8bit, 1, 1, nullptr);
        writer.GetScanline(0)[0] = 3;
        writer.StoreDibInBitmap();
    }
    EXPECT_EQ(SectionOf(plain.Handle()).dsBmih.biClrImportant, 0u);
    EXPECT_EQ(plain.Canvas()->Pixel(0, 0), RGB(0, 0, 0));
}

TEST(DIBWriter, RefusesWhatItCannotWrite)
{
    TBitmap bitmap;
    for (TPixelFormat format : {pfDevice, pf1bit, pf4bit, pf15bit, pf16bit, pf32bit, pfCustom})
        EXPECT_EQ(MessageOf([&] { TDIBWriter(&bitmap, format, 4, 4, nullptr); }), "Unsupported PixelFormat") << format;
    for (auto size : {std::pair{0, 4}, {4, 0}, {-4, 4}, {4, -4}})
        EXPECT_EQ(MessageOf([&] { TDIBWriter(&bitmap, pf24bit, size.first, size.second, nullptr); }),
                  "Invalid image dimensions");
    EXPECT_NO_THROW(TDIBWriter(&bitmap, pf24bit, 4, 4, nullptr));

    TDIBWriter writer(&bitmap, pf8bit, 4, 3, nullptr);
    for (int row : {-1, 3}) {
        EXPECT_THROW(writer.GetScanline(row), EInvalidGraphicOperation);
        EXPECT_EQ(MessageOf([&] { writer.GetScanline(row); }), "Scan line index out of range");
    }
    // More than a BMP file in memory can hold: refused before anything is allocated.
    TDIBWriter huge(&bitmap, pf24bit, 0x7FFFFFFF, 0x7FFFFFFF, nullptr);
    EXPECT_THROW(huge.GetScanline(0), EOutOfMemory);
    EXPECT_EQ(MessageOf([&] { huge.GetScanline(0); }), "Failed to allocate memory for GIF DIB");
    TDIBWriter wide(&bitmap, pf8bit, 0x40000000, 2, nullptr);
    EXPECT_EQ(MessageOf([&] { wide.GetScanline(0); }), "Failed to allocate memory for GIF DIB");
    huge.StoreDibInBitmap(); // nothing to store
    EXPECT_TRUE(bitmap.Empty());
}

TEST(DIBReader, ConvertsTheBitmapItselfAndReadsItsRowsTopFirst)
{
    const COLORREF colors[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255)};
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit}) {
        const int bits = BitsOf(format);
        // Black and white in one bit; two more pure colours for the others.
        const int count = bits == 1 ? 2 : 4;
        const auto color = [&](int x, int y) { return colors[(x + 3 * y) % count]; };
        const int width = 11, height = 3;
        TBitmap bitmap;
        Paint24(bitmap, width, height, color);
        TDIBReader reader(&bitmap, format);
        ASSERT_EQ(bitmap.PixelFormat(), format);

        const TDibCopy copy = GetDIBitsOf(bitmap.Handle(), bits);
        const int packed = (width * bits + 7) / 8;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = reader.GetScanline(y);
            EXPECT_EQ(Bytes(row, row + packed), Bytes(copy.Row(y), copy.Row(y) + packed)) << bits << " bits, row " << y;
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(ColorAt(row, x, bits, copy.Table), color(x, y)) << bits << " bits at " << x << "," << y;
        }
    }
}

TEST(FillBitmapInfoHeader, DescribesSectionsAndDeviceBitmapsInTheAskedFormat)
{
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[16];
    } info{{sizeof(BITMAPINFOHEADER), 13, 6, 1, 8, BI_RGB, 0, 3780, 3780, 16, 16}, {}};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit}) {
        BITMAPINFOHEADER header;
        std::memset(&header, 0xCC, sizeof header);
        FillBitmapInfoHeader(section, header, format);
        EXPECT_EQ(header.biSize, sizeof header);
        EXPECT_EQ(header.biWidth, 13);
        EXPECT_EQ(header.biHeight, 6);
        EXPECT_EQ(header.biXPelsPerMeter, 3780); // the section's own header
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biBitCount, BitsOf(format));
        EXPECT_EQ(header.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(header.biSizeImage, DWORD(Stride(13, BitsOf(format)) * 6));
        EXPECT_EQ(header.biClrUsed, 0u); // the section's 16 would not fit a 1-bit table
        EXPECT_EQ(header.biClrImportant, 0u);

        int infoSize = 0, imageSize = 0;
        InternalGetDIBSizes(section, format, infoSize, imageSize);
        EXPECT_EQ(infoSize, 40 + (format == pf24bit ? 0 : 4 << BitsOf(format)));
        EXPECT_EQ(imageSize, int(header.biSizeImage));
    }

    HDC screen = GetDC(nullptr);
    HBITMAP device = CreateCompatibleBitmap(screen, 7, 5);
    ReleaseDC(nullptr, screen);
    BITMAPINFOHEADER header;
    FillBitmapInfoHeader(device, header, pf4bit);
    const BITMAPINFOHEADER expected{sizeof header, 7, 5, 1, 4, BI_RGB, DWORD(Stride(7, 4) * 5), 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&header, &expected, sizeof header), 0);

    for (TPixelFormat format : {pfDevice, pf15bit, pf16bit, pf32bit, pfCustom}) {
        EXPECT_EQ(MessageOf([&] { FillBitmapInfoHeader(section, header, format); }), "Unsupported PixelFormat");
        int infoSize, imageSize;
        EXPECT_EQ(MessageOf([&] { InternalGetDIBSizes(device, format, infoSize, imageSize); }), "Unsupported PixelFormat");
    }
    DeleteObject(device);
    DeleteObject(section);
    EXPECT_THROW(FillBitmapInfoHeader(section, header, pf8bit), GIFException);
    EXPECT_EQ(MessageOf([&] { FillBitmapInfoHeader(section, header, pf8bit); }), "Bitmap image is not valid");
}

TEST(InternalGetDIB, FetchesWhatGetDIBitsSeesInEveryFormat)
{
    TBitmap bitmap;
    Paint24(bitmap, 9, 4, [](int x, int y) { return (x + y) % 3 ? RGB(255, 255, 255) : RGB(0, 0, 0); });
    HDC screen = GetDC(nullptr);
    HBITMAP device = CreateCompatibleBitmap(screen, 9, 4);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, device);
    BitBlt(dc, 0, 0, 9, 4, bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    HPALETTE greys = MakePalette(2, [](int i) { return PALETTEENTRY{BYTE(255 * i), BYTE(255 * i), BYTE(255 * i), 0}; });

    for (HBITMAP source : {bitmap.Handle(), device})
        for (HPALETTE palette : {HPALETTE(nullptr), greys})
            for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit}) {
                int infoSize = 0, imageSize = 0;
                InternalGetDIBSizes(source, format, infoSize, imageSize);
                std::vector<uint8_t> info(infoSize), pixels(imageSize);
                auto* header = reinterpret_cast<BITMAPINFO*>(info.data());
                ASSERT_TRUE(InternalGetDIB(source, palette, header, pixels.data(), format));
                EXPECT_EQ(header->bmiHeader.biBitCount, BitsOf(format));
                ASSERT_GT(header->bmiHeader.biHeight, 0); // both sources keep bottom-up rows

                const int bits = BitsOf(format);
                const TDibCopy copy = GetDIBitsOf(source, bits, true);
                EXPECT_EQ(pixels, copy.Pixels) << bits << " bits";
                const std::vector<RGBQUAD> table(header->bmiColors, header->bmiColors + (bits <= 8 ? 1 << bits : 0));
                for (int y = 0; y < 4; ++y)
                    for (int x = 0; x < 9; ++x)
                        EXPECT_EQ(ColorAt(pixels.data() + Stride(9, bits) * (3 - y), x, bits, table),
                                  (x + y) % 3 ? RGB(255, 255, 255) : RGB(0, 0, 0))
                            << bits << " bits at " << x << "," << y;
            }
    DeleteObject(greys);
    DeleteObject(device);
}

TEST(RaiseSystemError, PassesHandlesAndRaisesTheSystemsTextForNone)
{
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(RaiseSystemError(dc), dc);
    DeleteDC(dc);

    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    std::string text;
    try {
        RaiseSystemError(HBITMAP(nullptr));
    } catch (const EOutOfResources& e) {
        text = e.what();
    }
    char system[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_NOT_ENOUGH_MEMORY,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), system, sizeof system, nullptr);
    ASSERT_NE(system[0], 0);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(std::string(system).rfind(text, 0), 0u) << text; // the system's text without its line break
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_NE(text, "Out of system resources");

    for (DWORD code : {DWORD(0), DWORD(0x20001234)}) { // none, and one the system has no text for
        SetLastError(code);
        EXPECT_EQ(MessageOf([] { RaiseSystemError(HPALETTE(nullptr)); }), "Out of system resources") << code;
    }
}

} // namespace
