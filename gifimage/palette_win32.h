// The Windows side of the palette interface: a TGIFPalette over a GDI
// palette handle, and the conversion the other way.
#pragma once
#include "palette.h"

#include <windows.h>

class THandlePalette : public TGIFPalette {
public:
    // Owned handles are deleted with the object.
    THandlePalette(HPALETTE Handle, bool Owned) : Handle(Handle), Owned(Owned) {}
    ~THandlePalette() override;
    THandlePalette(const THandlePalette&) = delete;
    THandlePalette& operator=(const THandlePalette&) = delete;
    int EntryCount() const override;
    int GetEntries(int Start, int Count, TPaletteEntry* Entries) const override;
    const HPALETTE Handle;

private:
    const bool Owned;
};

// A new logical palette (version 0x300) with the entries of Palette, flags
// as they are; 0 for a palette without entries. The caller owns it; one
// that GDI cannot make raises through RaiseSystemError.
HPALETTE CreatePaletteHandle(const TGIFPalette& Palette);

// The handle of a kept palette, which becomes a GDI palette first when it
// is not one; none for none. The handle stays Kept's.
HPALETTE HandleOf(TGIFPaletteRef& Kept);

class TGIFColorMap;
// The colour table of the DIB section selected into DC, into Map.
void ImportDIBColors(TGIFColorMap* Map, HDC DC);
