#include "palette_win32.h"
#include "gif_colormap.h"
#include "system_error_win32.h"

#include <vector>

THandlePalette::~THandlePalette()
{
    if (Owned && Handle) DeleteObject(Handle);
}

int THandlePalette::EntryCount() const
{
    WORD count = 0;
    return Handle && GetObjectA(Handle, sizeof count, &count) ? count : 0;
}

int THandlePalette::GetEntries(int Start, int Count, TPaletteEntry* Entries) const
{
    if (!Handle || Start < 0 || Count <= 0) return 0;
    return static_cast<int>(
        GetPaletteEntries(Handle, Start, Count, reinterpret_cast<PALETTEENTRY*>(Entries)));
}

HPALETTE CreatePaletteHandle(const TGIFPalette& Palette)
{
    const int count = Palette.EntryCount();
    if (count <= 0) return nullptr;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = WORD(Palette.GetEntries(0, count, reinterpret_cast<TPaletteEntry*>(log->palPalEntry)));
    return RaiseSystemError(CreatePalette(log));
}

HPALETTE HandleOf(TGIFPaletteRef& Kept)
{
    if (!Kept) return nullptr;
    if (!dynamic_cast<THandlePalette*>(Kept.get()))
        Kept = std::make_unique<THandlePalette>(CreatePaletteHandle(*Kept), true);
    return static_cast<THandlePalette&>(*Kept).Handle;
}

void ImportDIBColors(TGIFColorMap* Map, HDC DC)
{
    RGBQUAD table[256];
    const UINT count = GetDIBColorTable(DC, 0, 256, table);
    Map->ImportColorTable(table, int(count));
}
