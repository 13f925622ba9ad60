// Logical palettes as the portable code sees them. The core reads a
// palette only through TGIFPalette; the Windows side implements it over
// an HPALETTE, and TEntryPalette holds plain entries (what the core makes
// itself, and what the native build uses throughout).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

// Same layout as the platform's PALETTEENTRY.
struct TPaletteEntry {
    uint8_t peRed, peGreen, peBlue, peFlags;
};
static_assert(sizeof(TPaletteEntry) == 4, "palette entries are exchanged with GDI as they are");

enum : uint8_t { PC_NOCOLLAPSE_FLAG = 4 };

class TGIFPalette {
public:
    virtual ~TGIFPalette() = default;
    virtual int EntryCount() const = 0;
    // Copies up to Count entries from Start; answers how many were copied.
    virtual int GetEntries(int Start, int Count, TPaletteEntry* Entries) const = 0;
};

class TEntryPalette : public TGIFPalette {
public:
    explicit TEntryPalette(std::vector<TPaletteEntry> Entries) : Entries(std::move(Entries)) {}
    int EntryCount() const override { return static_cast<int>(Entries.size()); }
    int GetEntries(int Start, int Count, TPaletteEntry* Out) const override;
    const std::vector<TPaletteEntry> Entries;
};

using TGIFPaletteRef = std::unique_ptr<TGIFPalette>;

// The 216-colour web palette: entry r*36 + g*6 + b has channels r, g, b times 51.
TGIFPaletteRef WebPalette();
