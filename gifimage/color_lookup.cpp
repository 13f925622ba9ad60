#include "color_lookup.h"

#include <algorithm>
#include <cstdlib>

namespace {
int Cell(uint8_t Red, uint8_t Green, uint8_t Blue) { return (Blue >> 3) * 1024 + (Green >> 3) * 32 + (Red >> 3); }
int Luminance(uint8_t Red, uint8_t Green, uint8_t Blue) { return Red * 77 + Green * 150 + Blue * 29; }
} // namespace

TFastColorLookup::TFastColorLookup(const TGIFPalette* Palette)
    : TColorLookup(Palette), InverseTable(new int16_t[32768])
{
    ColorCount = Palette ? Palette->GetEntries(0, 256, Entries.data()) : 0;
    std::fill_n(InverseTable.get(), 32768, int16_t(-1));
    // The first entry of a cell owns it.
    for (int i = 0; i < ColorCount; ++i) {
        int16_t& cell = InverseTable[Cell(Entries[i].peRed, Entries[i].peGreen, Entries[i].peBlue)];
        if (cell < 0) cell = int16_t(i);
    }
}

uint8_t TFastColorLookup::FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                                      uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue)
{
    int16_t& cell = InverseTable[Cell(Red, Green, Blue)];
    if (cell < 0) {
        int best = 0, bestDistance = 0x30000;
        for (int i = 0; i < ColorCount; ++i) {
            int d = std::abs(Entries[i].peRed - Red) + std::abs(Entries[i].peGreen - Green) +
                    std::abs(Entries[i].peBlue - Blue);
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        cell = int16_t(best);
    }
    const TPaletteEntry& e = Entries[cell];
    OutRed = e.peRed;
    OutGreen = e.peGreen;
    OutBlue = e.peBlue;
    return uint8_t(cell);
}

uint8_t TNetscapeColorLookup::FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                                          uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue)
{
    const int r = (Red + 3) / 51, g = (Green + 3) / 51, b = (Blue + 3) / 51;
    OutRed = uint8_t(r * 51);
    OutGreen = uint8_t(g * 51);
    OutBlue = uint8_t(b * 51);
    return uint8_t(r * 36 + g * 6 + b);
}

uint8_t TGrayScaleLookup::FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                                      uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue)
{
    const uint8_t grey = uint8_t(Luminance(Red, Green, Blue) >> 8);
    OutRed = OutGreen = OutBlue = grey;
    return grey;
}

uint8_t TMonochromeLookup::FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                                       uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue)
{
    const bool white = Luminance(Red, Green, Blue) > 0x7F00;
    OutRed = OutGreen = OutBlue = white ? 255 : 0;
    return white ? 1 : 0;
}
