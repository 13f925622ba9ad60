// Colour lookups: map an RGB colour to an index of a target palette and
// answer the colour of that entry. The ditherers and the colour reduction
// call FindNearest once per pixel.
#pragma once
#include "palette.h"
#include "toolkit/persistent.h"

#include <array>
#include <cstdint>
#include <memory>

class TColorLookup : public TObject {
public:
    CLASS_NAME(TColorLookup)
    explicit TColorLookup(const TGIFPalette* Palette) {}
    virtual uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                                uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) = 0;
    int Colors() const { return ColorCount; }

protected:
    int ColorCount = 0;
};

// Any palette of up to 256 entries. Nearest by the sum of absolute channel
// differences, cached per cell of 5 bits per channel: all colours of a
// cell share the answer found for the first of them.
class TFastColorLookup : public TColorLookup {
public:
    CLASS_NAME(TFastColorLookup)
    explicit TFastColorLookup(const TGIFPalette* Palette);
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override;

private:
    std::array<TPaletteEntry, 256> Entries{};
    std::unique_ptr<int16_t[]> InverseTable; // 32768 cells, -1 = not yet known
};

// The web palette that WebPalette() makes: computed, no search.
class TNetscapeColorLookup : public TColorLookup {
public:
    CLASS_NAME(TNetscapeColorLookup)
    explicit TNetscapeColorLookup(const TGIFPalette* Palette = nullptr) : TColorLookup(Palette) { ColorCount = 216; }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override;
};

// 256 grey levels, index = luminance.
class TGrayScaleLookup : public TColorLookup {
public:
    CLASS_NAME(TGrayScaleLookup)
    explicit TGrayScaleLookup(const TGIFPalette* Palette = nullptr) : TColorLookup(Palette) { ColorCount = 256; }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override;
};

// Black (0) or white (1) by luminance.
class TMonochromeLookup : public TColorLookup {
public:
    CLASS_NAME(TMonochromeLookup)
    explicit TMonochromeLookup(const TGIFPalette* Palette = nullptr) : TColorLookup(Palette) { ColorCount = 2; }
    uint8_t FindNearest(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& OutRed, uint8_t& OutGreen, uint8_t& OutBlue) override;
};
