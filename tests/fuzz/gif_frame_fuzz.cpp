// Fuzzes the frame work on whatever the reader loads: the rows and mask a
// frame renders from, merging each frame with the one before, and cropping.
// Merging must not change what the two frames show together, cropping must
// keep every pixel that is not transparent where it was, and the mask must
// mark the transparent index and nothing else.
#include "fuzz_input.h"
#include "gifimage/gif_frame_render.h"
#include "gifimage/gif_image.h"
#include "gifimage/gif_subimage.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Frames are rendered twice and compared whole: small images only, so
// that every input takes well under a second under the sanitizers.
const int64_t MaxPixels = int64_t(1) << 18;
const int MaxFrames = 64;

void Check(bool Condition)
{
    if (!Condition) __builtin_trap();
}

void CheckRows(const TGIFSubImage& Frame)
{
    const int transparent = Frame.TransparentIndex();
    const int width = Frame.GetWidth(), height = Frame.GetHeight();
    TFrameRenderer plain(Frame, false, transparent);
    TFrameRenderer dithered(Frame, true, transparent);
    std::vector<uint8_t> row(width);
    bool any = false;
    for (int y = 0; y < height; ++y) {
        plain.RenderRow(y, row.data());
        Check(std::memcmp(row.data(), Frame.Data() + size_t(width) * y, width) == 0);
        dithered.RenderRow(y, row.data());
        for (int x = 0; x < width && transparent >= 0; ++x) {
            const bool marked = plain.MaskBits()[size_t(plain.MaskRowBytes()) * y + x / 8] & (0x80 >> x % 8);
            Check(marked == (Frame.Data()[size_t(width) * y + x] == transparent));
            any |= marked;
        }
    }
    Check(plain.MaskUsed() == any && dithered.MaskUsed() == any);
    if (any) Check(std::memcmp(plain.MaskBits(), dithered.MaskBits(), size_t(plain.MaskRowBytes()) * height) == 0);
}

// What shows at a point of the screen of Frame over Previous: a colour
// (black for an index beyond the colour map, as frames render it), or what
// lies beneath both.
uint32_t Shown(const TGIFSubImage& Frame, const TGIFSubImage& Previous, int X, int Y)
{
    const uint32_t beneath = 1u << 24;
    auto token = [](const TGIFSubImage& F, int Index) -> uint32_t {
        const TGIFColorMap* map = F.GetActiveColorMap();
        if (Index >= map->Count()) return 0;
        const TGIFColor& c = map->Data()[Index];
        return uint32_t(c.Red) << 16 | c.Green << 8 | c.Blue;
    };
    const int own = Frame.Data()[size_t(Frame.GetWidth()) * (Y - Frame.GetTop()) + X - Frame.GetLeft()];
    if (own != Frame.TransparentIndex()) return token(Frame, own);
    const TGIFRect p = Previous.GetBoundsRect();
    if (X < p.Left || X >= p.Right || Y < p.Top || Y >= p.Bottom) return beneath;
    const int under = Previous.Data()[size_t(Previous.GetWidth()) * (Y - p.Top) + X - p.Left];
    return under == Previous.TransparentIndex() ? beneath : token(Previous, under);
}

void CheckMerge(TGIFSubImage& Frame, TGIFSubImage& Previous)
{
    const TGIFRect r = Frame.GetBoundsRect();
    std::vector<uint32_t> before;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) before.push_back(Shown(Frame, Previous, x, y));
    Frame.Merge(&Previous);
    size_t i = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) Check(Shown(Frame, Previous, x, y) == before[i++]);
}

void CheckCrop(TGIFSubImage& Frame)
{
    const int transparent = Frame.TransparentIndex();
    const TGIFRect r = Frame.GetBoundsRect();
    const std::vector<uint8_t> pixels(Frame.Data(), Frame.Data() + Frame.DataSize());
    Frame.Crop();
    if (transparent < 0) {
        Check(Frame.GetBoundsRect() == r);
        return;
    }
    const TGIFRect c = Frame.GetBoundsRect();
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const uint8_t p = pixels[size_t(r.Right - r.Left) * (y - r.Top) + x - r.Left];
            if (p == transparent) continue;
            Check(x >= c.Left && x < c.Right && y >= c.Top && y < c.Bottom);
            Check(Frame.GetPixel(x - c.Left, y - c.Top) == p);
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TGIFImage image;
    if (!LoadInput(image, Data, Size)) return 0;
    TGIFImageList* frames = image.Images();
    if (image.PixelCount() > MaxPixels || frames->GetCount() > MaxFrames) return 0;
    for (int i = 0; i < frames->GetCount(); ++i)
        if (!frames->GetImage(i)->GetEmpty()) CheckRows(*frames->GetImage(i));
    // As the image's optimizing does: merge from the last frame back, then crop.
    for (int i = frames->GetCount() - 1; i > 0; --i) {
        TGIFSubImage* frame = frames->GetImage(i);
        TGIFSubImage* previous = frames->GetImage(i - 1);
        if (!frame->GetEmpty() && !previous->GetEmpty()) CheckMerge(*frame, *previous);
    }
    for (int i = 0; i < frames->GetCount(); ++i)
        if (!frames->GetImage(i)->GetEmpty()) CheckCrop(*frames->GetImage(i));
    return 0;
}
