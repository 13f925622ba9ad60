// The GDI side of the GIF unit: palette handles.
#include "gifimage/gif_image.h"
#include "gifimage/palette_win32.h"

#include <gtest/gtest.h>

namespace {

TEST(HandlePalette, RoundTripsThroughGdi)
{
    TEntryPalette entries({{1, 2, 3, PC_NOCOLLAPSE_FLAG}, {250, 128, 0, PC_NOCOLLAPSE_FLAG}, {9, 9, 9, 0}});
    HPALETTE handle = CreatePaletteHandle(entries);
    ASSERT_NE(handle, nullptr);
    THandlePalette palette(handle, true);
    ASSERT_EQ(palette.EntryCount(), 3);
    TPaletteEntry back[4] = {};
    ASSERT_EQ(palette.GetEntries(1, 4, back), 2);
    EXPECT_EQ(back[0].peRed, 250);
    EXPECT_EQ(back[0].peGreen, 128);
    EXPECT_EQ(back[0].peFlags, PC_NOCOLLAPSE_FLAG);
    EXPECT_EQ(back[1].peBlue, 9);

    EXPECT_EQ(CreatePaletteHandle(TEntryPalette({})), nullptr);
    auto web = WebPalette();
    THandlePalette gdiWeb(CreatePaletteHandle(*web), true);
    EXPECT_EQ(gdiWeb.EntryCount(), 216);
}

} // namespace

namespace {

TEST(DIBColors, ComeInSwappedFromTheSelectedSection)
{
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[3];
    } info = {};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = 4;
    info.Header.biHeight = 4;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = 8;
    info.Header.biClrUsed = 3;
    info.Colors[0] = {10, 20, 30, 0}; // blue, green, red
    info.Colors[2] = {200, 100, 50, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);

    TGIFImage image;
    ImportDIBColors(image.GetColorMap(), dc);
    ASSERT_GE(image.GetColorMap()->Count(), 3); // Wine reports the whole 256-entry table
    EXPECT_EQ(image.GetColorMap()->GetColor(0), TGIFColorMap::RGB2Color({30, 20, 10}));
    EXPECT_EQ(image.GetColorMap()->GetColor(2), TGIFColorMap::RGB2Color({50, 100, 200}));

    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

} // namespace
