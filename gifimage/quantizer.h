// Octree colour quantizer: picks up to a given number of colours that
// represent a picture. The tree is pruned while it is built, after every
// pixel, so its size stays bounded by the colour limit, not by the picture.
#pragma once
#include "gifimage/gif_types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace ColorTexts {
inline constexpr const char* InvalidColorCount = "Invalid color count";
inline constexpr const char* InvalidColorBits = "Invalid color depth";
inline constexpr const char* InvalidReduction = "Invalid reduction method";
inline constexpr const char* InvalidBitmapList = "Invalid bitmap list";
} // namespace ColorTexts

// A palette holds 1 to 256 colours; raises GIFException for any other count.
void CheckColorCount(int Colors);

// Rows of 24-bit pixels (bytes blue, green, red), row 0 at the top. Stride
// is the distance from one row to the next; it is negative for bottom-up
// bitmaps.
struct TPixelRows {
    const uint8_t* Top;
    std::ptrdiff_t Stride;
    int Width;
    int Height;
    const uint8_t* Row(int y) const { return Top + Stride * y; }
};

// A colour-table entry in RGBQUAD order.
struct TRGBQuad {
    uint8_t Blue, Green, Red, Reserved;
};

class TOctreeNode;
using TReducibleNodes = std::array<TOctreeNode*, 8>; // heads, one list per level

class TOctreeNode {
public:
    TOctreeNode(int Level, int ColorBits, int& LeafCount, TReducibleNodes& Reducible);

    bool Leaf = false;
    // 64 bits: a large flat picture puts all its pixels into one leaf.
    uint64_t PixelCount = 0, RedSum = 0, GreenSum = 0, BlueSum = 0;
    TOctreeNode* Next = nullptr;  // next reducible node of the same level
    std::unique_ptr<TOctreeNode> Child[8];  // index = red bit * 4 + green bit * 2 + blue bit
};

class TColorQuantizer {
public:
    TColorQuantizer(int MaxColors, int ColorBits);

    // Feeds every pixel of the rows into the tree.
    bool AddBitmapColours(const TPixelRows& Pixels);
    // The chosen colours in tree order; returns their number (at most MaxColors).
    int FillColorTable(TRGBQuad (&Table)[256]) const;
    int LeafCount() const { return FLeafCount; }

private:
    void InsertColor(uint8_t Red, uint8_t Green, uint8_t Blue);
    bool MergeDeepestNode();

    std::unique_ptr<TOctreeNode> FRoot;
    int FLeafCount = 0;
    TReducibleNodes FReducible{};
    int FMaxColors;
    int FColorBits;
};
