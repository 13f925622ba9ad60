// A frame on Windows: rendered into a palette bitmap with its mask, drawn
// (opaque, transparent, scaled, tiled), cropped and merged, and made from
// the toolkit's bitmaps, icons, metafiles and pictures; every result read
// back from real bitmaps.
#include "gif_bitmap_support.h"
#include "gif_test_support.h"
#include "gifimage/palette_win32.h"
#include "toolkit/metafile.h"
#include "toolkit/picture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const uint32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000; // toolkit colours
const TColor Paper = 0x40A0E0;                                    // a background no frame uses

// Draws Frame (its rectangle being the whole screen at 1:1) on a 24-bit
// bitmap of Background and reads what shows.
TRgbPicture DrawnOn(TGIFSubImage* Frame, TColor Background, bool Transparent, RECT Rect = {0, 0, 0, 0},
                    bool Tile = false)
{
    TGIFImage* image = Frame->Image();
    if (Rect.right == 0) Rect = {0, 0, image->GetWidth(), image->GetHeight()};
    auto target = SolidBitmap(Rect.right, Rect.bottom, Background);
    Frame->Draw(target->Canvas(), Rect, Transparent, Tile);
    return ReadPicture(*target);
}

// A 4 x 3 frame of three colours with index 2 transparent in two places.
TGIFSubImage* Sample(TGIFImage& Image, int Left = 0, int Top = 0)
{
    return AddFrame(Image, Left, Top, 4, 3, {0, 1, 2, 0, 1, 1, 0, 2, 0, 0, 1, 1}, {Red, Green, Blue}, 2);
}

// --- rendering ----------------------------------------------------------------

TEST(FrameRendering, PaletteBitmapOfTheFramesColours)
{
    TGIFImage image;
    TGIFSubImage* frame = Sample(image);
    TBitmap* bitmap = frame->GetBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->PixelFormat(), pf8bit);
    const TRgbPicture shown = ReadPicture(*bitmap);
    ASSERT_EQ(shown.Width, 4);
    ASSERT_EQ(shown.Height, 3);
    const uint32_t rgb[] = {Rgb(Red), Rgb(Green), Rgb(Blue)};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(shown.At(x, y), rgb[frame->GetPixel(x, y)]) << x << "," << y;
    EXPECT_EQ(frame->GetBitmap(), bitmap); // kept
}

TEST(FrameRendering, MaskMarksExactlyTheTransparentIndex)
{
    TGIFImage image;
    TGIFSubImage* frame = Sample(image);
    ASSERT_TRUE(frame->HasMask());
    const TRgbPicture onPaper = DrawnOn(frame, Paper, true);
    const TRgbPicture opaque = DrawnOn(frame, Paper, false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            if (frame->GetPixel(x, y) == 2) EXPECT_EQ(onPaper.At(x, y), Rgb(Paper)) << x << "," << y;
            else EXPECT_EQ(onPaper.At(x, y), opaque.At(x, y)) << x << "," << y;
        }

    // No pixel of the transparent index: no mask, drawn opaque.
    TGIFSubImage* solid = AddFrame(image, 0, 0, 4, 3, Bytes(12, 0), {Red, Green, Blue}, 2);
    EXPECT_TRUE(solid->Transparent);
    EXPECT_FALSE(solid->HasMask());
    EXPECT_EQ(DrawnOn(solid, Paper, true).Pixels, std::vector<uint32_t>(12, Rgb(Red)));
}

TEST(FrameRendering, MaskFollowsTransparencyThatCameAfterTheBitmap)
{
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 1, {0, 1}, {Red, Green});
    ASSERT_NE(frame->GetBitmap(), nullptr);
    auto* gce = new TGIFGraphicControlExtension(frame);
    frame->Extensions()->Add(gce);
    gce->SetTransparentColorIndex(1);
    gce->SetTransparent(true);
    EXPECT_TRUE(frame->HasMask());
    EXPECT_EQ(DrawnOn(frame, Paper, true).Pixels, (std::vector<uint32_t>{Rgb(Red), Rgb(Paper)}));
    gce->SetTransparentColorIndex(0);
    EXPECT_EQ(DrawnOn(frame, Paper, true).Pixels, (std::vector<uint32_t>{Rgb(Paper), Rgb(Green)}));
}

TEST(FrameRendering, BitmapAndMaskGoTogether)
{
    TGIFImage image;
    TGIFSubImage* frame = Sample(image);
    ASSERT_TRUE(frame->HasMask());
    frame->FreeMask();
    EXPECT_FALSE(frame->GetHasBitmap());
    ASSERT_TRUE(frame->HasMask());
    // A change of colours drops both and tells the image.
    int changes = 0;
    image.OnChange = [&](TObject* Sender) { changes += Sender == frame; };
    frame->GetColorMap()->SetColor(0, Blue);
    EXPECT_FALSE(frame->GetHasBitmap());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(image.PaletteModified);
    EXPECT_EQ(ReadPicture(*frame->GetBitmap()).At(0, 0), Rgb(Blue));
}

TEST(FrameRendering, AFrameDroppedWhileItsDrawRunsFinishesTheDraw)
{
    TGIFImage image;
    TGIFSubImage* frame = Sample(image);
    auto target = SolidBitmap(4, 3, Paper);
    // What a repack does while a painter draws: the rendering goes mid-draw.
    target->Canvas()->OnChange = [&](TObject*) { frame->FreeBitmap(); };
    frame->Draw(target->Canvas(), {0, 0, 4, 3}, true, false);
    EXPECT_FALSE(frame->GetHasBitmap());
    target->Canvas()->OnChange = nullptr;
    const TRgbPicture shown = ReadPicture(*target);
    EXPECT_EQ(shown.At(2, 0), Rgb(Paper));
    EXPECT_EQ(shown.At(0, 0), Rgb(Red));
    EXPECT_EQ(DrawnOn(frame, Paper, true).Pixels, shown.Pixels);
}

TEST(FrameRendering, ProgressCanCancelAndAnEmptyFrameRendersNothing)
{
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 70, Bytes(210, 1), {Red, Green});
    std::vector<std::string> stages;
    OnProgressOf(image, [&](TObject* Sender, TProgressStage Stage, int Percent, bool, const std::string& Message) {
        EXPECT_EQ(Sender, frame);
        EXPECT_EQ(Message, GIFTexts::Rendering);
        stages.push_back(std::to_string(Stage) + ":" + std::to_string(Percent));
    });
    ASSERT_NE(frame->GetBitmap(), nullptr);
    EXPECT_EQ(stages, (std::vector<std::string>{"0:0", "1:0", "1:46", "1:91", "2:100"}));

    frame->FreeBitmap();
    stages.clear();
    OnProgressOf(image, [&](TObject*, TProgressStage Stage, int Percent, bool, const std::string&) {
        stages.push_back(std::to_string(Stage) + ":" + std::to_string(Percent));
        if (Stage == psRunning && Percent > 0) throw EAbort("cancelled");
    });
    EXPECT_EQ(frame->GetBitmap(), nullptr);
    EXPECT_FALSE(frame->GetHasBitmap());
    EXPECT_EQ(stages.back(), "2:0");

    OnProgressOf(image, nullptr);
    TGIFSubImage* empty = AddFrame(image, 0, 0, 0, 0, {});
    EXPECT_EQ(empty->GetBitmap(), nullptr);
    empty->SetHasBitmap(true);
    EXPECT_FALSE(empty->GetHasBitmap());
}

TEST(FrameRendering, RenderOnLoadMakesEveryBitmap)
{
    TGIFImage image;
    Sample(image);
    AddFrame(image, 0, 0, 2, 2, {0, 1, 1, 0}, {Red, Green});
    const Bytes file = Save(image);
    GIFImageRenderOnLoad = true;
    TGIFImage loaded;
    const std::string error = Load(loaded, file);
    GIFImageRenderOnLoad = false;
    ASSERT_EQ(error, "");
    ASSERT_EQ(loaded.Images()->GetCount(), 2);
    EXPECT_TRUE(loaded.Images()->GetImage(0)->GetHasBitmap());
    EXPECT_TRUE(loaded.Images()->GetImage(1)->GetHasBitmap());
}

TEST(FrameRendering, PaletteComesFromTheFrameElseTheImage)
{
    TGIFImage image;
    TGIFSubImage* local = Sample(image);
    THandlePalette own(local->GetPalette(), false);
    EXPECT_EQ(own.EntryCount(), 3);

    // Without colours of its own or a global map: the first frame's.
    TGIFSubImage* global = AddFrame(image, 0, 0, 2, 1, {0, 1});
    EXPECT_EQ(global->GetPalette(), local->GetPalette());
    image.GetColorMap()->Add(Green);
    image.GetColorMap()->Add(Red);
    THandlePalette shared(global->GetPalette(), false);
    EXPECT_EQ(shared.EntryCount(), 2);
    EXPECT_EQ(ReadPicture(*global->GetBitmap()).Pixels, (std::vector<uint32_t>{Rgb(Green), Rgb(Red)}));

    // The first frame without colours asks the image, which asks the first frame.
    TGIFImage bare;
    TGIFSubImage* first = AddFrame(bare, 0, 0, 1, 1, {0});
    EXPECT_EQ(MessageOf([&] { first->GetPalette(); }), GIFTexts::NoColorTable);
}

TEST(FrameRendering, DitheredFramesShowInTheWebPalette)
{
    TGIFImage image;
    image.SetDrawOptions(DrawOption(goDither)); // without goAutoDither: always
    ASSERT_TRUE(image.GetDoDither());
    // Web colours stay exactly what they are; index 2 is transparent.
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 2, {0, 1, 2, 2, 1, 0}, {0x3399CC, 0xFFFFFF, 0x000066}, 2);
    THandlePalette palette(frame->GetPalette(), false);
    EXPECT_EQ(palette.EntryCount(), 216);
    const TRgbPicture shown = ReadPicture(*frame->GetBitmap());
    EXPECT_EQ(shown.At(0, 0), 0xCC9933u);
    EXPECT_EQ(shown.At(1, 0), 0xFFFFFFu);
    EXPECT_EQ(shown.At(2, 0), 0x660000u); // the transparent colour, opaque
    EXPECT_EQ(shown.At(0, 1), 0x660000u);
    const TRgbPicture drawn = DrawnOn(frame, Paper, true);
    EXPECT_EQ(drawn.At(2, 0), Rgb(Paper));
    EXPECT_EQ(drawn.At(0, 1), Rgb(Paper));
    EXPECT_EQ(drawn.At(2, 1), 0xCC9933u);
}

// --- drawing ------------------------------------------------------------------

TEST(FrameDrawing, ScaledIntoItsPlaceOnTheScreen)
{
    TGIFImage image;
    AddFrame(image, 0, 0, 8, 6, Bytes(48, 0), {Red});
    TGIFSubImage* frame = AddFrame(image, 2, 3, 2, 1, {0, 0}, {Green});
    EXPECT_EQ(frame->ScaleRect({10, 20, 26, 32}).left, 14);
    const RECT scaled = frame->ScaleRect({0, 0, 16, 12});
    EXPECT_EQ(scaled.left, 4);
    EXPECT_EQ(scaled.top, 6);
    EXPECT_EQ(scaled.right, 8);
    EXPECT_EQ(scaled.bottom, 8);
    const TRgbPicture shown = DrawnOn(frame, Paper, false, {0, 0, 16, 12});
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 8 && y >= 6 && y < 8;
            EXPECT_EQ(shown.At(x, y), inside ? Rgb(Green) : Rgb(Paper)) << x << "," << y;
        }
}

TEST(FrameDrawing, ScaledTransparentDrawKeepsTheDestinationAndItsColours)
{
    TGIFImage image;
    TGIFSubImage* frame = Sample(image);
    auto target = SolidBitmap(8, 6, Paper);
    HDC dc = target->Canvas()->Handle();
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    frame->Draw(target->Canvas(), {0, 0, 8, 6}, true, false);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), RGB(4, 5, 6));
    const TRgbPicture shown = ReadPicture(*target);
    const uint32_t rgb[] = {Rgb(Red), Rgb(Green), Rgb(Paper)};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(shown.At(x, y), rgb[frame->GetPixel(x / 2, y / 2)]) << x << "," << y;
}

TEST(FrameDrawing, TilesAreUnscaledCopiesAtTheScreensSteps)
{
    TGIFImage image;
    AddFrame(image, 0, 0, 20, 20, Bytes(400, 0), {Red}); // the screen is 20 x 20
    TGIFSubImage* frame = AddFrame(image, 0, 0, 10, 10, Bytes(100, 0), {Green});
    for (bool transparent : {false, true}) {
        const TRgbPicture shown = DrawnOn(frame, Paper, transparent, {0, 0, 50, 30}, true);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 50; ++x) {
                const bool copy = x % 20 < 10 && y % 20 < 10;
                EXPECT_EQ(shown.At(x, y), copy ? Rgb(Green) : Rgb(Paper)) << x << "," << y;
            }
    }
    // Tiles of a transparent frame keep the background where it is transparent.
    TGIFSubImage* holes = AddFrame(image, 5, 5, 2, 1, {0, 1}, {Green, Blue}, 1);
    const TRgbPicture shown = DrawnOn(holes, Paper, true, {0, 0, 30, 30}, true);
    EXPECT_EQ(shown.At(5, 5), Rgb(Green));
    EXPECT_EQ(shown.At(6, 5), Rgb(Paper));
    EXPECT_EQ(shown.At(25, 25), Rgb(Green));
    EXPECT_EQ(shown.At(26, 25), Rgb(Paper));
}

TEST(FrameDrawing, TilingNothingDrawsNothingAndReturns)
{
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 2, {0, 1, 0, 0}, {Red, Green}, 1);
    TGIFSubImage* flat = AddFrame(image, 0, 0, 0, 0, {});
    EXPECT_EQ(DrawnOn(flat, Paper, false, {0, 0, 8, 8}, true).Pixels, std::vector<uint32_t>(64, Rgb(Paper)));
    // An image of no height: the tile steps would never move on.
    ASSERT_TRUE(frame->HasMask());
    image.Header()->SetHeight(0);
    EXPECT_EQ(DrawnOn(frame, Paper, false, {0, 0, 8, 8}, true).Pixels, std::vector<uint32_t>(64, Rgb(Paper)));
    EXPECT_EQ(DrawnOn(frame, Paper, true, {0, 0, 8, 8}, true).Pixels, std::vector<uint32_t>(64, Rgb(Paper)));
}

// --- cropping and merging, as shown -------------------------------------------

// The frames drawn in order as an animation shows them: the first opaque,
// the others transparent over it.
TRgbPicture Composed(TGIFImage& Image)
{
    auto target = SolidBitmap(Image.GetWidth(), Image.GetHeight(), Paper);
    for (int i = 0; i < Image.Images()->GetCount(); ++i)
        Image.Images()->GetImage(i)->Draw(target->Canvas(), {0, 0, Image.GetWidth(), Image.GetHeight()}, i > 0,
                                          false);
    return ReadPicture(*target);
}

TEST(FrameOptimizing, MergedAndCroppedFramesShowTheSamePicture)
{
    TGIFImage image;
    Bytes background(12 * 8), next(12 * 8);
    for (int i = 0; i < 96; ++i) background[i] = uint8_t((i / 5) % 3);
    next = background;
    for (int y = 3; y < 5; ++y)
        for (int x = 4; x < 9; ++x) next[y * 12 + x] = 3; // only this block changes
    AddFrame(image, 0, 0, 12, 8, background, {Red, Green, Blue, 0x808080});
    TGIFSubImage* frame = AddFrame(image, 0, 0, 12, 8, next, {Red, Green, Blue, 0x808080});
    const TRgbPicture before = Composed(image);

    frame->Merge(image.Images()->GetImage(0));
    ASSERT_TRUE(frame->Transparent);
    EXPECT_EQ(Composed(image).Pixels, before.Pixels);
    frame->Crop();
    EXPECT_EQ(frame->GetBoundsRect(), (TGIFRect{4, 3, 9, 5}));
    EXPECT_EQ(Composed(image).Pixels, before.Pixels);
}

TEST(FrameOptimizing, CroppingAFrameOfNothingButTransparencyLeavesThePictureAlone)
{
    TGIFImage image;
    AddFrame(image, 0, 0, 3, 2, {0, 1, 0, 1, 0, 1}, {Red, Green});
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 2, Bytes(6, 1), {Red, Blue}, 1);
    const TRgbPicture before = Composed(image);
    frame->Crop();
    EXPECT_TRUE(frame->GetEmpty());
    EXPECT_EQ(Composed(image).Pixels, before.Pixels);
}

// --- import -------------------------------------------------------------------

// A 24-bit bitmap whose pixel (x, y) is Color(x, y), a TColor.
template <typename F>
std::unique_ptr<TBitmap> Painted(int Width, int Height, F Color)
{
    auto bitmap = SolidBitmap(Width, Height, clBlack);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) bitmap->Canvas()->SetPixel(x, y, Color(x, y));
    return bitmap;
}

TEST(FrameImport, TrueColourWithoutReductionTakesUpTo256Colours)
{
    TGIFImage image;
    image.ColorReduction = rmNone;
    auto colours256 = Painted(16, 16, [](int x, int y) { return TColor(x * 16 + y * 0x1000 + 0x30000); });
    TGIFSubImage frame(&image);
    frame.Assign(colours256.get());
    EXPECT_EQ(frame.GetColorMap()->Count(), 256);
    const TRgbPicture source = ReadPicture(*colours256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(Rgb(TColor(frame.GetColorMap()->GetColor(frame.GetPixel(x, y)))), source.At(x, y));
    EXPECT_EQ(ReadPicture(*frame.GetBitmap()).Pixels, source.Pixels);

    auto colours257 = Painted(16, 17, [](int x, int y) { return TColor(x * 16 + y * 0x1000 + 0x30000); });
    EXPECT_EQ(MessageOf([&] { frame.Assign(colours257.get()); }), GIFTexts::ColorTableOverflow);
}

TEST(FrameImport, TrueColourReducedToTheWebPaletteByDefault)
{
    TGIFImage image;
    ASSERT_EQ(image.ColorReduction, rmNetscape);
    auto picture = Painted(40, 30, [](int x, int y) { return TColor(RGB(x * 6, y * 8, 100)); });
    TGIFSubImage frame(&image);
    frame.Assign(picture.get());
    ASSERT_EQ(frame.GetColorMap()->Count(), 256); // the reduced bitmap's whole colour table
    for (int i = 0; i < 216; ++i) {
        const TGIFColor c = TGIFColorMap::Color2RGB(frame.GetColorMap()->GetColor(i));
        EXPECT_EQ(c.Red, i / 36 * 51);
        EXPECT_EQ(c.Green, i / 6 % 6 * 51);
        EXPECT_EQ(c.Blue, i % 6 * 51);
    }
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) EXPECT_LT(frame.GetPixel(x, y), 216);
}

TEST(FrameImport, OneBitRowsOfNinePixels)
{
    TGIFImage image;
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf1bit);
    bitmap.SetSize(9, 2);
    auto* row0 = static_cast<uint8_t*>(bitmap.ScanLine(0));
    auto* row1 = static_cast<uint8_t*>(bitmap.ScanLine(1));
    row0[0] = 0xA5, row0[1] = 0xFF; // the second byte's last seven bits are padding
    row1[0] = 0x00, row1[1] = 0x80;
    TGIFSubImage frame(&image);
    frame.Assign(&bitmap);
    ASSERT_EQ(frame.GetWidth(), 9);
    EXPECT_EQ(Bytes(frame.Data(), frame.Data() + 18), (Bytes{1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(frame.GetColorMap()->Count(), 2);
    EXPECT_EQ(frame.GetColorMap()->GetColor(1), 0xFFFFFFu);
}

TEST(FrameImport, EightBitPixelsAndColourTableKeptAsTheyAre)
{
    TGIFImage image;
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(5, 3);
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) table[i] = {BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    SetDIBColorTable(bitmap.Canvas()->Handle(), 0, 256, table);
    Bytes pixels;
    for (int y = 0; y < 3; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < 5; ++x) pixels.push_back(row[x] = uint8_t(x * 50 + y * 3));
    }
    TGIFSubImage frame(&image);
    frame.Assign(&bitmap);
    EXPECT_EQ(Bytes(frame.Data(), frame.Data() + frame.DataSize()), pixels);
    ASSERT_EQ(frame.GetColorMap()->Count(), 256);
    for (int i : {0, 3, 103, 200, 255})
        EXPECT_EQ(frame.GetColorMap()->GetColor(i), TGIFColorMap::RGB2Color({BYTE(i * 7), BYTE(255 - i), BYTE(i)}));
}

TEST(FrameImport, TransparentBitmapsGiveTheirTransparentColourOnly)
{
    TGIFImage image;
    image.ColorReduction = rmNone;
    auto picture = Painted(4, 2, [](int x, int) { return x < 2 ? TColor(Red) : TColor(Green); });
    picture->SetTransparent(true);
    picture->SetTransparentColor(Green);
    TGIFSubImage frame(&image);
    frame.Assign(picture.get());
    ASSERT_TRUE(frame.Transparent);
    EXPECT_EQ(frame.GetColorMap()->Count(), 3); // red, green, and black for the transparent pixels
    const TRgbPicture shown = DrawnOn(&frame, Paper, true);
    EXPECT_EQ(shown.At(0, 0), Rgb(Red));
    EXPECT_EQ(shown.At(3, 1), Rgb(Paper));

    // A transparent colour that no pixel has adds nothing.
    picture->SetTransparentColor(Blue);
    frame.Assign(picture.get());
    EXPECT_FALSE(frame.Transparent);
    EXPECT_EQ(frame.GetColorMap()->Count(), 2);
    EXPECT_EQ(frame.Extensions()->GetCount(), 0);
}

TEST(FrameImport, IconsBringTheirMask)
{
    // 16 x 16: a red square of 8 x 8 in the middle, the rest see-through.
    std::vector<uint8_t> andMask(2 * 16, 0xFF), xorBits(4 * 16 * 16, 0);
    for (int y = 4; y < 12; ++y) {
        andMask[2 * y] = 0xF0, andMask[2 * y + 1] = 0x0F;
        for (int x = 4; x < 12; ++x) xorBits[4 * (16 * y + x) + 2] = 0xFF;
    }
    HBITMAP colour = CreateBitmap(16, 16, 1, 32, xorBits.data());
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, andMask.data());
    ICONINFO info{TRUE, 0, 0, mask, colour};
    TIcon icon;
    icon.SetHandle(CreateIconIndirect(&info));
    DeleteObject(colour);
    DeleteObject(mask);
    ASSERT_FALSE(icon.Empty());

    TGIFImage image;
    TGIFSubImage frame(&image);
    frame.Assign(&icon);
    ASSERT_EQ(frame.GetWidth(), 16);
    ASSERT_TRUE(frame.Transparent);
    const TRgbPicture shown = DrawnOn(&frame, Paper, true, {0, 0, 16, 16});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            EXPECT_EQ(shown.At(x, y), inside ? 0xFF0000u : Rgb(Paper)) << x << "," << y;
        }
}

TEST(FrameImport, MetafilesLeaveWhatTheyDoNotCoverTransparent)
{
    // A frame of 40 x 40 screen pixels, in hundredths of a millimetre, with a square inside.
    HDC screen = GetDC(nullptr);
    const RECT frameRect{0, 0, MulDiv(40, GetDeviceCaps(screen, HORZSIZE) * 100, GetDeviceCaps(screen, HORZRES)),
                         MulDiv(40, GetDeviceCaps(screen, VERTSIZE) * 100, GetDeviceCaps(screen, VERTRES))};
    HDC record = CreateEnhMetaFileA(screen, nullptr, &frameRect, nullptr);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(record, nullptr);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    const RECT square{10, 10, 30, 30};
    FillRect(record, &square, blue);
    DeleteObject(blue);
    TMetafile metafile;
    metafile.SetHandle(CloseEnhMetaFile(record));
    ASSERT_NEAR(metafile.Width(), 40, 1);
    ASSERT_NEAR(metafile.Height(), 40, 1);

    TGIFImage image;
    TGIFSubImage frame(&image);
    frame.Assign(&metafile);
    ASSERT_EQ(frame.GetWidth(), metafile.Width());
    ASSERT_TRUE(frame.Transparent);
    const int w = frame.GetWidth(), h = frame.GetHeight();
    const TRgbPicture shown = DrawnOn(&frame, Paper, true, {0, 0, w, h});
    int covered = 0, through = 0;
    for (uint32_t p : shown.Pixels) {
        covered += p == 0x0000FF;
        through += p == Rgb(Paper);
    }
    EXPECT_NEAR(covered, 400, 45);
    EXPECT_EQ(covered + through, w * h);
    EXPECT_EQ(shown.At(0, 0), Rgb(Paper));
    EXPECT_EQ(shown.At(20, 20), 0x0000FFu);
    EXPECT_EQ(shown.At(w - 1, h - 1), Rgb(Paper));
}

TEST(FrameImport, PicturesGiveTheirGraphic)
{
    auto bitmap = SolidBitmap(3, 2, Red);
    TPicture picture;
    picture.SetGraphic(bitmap.get());
    TGIFImage image;
    TGIFSubImage frame(&image);
    frame.Assign(&picture);
    ASSERT_EQ(frame.GetWidth(), 3);
    EXPECT_EQ(ReadPicture(*frame.GetBitmap()).Pixels, std::vector<uint32_t>(6, Rgb(Red)));
    TPicture empty;
    frame.Assign(&empty);
    EXPECT_TRUE(frame.GetEmpty());
}

TEST(FrameImport, FramesGiveThemselvesToBitmapsOnly)
{
    TGIFImage image;
    TGIFSubImage* frame = Sample(image);
    TBitmap bitmap;
    bitmap.Assign(frame);
    EXPECT_EQ(ReadPicture(bitmap).Pixels, ReadPicture(*frame->GetBitmap()).Pixels);
    TIcon icon;
    EXPECT_THROW(icon.Assign(frame), EConvertError);
    TFont font;
    EXPECT_THROW(frame->Assign(&font), EConvertError);
}

} // namespace
