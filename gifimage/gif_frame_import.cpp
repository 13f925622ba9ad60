#include "gifimage/gif_frame_import.h"
#include "gifimage/gif_image.h"
#include "gifimage/gif_subimage.h"

#include <cstring>

void UnpackRow(const uint8_t* Row, int Bits, int Width, uint8_t* Out)
{
    if (Bits == 8) {
        std::memcpy(Out, Row, Width);
        return;
    }
    const int perByte = 8 / Bits;
    const uint8_t mask = uint8_t((1 << Bits) - 1);
    for (int x = 0; x < Width; ++x) {
        const int shift = 8 - Bits * (x % perByte + 1);
        Out[x] = uint8_t(Row[x / perByte] >> shift) & mask;
    }
}

TTrueColorImport::TTrueColorImport(TGIFColorMap& Map) : Map(Map)
{
    for (Slot& slot : Cache) slot = {0, -1};
}

void TTrueColorImport::ImportRow(const uint8_t* Row, int Width, uint8_t* Out)
{
    for (int x = 0; x < Width; ++x, Row += 3) {
        const uint32_t key = Row[0] | uint32_t(Row[1]) << 8 | uint32_t(Row[2]) << 16;
        int found = -1;
        int slot = LastHit;
        do {
            if (Cache[slot].Index < 0) break;
            if (Cache[slot].Key == key) {
                found = Cache[slot].Index;
                LastHit = slot;
                break;
            }
            slot = (slot + 7) % 8;
        } while (slot != LastHit);
        if (found < 0) {
            found = Map.AddUnique(TGIFColorMap::RGB2Color({Row[2], Row[1], Row[0]}));
            LastHit = (LastHit + 1) % 8;
            Cache[LastHit] = {key, found};
        }
        Out[x] = uint8_t(found);
    }
}

void TGIFSubImage::MakeTransparent(const uint8_t* Marks)
{
    ColorMap->Optimize();
    // Without a colour, or without room for one, there is no transparency.
    if (ColorMap->Count() == 0 || ColorMap->Count() == 256) return;
    const int index = ColorMap->Add(0);
    bool marked = false;
    for (int32_t i = 0; i < FDataSize; ++i)
        if (Marks[i]) {
            FData[i] = uint8_t(index);
            marked = true;
        }
    if (!marked) {
        ColorMap->Delete(index);
        return;
    }
    SetTransparentIndex(index);
    FreeBitmap();
}
