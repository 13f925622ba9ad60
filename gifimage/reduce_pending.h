// Stand-ins for the unit's palette, lookup and exception declarations
// until those land; then this file goes and its includers take the real ones.
#pragma once
#include "toolkit/exceptions.h"

#include <cstdint>
#include <memory>
#include <vector>

struct TPaletteEntry {
    uint8_t peRed, peGreen, peBlue, peFlags;
};
enum : uint8_t { PC_NOCOLLAPSE_FLAG = 4 };

class TGIFPalette {
public:
    virtual ~TGIFPalette() = default;
    virtual int EntryCount() const = 0;
    virtual int GetEntries(int Start, int Count, TPaletteEntry* Entries) const = 0;
};

class TEntryPalette : public TGIFPalette {
public:
    explicit TEntryPalette(std::vector<TPaletteEntry> Entries) : Entries(std::move(Entries)) {}
    int EntryCount() const override { return int(Entries.size()); }
    int GetEntries(int Start, int Count, TPaletteEntry* Out) const override
    {
        int n = 0;
        for (; n < Count && Start + n < EntryCount(); ++n) Out[n] = Entries[Start + n];
        return n;
    }
    const std::vector<TPaletteEntry> Entries;
};
using TGIFPaletteRef = std::unique_ptr<TGIFPalette>;

inline TGIFPaletteRef WebPalette()
{
    std::vector<TPaletteEntry> e;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) e.push_back({uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51), 0});
    return std::make_unique<TEntryPalette>(e);
}

class GIFException : public EInvalidGraphic {
public:
    explicit GIFException(std::string message) : EInvalidGraphic(std::move(message)) {}
};
[[noreturn]] inline void RaiseGifError(const std::string& Message) { throw GIFException(Message); }

class TColorLookup {
public:
    virtual ~TColorLookup() = default;
    virtual uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                                uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) = 0;
    int Colors() const { return ColorCount; }

protected:
    int ColorCount = 0;
};

class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(const TGIFPalette* Palette)
    {
        ColorCount = Palette ? Palette->GetEntries(0, 256, Entries) : 0;
    }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override
    {
        int best = 0, bestDistance = 0x30000;
        for (int i = 0; i < ColorCount; ++i) {
            const TPaletteEntry& e = Entries[i];
            int d = std::abs(e.peRed - Red) + std::abs(e.peGreen - Green) + std::abs(e.peBlue - Blue);
            if (d < bestDistance) { best = i; bestDistance = d; }
        }
        OutRed = Entries[best].peRed; OutGreen = Entries[best].peGreen; OutBlue = Entries[best].peBlue;
        return uint8_t(best);
    }

private:
    TPaletteEntry Entries[256]{};
};

class TNetscapeColorLookup : public TColorLookup {
public:
    explicit TNetscapeColorLookup(const TGIFPalette* = nullptr) { ColorCount = 216; }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override
    {
        int r = (Red + 3) / 51, g = (Green + 3) / 51, b = (Blue + 3) / 51;
        OutRed = uint8_t(r * 51); OutGreen = uint8_t(g * 51); OutBlue = uint8_t(b * 51);
        return uint8_t(r * 36 + g * 6 + b);
    }
};

class TGrayScaleLookup : public TColorLookup {
public:
    explicit TGrayScaleLookup(const TGIFPalette* = nullptr) { ColorCount = 256; }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override
    {
        uint8_t grey = uint8_t((Red * 77 + Green * 150 + Blue * 29) >> 8);
        OutRed = OutGreen = OutBlue = grey;
        return grey;
    }
};

class TMonochromeLookup : public TColorLookup {
public:
    explicit TMonochromeLookup(const TGIFPalette* = nullptr) { ColorCount = 2; }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override
    {
        bool white = Red * 77 + Green * 150 + Blue * 29 > 0x7F00;
        OutRed = OutGreen = OutBlue = white ? 255 : 0;
        return white;
    }
};
