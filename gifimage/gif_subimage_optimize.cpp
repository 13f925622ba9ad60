// The two steps of an image's optimization that work frame by frame:
// cutting away transparent borders, and turning into transparency what
// the frame before already shows.
#include "gif_image.h"
#include "gif_subimage.h"

#include <algorithm>
#include <cstring>

void TGIFSubImage::Crop()
{
    const int transparent = TransparentIndex();
    if (GetEmpty() || transparent < 0) return;
    const int width = GetWidth(), height = GetHeight();

    // The columns and rows that hold anything but the transparent index.
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = FData.get() + size_t(width) * y;
        int first = 0;
        while (first < width && row[first] == transparent) ++first;
        if (first == width) continue;
        int last = width - 1;
        while (row[last] == transparent) --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < left) {
        Clear();
        return;
    }
    // The descriptor places a frame within 16 bits: one that reaches beyond
    // them keeps the border it cannot move its corner across.
    left = std::min(left, 0xFFFF - GetLeft());
    top = std::min(top, 0xFFFF - GetTop());

    const int newWidth = right - left + 1, newHeight = bottom - top + 1;
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[size_t(newWidth) * newHeight]);
    for (int y = 0; y < newHeight; ++y)
        std::memcpy(pixels.get() + size_t(newWidth) * y, FData.get() + size_t(width) * (top + y) + left, newWidth);
    ReplaceImage(std::move(pixels), newWidth * newHeight);
    // The logical screen is not touched: the frame only shrinks within it.
    ImageDescriptor.Left = uint16_t(GetLeft() + left);
    ImageDescriptor.Top = uint16_t(GetTop() + top);
    ImageDescriptor.Width = uint16_t(newWidth);
    ImageDescriptor.Height = uint16_t(newHeight);
    FreeBitmap();
}

namespace {

bool SameColor(const TGIFColorMap* MapA, int A, const TGIFColorMap* MapB, int B)
{
    if (MapA == MapB && A == B) return true;
    // Indices beyond a map have no colour to compare.
    if (A >= MapA->Count() || B >= MapB->Count()) return false;
    const TGIFColor& a = MapA->Data()[A];
    const TGIFColor& b = MapB->Data()[B];
    return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

bool HasRoom(const TGIFColorMap* Map) { return Map->Count() >= 1 && Map->Count() <= 255; }

} // namespace

void TGIFSubImage::Merge(TGIFSubImage* Previous)
{
    if (GetEmpty() || !Previous || Previous->GetEmpty()) return;
    if (const TGIFGraphicControlExtension* gce = Previous->GraphicControlExtension) {
        // The previous frame does not stay on the screen to show through.
        if (gce->GetDisposal() == dmBackground || gce->GetDisposal() == dmPrevious) return;
    }
    const TGIFRect a = GetBoundsRect(), b = Previous->GetBoundsRect();
    const TGIFRect both = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                           std::min(a.Bottom, b.Bottom)};
    if (both.Left >= both.Right || both.Top >= both.Bottom) return;

    int transparent = TransparentIndex();
    const bool newIndex = transparent < 0;
    // A frame that is not transparent yet needs room for one more colour.
    TGIFColorMap* global = Image()->GetColorMap();
    if (newIndex && !(ColorMap->Count() > 0 ? HasRoom(ColorMap.get()) : HasRoom(global))) return;

    // The new transparent index, taken when the first pixel matches: black
    // appended to the frame's map, or the index that another frame on the
    // global map is transparent at. It must be one that no pixel of the
    // frame holds already, or those pixels would turn transparent too; -1
    // leaves the frames unmerged.
    auto takeIndex = [&]() -> int {
        TGIFColorMap* grows = ColorMap->Count() > 0 ? ColorMap.get() : global;
        int index = grows->Count();
        if (grows == global) {
            const TGIFImageList* frames = Image()->Images();
            for (int i = 0; i < frames->GetCount(); ++i) {
                const TGIFSubImage* lender = frames->GetImage(i);
                if (lender == this || lender->ColorMap->Count() > 0 || lender->TransparentIndex() < 0) continue;
                index = lender->TransparentIndex();
                if (index >= global->Count()) return -1;
                grows = nullptr;
                break;
            }
        }
        if (std::find(FData.get(), FData.get() + FDataSize, index) != FData.get() + FDataSize) return -1;
        if (grows) grows->Add(0);
        return index;
    };

    const TGIFColorMap* map = GetActiveColorMap();
    const TGIFColorMap* previousMap = Previous->GetActiveColorMap();
    const int previousTransparent = Previous->TransparentIndex();
    bool changed = false;
    for (int y = both.Top; y < both.Bottom; ++y) {
        uint8_t* row = FData.get() + size_t(GetWidth()) * (y - a.Top);
        const uint8_t* under = Previous->FData.get() + size_t(Previous->GetWidth()) * (y - b.Top);
        for (int x = both.Left; x < both.Right; ++x) {
            uint8_t& pixel = row[x - a.Left];
            const uint8_t shown = under[x - b.Left];
            if (pixel == transparent || shown == previousTransparent) continue;
            if (!SameColor(map, pixel, previousMap, shown)) continue;
            if (transparent < 0) {
                transparent = takeIndex();
                if (transparent < 0) return;
            }
            pixel = uint8_t(transparent);
            changed = true;
        }
    }
    if (newIndex && changed) SetTransparentIndex(transparent);
    FreeBitmap();
}
