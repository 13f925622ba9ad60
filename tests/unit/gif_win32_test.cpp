// The GDI side of the GIF unit: palette handles.
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
