#include "palette.h"

#include <algorithm>

int TEntryPalette::GetEntries(int Start, int Count, TPaletteEntry* Out) const
{
    if (Start < 0 || Count <= 0 || Start >= EntryCount()) return 0;
    const int n = std::min(Count, EntryCount() - Start);
    std::copy_n(Entries.begin() + Start, n, Out);
    return n;
}

TGIFPaletteRef WebPalette()
{
    std::vector<TPaletteEntry> entries;
    entries.reserve(216);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                entries.push_back({uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51), 0});
    return std::make_unique<TEntryPalette>(std::move(entries));
}
