#include "gifimage/reduce.h"

namespace {

TGIFPaletteRef GreyPalette(std::initializer_list<int> Levels)
{
    std::vector<TPaletteEntry> entries;
    for (int level : Levels) {
        const auto v = uint8_t(level);
        entries.push_back({v, v, v, PC_NOCOLLAPSE_FLAG});
    }
    return std::make_unique<TEntryPalette>(std::move(entries));
}

TGIFPaletteRef GreyPalette256()
{
    std::vector<TPaletteEntry> entries(256);
    for (int i = 0; i < 256; ++i) entries[i] = {uint8_t(i), uint8_t(i), uint8_t(i), PC_NOCOLLAPSE_FLAG};
    return std::make_unique<TEntryPalette>(std::move(entries));
}

} // namespace

TGIFPaletteRef FixedPalette(TColorReduction Reduction)
{
    switch (Reduction) {
    case rmWindowsGray: return GreyPalette({0, 128, 192, 255});
    case rmMonochrome: return GreyPalette({0, 255});
    case rmGrayScale: return GreyPalette256();
    case rmNetscape: return WebPalette();
    default: return nullptr;
    }
}

std::vector<TPaletteEntry> PaletteFromQuantizer(const std::vector<TPixelRows>& Pictures, int Colors,
                                                int ColorBits, const TGIFPalette* SystemColors)
{
    CheckColorCount(Colors);
    enum { StaticHalf = 10 };
    int first = 0;
    if (SystemColors) {
        Colors = 256;
        first = StaticHalf;
    }
    TColorQuantizer quantizer(Colors - 2 * first, ColorBits);
    for (const TPixelRows& picture : Pictures) quantizer.AddBitmapColours(picture);

    TRGBQuad table[256];
    const int found = quantizer.FillColorTable(table);
    std::vector<TPaletteEntry> palette(Colors, TPaletteEntry{0, 0, 0, 0});
    for (int i = 0; i < found; ++i) palette[first + i] = {table[i].Red, table[i].Green, table[i].Blue, 0};
    if (SystemColors) {
        TPaletteEntry system[2 * StaticHalf]{};
        SystemColors->GetEntries(0, 2 * StaticHalf, system);
        std::copy(system, system + StaticHalf, palette.begin());
        std::copy(system + StaticHalf, system + 2 * StaticHalf, palette.end() - StaticHalf);
    }
    return palette;
}

std::unique_ptr<TColorLookup> CreateLookup(TColorReduction Reduction, const TGIFPalette& Palette)
{
    switch (Reduction) {
    case rmMonochrome: return std::make_unique<TMonochromeLookup>(&Palette);
    case rmGrayScale: return std::make_unique<TGrayScaleLookup>(&Palette);
    case rmNetscape: return std::make_unique<TNetscapeColorLookup>(&Palette);
    default: return std::make_unique<TFastColorLookup>(&Palette);
    }
}

void ReducePixels(const TPixelRows& Source, const TGIFPalette& Palette, TColorReduction Reduction,
                  TDitherMode Mode, uint8_t* Indices, std::ptrdiff_t IndexStride)
{
    const auto lookup = CreateLookup(Reduction, Palette);
    if (lookup->Colors() == 0) throw GIFException(ColorTexts::InvalidReduction);
    const auto engine = CreateDitherEngine(Mode, Source.Width, *lookup);
    uint8_t r, g, b;
    for (int y = 0; y < Source.Height; ++y) {
        const uint8_t* row = Source.Row(y);
        uint8_t* out = Indices + IndexStride * y;
        for (int x = engine->Column(); x >= 0 && x < Source.Width; x = engine->Column()) {
            const uint8_t* p = row + 3 * x;
            out[x] = engine->DitherPixel(p[2], p[1], p[0], r, g, b);
        }
        engine->BeginRow();
    }
}
