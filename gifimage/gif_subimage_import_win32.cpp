// Frames from the toolkit's graphics: bitmaps of every pixel format (reduced
// to 256 colours first when they have more), icons with their masks,
// metafiles with what they leave uncovered as transparency, pictures, and
// anything else that can be drawn. And a frame given to a bitmap.
#include "gif_frame_import.h"
#include "gif_image.h"
#include "gif_rendering_win32.h"
#include "gif_util.h"
#include "dib_win32.h"
#include "palette_win32.h"
#include "reduce_win32.h"
#include "toolkit/metafile.h"
#include "toolkit/picture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Height x width of the graphic, drawn at (0, 0) on white, in 24 bits.
void DrawOn(TBitmap& Bitmap, TGraphic* Graphic, TColor Background = clWhite)
{
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Graphic->Width(), Graphic->Height());
    Bitmap.Canvas()->Brush()->SetColor(Background);
    Bitmap.Canvas()->FillRect({0, 0, Graphic->Width(), Graphic->Height()});
    Bitmap.Canvas()->Draw(0, 0, Graphic);
}

// What a metafile leaves uncovered: drawn on white and on black, the two
// differ exactly there, so their exclusive-or is black where it draws.
std::unique_ptr<TBitmap> UncoveredMask(TMetafile* Metafile)
{
    auto white = std::make_unique<TBitmap>();
    TBitmap black;
    DrawOn(*white, Metafile, clWhite);
    DrawOn(black, Metafile, clBlack);
    BitBlt(white->Canvas()->Handle(), 0, 0, white->Width(), white->Height(), black.Canvas()->Handle(), 0, 0, SRCINVERT);
    return white;
}

} // namespace

bool TGIFSubImage::AssignGraphic(TPersistent* Source)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        AssignBitmap(bitmap);
        return true;
    }
    if (auto* picture = dynamic_cast<TPicture*>(Source)) {
        Assign(picture->Graphic());
        return true;
    }
    auto* graphic = dynamic_cast<TGraphic*>(Source);
    if (!graphic) return false;
    Clear();
    if (graphic->Empty()) return true;

    auto* icon = dynamic_cast<TIcon*>(graphic);
    auto* metafile = dynamic_cast<TMetafile*>(graphic);
    TBitmap bitmap;
    if (icon || metafile) {
        try {
            DrawOn(bitmap, graphic);
        } catch (const Exception&) {
            bitmap.Assign(graphic);
        }
    } else {
        try {
            bitmap.Assign(graphic);
        } catch (const Exception&) {
            DrawOn(bitmap, graphic);
        }
    }
    AssignBitmap(&bitmap);

    if (icon) {
        ICONINFO info{};
        if (GetIconInfo(icon->Handle(), &info)) {
            // The icon's AND mask: 1 where the screen shows through.
            try {
                MaskFromBitmap(info.hbmMask);
            } catch (...) {
                DeleteObject(info.hbmMask);
                if (info.hbmColor) DeleteObject(info.hbmColor);
                throw;
            }
            DeleteObject(info.hbmMask);
            if (info.hbmColor) DeleteObject(info.hbmColor);
        }
    } else if (metafile) {
        MaskFromBitmap(UncoveredMask(metafile)->Handle());
    }
    return true;
}

void TGIFSubImage::AssignBitmap(TBitmap* Source)
{
    Clear();
    if (Source->Empty()) return;
    SetBounds(3, Source->Width());
    SetBounds(4, Source->Height());

    // The picture the frame is made from stays as its rendering.
    auto rendering = std::make_shared<TFrameBitmap>();
    const TPixelFormat sourceFormat = Source->PixelFormat();
    if (sourceFormat == pf1bit || sourceFormat == pf4bit || sourceFormat == pf8bit) {
        rendering->Bitmap->Assign(Source);
    } else {
        TGIFImage* image = Image();
        rendering->Bitmap = ReduceColors(Source, image->ColorReduction, image->DitherMode, image->GetReductionBits(), nullptr);
    }
    TBitmap* bitmap = rendering->Bitmap.get();
    // A copy takes the source's transparency too; the frame's rendering is
    // drawn through the frame's own mask, never by a colour key.
    bitmap->SetTransparent(false);
    NewImage();

    Progress(psStarting, 0, false, GIFTexts::Converting);
    try {
        TPixelFormat format = bitmap->PixelFormat();
        if (format != pf1bit && format != pf4bit && format != pf8bit) format = pf24bit;
        TDIBReader reader(bitmap, format);
        if (format == pf8bit) {
            ImportDIBColors(ColorMap.get(), bitmap->Canvas()->Handle());
        } else if (format != pf24bit) {
            const THandlePalette palette(bitmap->Palette(), false);
            ColorMap->ImportPalette(&palette);
        }
        TTrueColorImport trueColor(*ColorMap);
        const int width = GetWidth(), height = GetHeight();
        for (int y = 0; y < height; ++y) {
            if (y % 32 == 0) Progress(psRunning, MulDiv(y, 100, height), false, GIFTexts::Converting);
            uint8_t* out = FData.get() + size_t(width) * y;
            if (format == pf24bit) trueColor.ImportRow(reader.GetScanline(y), width, out);
            else UnpackRow(reader.GetScanline(y), format == pf8bit ? 8 : format == pf4bit ? 4 : 1, width, out);
        }
        // The colour map is complete: nothing drops the rendering any more.
        std::atomic_store(&Rendering, std::shared_ptr<TFrameRendering>(rendering));
        if (Source->Transparent()) MaskFromBitmap(Source->MaskHandle());
    } catch (...) {
        Progress(psEnding, 0, false, GIFTexts::Converting);
        throw;
    }
    Progress(psEnding, 100, Image()->PaletteModified, GIFTexts::Converting);
}

void TGIFSubImage::MaskFromBitmap(HBITMAP Mask)
{
    if (!Mask) return;
    // Read as a copy in 24 bits: the handle stays as it is, and black is
    // black whatever colour table the mask has.
    int infoSize = 0, imageSize = 0;
    InternalGetDIBSizes(Mask, pf24bit, infoSize, imageSize);
    std::vector<uint8_t> info(infoSize), bits(imageSize);
    auto* header = reinterpret_cast<BITMAPINFO*>(info.data());
    if (!InternalGetDIB(Mask, nullptr, header, bits.data(), pf24bit)) return;
    const int maskWidth = header->bmiHeader.biWidth;
    const int maskHeight = std::abs(header->bmiHeader.biHeight);
    const bool bottomUp = header->bmiHeader.biHeight > 0;
    const size_t stride = size_t(AlignedRowSize(maskWidth, 24, 32));

    // Marks only where frame and mask overlap, from the top; an icon's mask
    // of two halves has its AND mask on top.
    const int width = GetWidth(), height = GetHeight();
    std::vector<uint8_t> marks(size_t(width) * height, 0);
    for (int y = 0; y < std::min(height, maskHeight); ++y) {
        const uint8_t* row = bits.data() + stride * (bottomUp ? maskHeight - 1 - y : y);
        for (int x = 0; x < std::min(width, maskWidth); ++x, row += 3)
            marks[size_t(width) * y + x] = row[0] | row[1] | row[2];
    }
    MakeTransparent(marks.data());
}

void TGIFSubImage::AssignTo(TPersistent* Dest)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
        bitmap->Assign(GetBitmap());
        return;
    }
    TGIFItem::AssignTo(Dest);
}
