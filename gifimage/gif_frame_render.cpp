#include "gifimage/gif_frame_render.h"
#include "gifimage/gif_subimage.h"

#include <algorithm>
#include <cstring>

TFrameRenderer::TFrameRenderer(const TGIFSubImage& Frame, bool Dither, int TransparentIndex)
    : Pixels(Frame.Data()), Width(Frame.GetWidth()), Transparent(TransparentIndex),
      MaskStride((Frame.GetWidth() + 15) / 16 * 2)
{
    if (Transparent >= 0) Mask.assign(size_t(MaskStride) * Frame.GetHeight(), 0);
    if (!Dither) return;
    const TGIFColorMap* map = Frame.GetActiveColorMap();
    std::fill(std::begin(Colors), std::end(Colors), TGIFColor{0, 0, 0});
    std::copy_n(map->Data(), map->Count(), Colors);
    Lookup = std::make_unique<TNetscapeColorLookup>();
    Ditherer = std::make_unique<TFloydSteinbergDitherer>(Width, *Lookup);
    if (Transparent >= 0) {
        const TGIFColor& c = Colors[Transparent];
        uint8_t r, g, b;
        Fill = Lookup->FindNearest(c.Red, c.Green, c.Blue, r, g, b);
    }
}

TFrameRenderer::~TFrameRenderer() = default;

void TFrameRenderer::RenderRow(int Row, uint8_t* Out)
{
    const uint8_t* in = Pixels + size_t(Width) * Row;
    uint8_t* mask = Transparent >= 0 ? Mask.data() + size_t(MaskStride) * Row : nullptr;
    if (!Ditherer) {
        std::memcpy(Out, in, Width);
        if (mask)
            for (int x = 0; x < Width; ++x)
                if (in[x] == Transparent) Mark(mask, x);
        return;
    }
    if (mask) std::memset(Out, Fill, Width);
    // Serpentine: the ditherer says where each row starts and which way it goes.
    uint8_t r, g, b;
    for (int x = Ditherer->Column(); x >= 0 && x < Width; x = Ditherer->Column()) {
        if (in[x] == Transparent) {
            Mark(mask, x);
            Ditherer->SkipColumn(); // no error taken or passed on
            continue;
        }
        const TGIFColor& c = Colors[in[x]];
        Out[x] = Ditherer->DitherPixel(c.Red, c.Green, c.Blue, r, g, b);
    }
    Ditherer->BeginRow();
}
