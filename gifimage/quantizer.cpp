#include "gifimage/quantizer.h"

void CheckColorCount(int Colors)
{
    if (Colors < 1 || Colors > 256) throw GIFException(ColorTexts::InvalidColorCount);
}

TOctreeNode::TOctreeNode(int Level, int ColorBits, int& LeafCount, TReducibleNodes& Reducible)
{
    if (Level == ColorBits) {
        Leaf = true;
        ++LeafCount;
    } else {
        Next = Reducible[Level];
        Reducible[Level] = this;
    }
}

TColorQuantizer::TColorQuantizer(int MaxColors, int ColorBits) : FMaxColors(MaxColors), FColorBits(ColorBits)
{
    CheckColorCount(MaxColors);
    if (ColorBits < 1 || ColorBits > 8) throw GIFException(ColorTexts::InvalidColorBits);
}

bool TColorQuantizer::AddBitmapColours(const TPixelRows& Pixels)
{
    for (int y = 0; y < Pixels.Height; ++y) {
        const uint8_t* p = Pixels.Row(y);
        for (int x = 0; x < Pixels.Width; ++x, p += 3) {
            InsertColor(p[2], p[1], p[0]);
            while (FLeafCount > FMaxColors && MergeDeepestNode()) {}
        }
    }
    return true;
}

void TColorQuantizer::InsertColor(uint8_t Red, uint8_t Green, uint8_t Blue)
{
    std::unique_ptr<TOctreeNode>* node = &FRoot;
    for (int level = 0;; ++level) {
        if (!*node) *node = std::make_unique<TOctreeNode>(level, FColorBits, FLeafCount, FReducible);
        TOctreeNode& n = **node;
        if (n.Leaf) {
            ++n.PixelCount;
            n.RedSum += Red;
            n.GreenSum += Green;
            n.BlueSum += Blue;
            return;
        }
        const int shift = 7 - level;
        const int child = ((Red >> shift) & 1) << 2 | ((Green >> shift) & 1) << 1 | ((Blue >> shift) & 1);
        node = &n.Child[child];
    }
}

// Folds the most recently made node of the deepest reducible level into one
// leaf, so the finest distinctions go first.
bool TColorQuantizer::MergeDeepestNode()
{
    int level = FColorBits - 1;
    while (level > 0 && !FReducible[level]) --level;
    TOctreeNode* node = FReducible[level];
    if (!node) return false;
    FReducible[level] = node->Next;
    int children = 0;
    for (auto& child : node->Child) {
        if (!child) continue;
        node->PixelCount += child->PixelCount;
        node->RedSum += child->RedSum;
        node->GreenSum += child->GreenSum;
        node->BlueSum += child->BlueSum;
        child.reset();
        ++children;
    }
    node->Leaf = true;
    FLeafCount -= children - 1;
    return true;
}

namespace {

void GatherLeafColors(const TOctreeNode& Node, TRGBQuad (&Table)[256], int& Count)
{
    if (Node.Leaf) {
        TRGBQuad& q = Table[Count++];
        const uint64_t n = Node.PixelCount;
        q.Red = n ? uint8_t(Node.RedSum / n) : 0;
        q.Green = n ? uint8_t(Node.GreenSum / n) : 0;
        q.Blue = n ? uint8_t(Node.BlueSum / n) : 0;
        q.Reserved = 0;
        return;
    }
    for (const auto& child : Node.Child)
        if (child) GatherLeafColors(*child, Table, Count);
}

} // namespace

int TColorQuantizer::FillColorTable(TRGBQuad (&Table)[256]) const
{
    int count = 0;
    if (FRoot) GatherLeafColors(*FRoot, Table, count);
    return count;
}
