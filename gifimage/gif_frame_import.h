// Pixels of the toolkit's bitmaps into a frame's bytes: palette rows
// unpacked, true-colour rows turned into indices of a colour map built as
// they come. The platform part (gif_subimage_import_win32.cpp) reads the
// bitmaps.
#pragma once
#include "gifimage/gif_colormap.h"

#include <cstdint>

// A row of Width pixels of 1, 4 or 8 bits each, the first pixel in the
// highest bits, as one index per byte.
void UnpackRow(const uint8_t* Row, int Bits, int Width, uint8_t* Out);

// Rows of 24-bit pixels (bytes blue, green, red) as indices of Map, which
// gains each colour the first time it is seen; a 257th colour raises
// "Color table overflow". The last eight colours are kept, most recent
// first, so that runs of one colour cost one comparison.
class TTrueColorImport {
public:
    explicit TTrueColorImport(TGIFColorMap& Map);
    void ImportRow(const uint8_t* Row, int Width, uint8_t* Out);

private:
    TGIFColorMap& Map;
    struct Slot {
        uint32_t Key;
        int Index; // -1: empty
    } Cache[8];
    int LastHit = 0;
};
