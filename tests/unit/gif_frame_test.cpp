// One frame: loading and saving at the edges, bounds and pixel access,
// the rows and mask it renders from, cropping, merging, and the pixel
// work of importing bitmaps.
#include "gif_test_support.h"
#include "gifimage/gif_frame_import.h"
#include "gifimage/gif_frame_render.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

Bytes PixelsOf(const TGIFSubImage* Frame) { return Bytes(Frame->Data(), Frame->Data() + Frame->DataSize()); }

void AddGlobalColors(TGIFImage& Image, int Count)
{
    for (int i = 0; i < Count; ++i) Image.GetColorMap()->Add(uint32_t(i * 0x010101));
}

// A descriptor at (Left, Top) of Width x Height with Packed, then a
// minimal image (code size 2: clear, colour 0, end).
Bytes Descriptor(int Left, int Top, int Width, int Height, int Packed)
{
    Bytes b;
    Append(b, {',', Left, 0, Top, 0, Width, 0, Height, 0, Packed});
    return b;
}
const Bytes MinimalData = {2, 2, 0x44, 0x01, 0};

// --- loading and saving -------------------------------------------------------

TEST(FrameStream, ZeroWidthTakesTheScreenWithOneWarning)
{
    Bytes file = Header(10, 8, true);
    Append(file, Descriptor(3, 2, 0, 5, 0));
    Append(file, MinimalData);
    Append(file, {';'});
    TGIFImage image;
    WarningLog log(image);
    ASSERT_EQ(Load(image, file), "");
    TGIFSubImage* frame = image.Images()->GetImage(0);
    EXPECT_EQ(frame->GetWidth(), 10);
    EXPECT_EQ(frame->GetHeight(), 8);
    EXPECT_EQ(frame->GetLeft(), 3);
    EXPECT_EQ(frame->GetTop(), 2);
    EXPECT_EQ(frame->DataSize(), 80);
    EXPECT_EQ(log.Messages, std::vector<std::string>{GIFTexts::ExceedsScreen});
}

TEST(FrameStream, ExtensionsBeforeTheTrailerMakeAFrameThatSavesOnlyThem)
{
    Bytes comment;
    Append(comment, {'!', 0xFE, 3});
    Append(comment, "end");
    Append(comment, {0});
    Bytes file = Header(4, 4, true);
    Append(file, Descriptor(0, 0, 4, 4, 0));
    Append(file, MinimalData);
    Append(file, comment);
    Append(file, {';'});
    TGIFImage image;
    ASSERT_EQ(Load(image, file), "");
    ASSERT_EQ(image.Images()->GetCount(), 2);
    TGIFSubImage* last = image.Images()->GetImage(1);
    EXPECT_TRUE(last->GetEmpty());
    EXPECT_EQ(last->Extensions()->GetCount(), 1);
    TMemoryStream out;
    last->SaveToStream(&out);
    EXPECT_EQ(Contents(out), comment);
}

TEST(FrameStream, InterlacedFrameWithLocalTableIsWrittenInInterlacedOrder)
{
    TGIFImage image;
    Bytes rows(16 * 4);
    for (int y = 0; y < 16; ++y) std::fill(rows.begin() + 4 * y, rows.begin() + 4 * y + 4, uint8_t(y));
    TGIFSubImage* frame = AddFrame(image, 0, 0, 4, 16, rows);
    for (int i = 0; i < 16; ++i) frame->GetColorMap()->Add(uint32_t(i * 0x100F01));
    frame->SetInterlaced(true);
    Bytes file = Save(image);

    const size_t descriptor = 13; // no global table
    ASSERT_EQ(file[descriptor], ',');
    EXPECT_EQ(file[descriptor + 9] & 0xC0, 0xC0);
    TGIFImage back;
    ASSERT_EQ(Load(back, file), "");
    EXPECT_EQ(PixelsOf(back.Images()->GetImage(0)), rows);

    // Read as if it were not interlaced, the rows come in the order of the passes.
    file[descriptor + 9] &= uint8_t(~idInterlaced);
    TGIFImage stored;
    ASSERT_EQ(Load(stored, file), "");
    const int order[16] = {0, 8, 4, 12, 2, 6, 10, 14, 1, 3, 5, 7, 9, 11, 13, 15};
    for (int y = 0; y < 16; ++y) EXPECT_EQ(stored.Images()->GetImage(0)->GetPixel(0, y), order[y]) << "row " << y;
}

TEST(FrameStream, PrepareKeepsReservedBitsOnlyWithoutLocalTable)
{
    Bytes file = Header(4, 4, true);
    Append(file, Descriptor(0, 0, 4, 4, idReserved | idInterlaced | 0x05)); // size bits without a table
    Append(file, MinimalData);
    Append(file, {';'});
    TGIFImage image;
    ASSERT_EQ(Load(image, file), "");
    TGIFSubImage* frame = image.Images()->GetImage(0);
    frame->Prepare();
    EXPECT_EQ(frame->Descriptor().PackedFields, idReserved | idInterlaced);

    frame->GetColorMap()->Add(0x123456);
    frame->GetColorMap()->Add(0x654321);
    frame->GetColorMap()->Add(0x000000);
    frame->Prepare();
    EXPECT_EQ(frame->Descriptor().PackedFields, idLocalColorTable | idInterlaced | 1); // 4 entries
    EXPECT_EQ(frame->GetVersion(), gv87a);
}

// --- bounds and pixels --------------------------------------------------------

TEST(FrameBounds, NewSizeGetsZeroPixelsAndTheSameSizeKeepsThem)
{
    TGIFImage image;
    WarningLog log(image);
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 2, {1, 2, 3, 4, 5, 6}, {0, 0xFFFFFF});
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_TRUE(log.Messages.empty()); // the image had no size yet

    frame->SetBounds(3, 3);
    EXPECT_EQ(PixelsOf(frame), (Bytes{1, 2, 3, 4, 5, 6}));
    frame->SetBounds(3, 4);
    EXPECT_EQ(PixelsOf(frame), Bytes(8, 0));
    EXPECT_EQ(image.GetWidth(), 4);
    EXPECT_EQ(log.Messages,
              (std::vector<std::string>{GIFTexts::WidthTooSmall, GIFTexts::ExceedsScreen}));

    EXPECT_EQ(frame->GetBounds(0), 0);
    EXPECT_EQ(frame->GetBounds(5), 0);
    frame->SetBounds(5, 99);
    EXPECT_EQ(frame->GetBoundsRect(), (TGIFRect{0, 0, 4, 2}));
}

TEST(FrameBounds, BoundsRectGivenBackGrowsByOnePixel)
{
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 2, 3, 5, 4, Bytes(20, 1));
    frame->SetBoundsRect(frame->GetBoundsRect());
    EXPECT_EQ(frame->GetBoundsRect(), (TGIFRect{2, 3, 8, 8}));
    EXPECT_EQ(frame->GetClientRect(), (TGIFRect{0, 0, 6, 5}));
    EXPECT_EQ(image.GetWidth(), 8);
    EXPECT_EQ(image.GetHeight(), 8);
}

TEST(FramePixels, CoordinatesOutsideTheFrameAreRefused)
{
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 2, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(frame->GetPixel(2, 1), 6);
    EXPECT_EQ(frame->GetScanline(1)[0], 4);
    for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}})
        EXPECT_EQ(MessageOf([&, x = x, y = y] { frame->GetPixel(x, y); }), GIFTexts::BadPixelCoordinates);

    TGIFSubImage* empty = AddFrame(image, 0, 0, 0, 2, {});
    EXPECT_EQ(MessageOf([&] { empty->GetScanline(0); }), GIFTexts::ImageEmpty);
}

TEST(FrameLife, ClearingOrFreeingAFrameBeyondTheScreenReportsNothing)
{
    // A frame that reaches beyond the logical screen, as loading allows, and
    // one wider still.
    Bytes file = Header(4, 4, true);
    Append(file, Descriptor(30, 0, 2, 2, 0));
    Append(file, MinimalData);
    Append(file, Descriptor(0, 0, 50, 1, 0));
    Append(file, MinimalData);
    Append(file, {';'});
    TGIFImage image;
    ASSERT_EQ(Load(image, file), "");
    int warnings = 0;
    image.OnWarning = [&](TObject*, TGIFSeverity, const std::string& Message) {
        ++warnings;
        throw GIFException(Message);
    };
    // Emptied, it needs no room on the screen: no warning, and no growing of
    // the screen, which the wider frame would refuse.
    TGIFSubImage* frame = image.Images()->GetImage(0);
    frame->Clear();
    EXPECT_EQ(frame->GetLeft(), 30);
    EXPECT_EQ(image.GetWidth(), 4);
    image.Images()->Delete(1);
    EXPECT_EQ(warnings, 0);
    EXPECT_EQ(image.Images()->GetCount(), 1);
    EXPECT_EQ(image.PixelCount(), 0);
}

TEST(FrameCopy, AssignCopiesPixelsColoursAndExtensionsThatBelongToTheCopy)
{
    TGIFImage image;
    TGIFSubImage* source = AddFrame(image, 1, 2, 2, 2, {0, 1, 1, 0}, {0xFF0000, 0x00FF00}, 1);
    TGIFSubImage copy(&image);
    copy.Assign(source);
    EXPECT_EQ(PixelsOf(&copy), PixelsOf(source));
    EXPECT_EQ(copy.GetBoundsRect(), source->GetBoundsRect());
    EXPECT_EQ(copy.GetColorMap()->GetColor(1), 0x00FF00u);
    ASSERT_NE(copy.GraphicControlExtension, nullptr);
    EXPECT_NE(copy.GraphicControlExtension, source->GraphicControlExtension);
    EXPECT_EQ(copy.GraphicControlExtension->Frame(), &copy);
    EXPECT_EQ(copy.TransparentIndex(), 1);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.GetEmpty());
    EXPECT_FALSE(copy.Transparent);
}

// --- rows and mask ------------------------------------------------------------

TEST(FrameRows, PlainRowsAreThePixelsAndTheMaskMarksTheTransparentIndex)
{
    TGIFImage image;
    Bytes pixels(17 * 2, 1);
    pixels[0] = pixels[9] = pixels[16] = 3; // row 0: columns 0, 9 and 16
    pixels[17 + 8] = 3;                     // row 1: column 8
    TGIFSubImage* frame = AddFrame(image, 0, 0, 17, 2, pixels, {0, 0x808080, 0xFFFFFF, 0x0000FF}, 3);
    TFrameRenderer rows(*frame, false, 3);
    uint8_t out[17];
    rows.RenderRow(0, out);
    EXPECT_TRUE(std::equal(out, out + 17, pixels.begin()));
    rows.RenderRow(1, out);
    ASSERT_TRUE(rows.MaskUsed());
    ASSERT_EQ(rows.MaskRowBytes(), 4); // 17 bits in 16-bit words
    const uint8_t* mask = rows.MaskBits();
    EXPECT_EQ(Bytes(mask, mask + 8), (Bytes{0x80, 0x40, 0x80, 0, 0, 0x80, 0, 0}));

    TFrameRenderer none(*frame, false, 2); // no pixel holds index 2
    none.RenderRow(0, out);
    none.RenderRow(1, out);
    EXPECT_FALSE(none.MaskUsed());
}

TEST(FrameRows, DitheredRowsFillTransparentPixelsWithTheNearestWebColour)
{
    TGIFImage image;
    // Web colours pass through unchanged; index 2 is transparent, (204, 51, 0).
    const Bytes pixels = {0, 1, 2, 0, 2,  //
                          2, 1, 0, 1, 1}; //
    TGIFSubImage* frame = AddFrame(image, 0, 0, 5, 2, pixels, {0x000000, 0xFFFFFF, 0x0033CC}, 2);
    TFrameRenderer rows(*frame, true, 2);
    uint8_t row0[5], row1[5];
    rows.RenderRow(0, row0);
    rows.RenderRow(1, row1); // right to left
    const uint8_t black = 0, white = 215, fill = 4 * 36 + 1 * 6 + 0;
    EXPECT_EQ(Bytes(row0, row0 + 5), (Bytes{black, white, fill, black, fill}));
    EXPECT_EQ(Bytes(row1, row1 + 5), (Bytes{fill, white, black, white, white}));
    const uint8_t* mask = rows.MaskBits();
    EXPECT_EQ(mask[0], 0x28); // columns 2 and 4
    EXPECT_EQ(mask[rows.MaskRowBytes()], 0x80);

    // Without a mask the transparent colour is dithered like any other.
    TFrameRenderer opaque(*frame, true, -1);
    opaque.RenderRow(0, row0);
    EXPECT_EQ(row0[2], fill);
    EXPECT_FALSE(opaque.MaskUsed());
}

// --- cropping -----------------------------------------------------------------

TEST(FrameCrop, CutsTheTransparentBordersWithinTheScreen)
{
    TGIFImage image;
    const int T = 9;
    const Bytes pixels = {T, T, T, T, T,  //
                          T, T, 1, T, T,  //
                          T, 2, T, 3, T,  //
                          T, T, T, T, T}; //
    TGIFSubImage* frame = AddFrame(image, 4, 1, 5, 4, pixels, {}, -1);
    AddGlobalColors(image, 16);
    frame->Crop(); // not transparent: nothing
    EXPECT_EQ(frame->GetBoundsRect(), (TGIFRect{4, 1, 9, 5}));

    auto* gce = new TGIFGraphicControlExtension(frame);
    frame->Extensions()->Add(gce);
    gce->SetTransparentColorIndex(T);
    gce->SetTransparent(true);
    frame->Crop();
    EXPECT_EQ(frame->GetBoundsRect(), (TGIFRect{5, 2, 8, 4}));
    EXPECT_EQ(PixelsOf(frame), (Bytes{T, 1, T, 2, T, 3}));
    EXPECT_EQ(image.GetWidth(), 9);
    EXPECT_EQ(image.GetHeight(), 5);
    EXPECT_EQ(image.PixelCount(), 6);
}

TEST(FrameCrop, AFrameOfOnlyTheTransparentIndexIsCleared)
{
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 3, Bytes(9, 5), {}, 5);
    AddGlobalColors(image, 8);
    frame->Crop();
    EXPECT_TRUE(frame->GetEmpty());
    EXPECT_EQ(image.PixelCount(), 0);
}

// --- merging ------------------------------------------------------------------

TEST(FrameMerge, PixelsThePreviousFrameShowsBecomeANewTransparentColour)
{
    TGIFImage image;
    TGIFSubImage* previous = AddFrame(image, 0, 0, 4, 2, {0, 1, 1, 0, 1, 1, 0, 0}, {0xFF0000, 0x00FF00});
    // Offset by one column; its own map holds the same two colours the other way round.
    TGIFSubImage* frame = AddFrame(image, 1, 0, 3, 2, {0, 0, 1, 1, 1, 1}, {0x00FF00, 0xFF0000});
    frame->Merge(previous);
    ASSERT_TRUE(frame->Transparent);
    EXPECT_EQ(frame->TransparentIndex(), 2);
    EXPECT_EQ(frame->GetColorMap()->Count(), 3);
    EXPECT_EQ(frame->GetColorMap()->GetColor(2), 0u);
    // Under the frame the previous shows green green red, then green red red.
    EXPECT_EQ(PixelsOf(frame), (Bytes{2, 2, 2, 1, 2, 2}));
}

TEST(FrameMerge, LeavesFramesUnmergedWhenThePreviousGoesOrThereIsNoRoom)
{
    TGIFImage image;
    TGIFSubImage* previous = AddFrame(image, 0, 0, 2, 2, {0, 0, 0, 0}, {0xFF0000, 0x00FF00}, -1);
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 2, {0, 0, 0, 0}, {0xFF0000, 0x00FF00});
    auto* gce = new TGIFGraphicControlExtension(previous);
    previous->Extensions()->Add(gce);
    for (TDisposalMethod disposal : {dmBackground, dmPrevious}) {
        gce->SetDisposal(disposal);
        frame->Merge(previous);
        EXPECT_FALSE(frame->Transparent);
        EXPECT_EQ(PixelsOf(frame), Bytes(4, 0));
    }
    gce->SetDisposal(dmNoDisposal);

    // 256 colours leave no room for a transparent one.
    for (int i = 2; i < 256; ++i) frame->GetColorMap()->Add(uint32_t(i));
    frame->Merge(previous);
    EXPECT_FALSE(frame->Transparent);
    EXPECT_EQ(frame->GetColorMap()->Count(), 256);

    // Frames that do not overlap.
    TGIFSubImage* aside = AddFrame(image, 2, 0, 2, 2, {0, 0, 0, 0}, {0xFF0000, 0x00FF00});
    aside->Merge(previous);
    EXPECT_FALSE(aside->Transparent);
}

TEST(FrameMerge, PreviousTransparentPixelsAreNotMatched)
{
    TGIFImage image;
    TGIFSubImage* previous = AddFrame(image, 0, 0, 3, 1, {0, 1, 0}, {0xFF0000, 0x00FF00}, 1);
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 1, {0, 1, 1}, {0xFF0000, 0x00FF00, 0x0000FF}, 2);
    frame->Merge(previous);
    EXPECT_EQ(PixelsOf(frame), (Bytes{2, 1, 1}));
    EXPECT_EQ(frame->GetColorMap()->Count(), 3); // its own transparent index served
}

TEST(FrameMerge, GlobalMapFramesBorrowATransparentIndexOnlyWhenItShowsNothingElse)
{
    TGIFImage image;
    AddGlobalColors(image, 4);
    TGIFSubImage* previous = AddFrame(image, 0, 0, 2, 1, {1, 2});
    TGIFSubImage* lender = AddFrame(image, 0, 0, 2, 1, {3, 3}, {}, 3);
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 1, {1, 3});
    // Index 3 is a colour this frame shows: borrowing it would punch a hole.
    frame->Merge(previous);
    EXPECT_FALSE(frame->Transparent);
    EXPECT_EQ(PixelsOf(frame), (Bytes{1, 3}));
    EXPECT_EQ(image.GetColorMap()->Count(), 4);

    frame->GetScanline(0)[1] = 0;
    frame->Merge(previous);
    EXPECT_EQ(frame->TransparentIndex(), 3);
    EXPECT_EQ(PixelsOf(frame), (Bytes{3, 0}));
    EXPECT_EQ(image.GetColorMap()->Count(), 4);
    (void)lender;
}

TEST(FrameMerge, GlobalMapFramesWithoutALenderAppendBlackWhileThereIsRoom)
{
    TGIFImage image;
    AddGlobalColors(image, 255);
    TGIFSubImage* previous = AddFrame(image, 0, 0, 2, 1, {7, 8});
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 1, {7, 9});
    frame->Merge(previous);
    EXPECT_EQ(frame->TransparentIndex(), 255);
    EXPECT_EQ(image.GetColorMap()->Count(), 256);
    EXPECT_EQ(PixelsOf(frame), (Bytes{255, 9}));

    TGIFSubImage* next = AddFrame(image, 0, 0, 2, 1, {7, 9});
    next->Merge(previous); // a 257th colour is not to be had
    EXPECT_FALSE(next->Transparent);
    EXPECT_EQ(PixelsOf(next), (Bytes{7, 9}));
}

TEST(FrameMerge, AnIndexThatPixelsBeyondTheMapHoldIsNotTakenOver)
{
    TGIFImage image;
    TGIFSubImage* previous = AddFrame(image, 0, 0, 2, 1, {0, 1}, {0x000000, 0x010101});
    // Pixel 2 has no colour in a map of two; black appended would be index 2.
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 1, {0, 2}, {0x000000, 0x090909});
    frame->Merge(previous);
    EXPECT_FALSE(frame->Transparent);
    EXPECT_EQ(PixelsOf(frame), (Bytes{0, 2}));
    EXPECT_EQ(frame->GetColorMap()->Count(), 2);
}

// --- import -------------------------------------------------------------------

TEST(FrameImport, PackedRowsUnpackHighBitsFirst)
{
    const uint8_t oneBit[] = {0xA5, 0xFF}; // width 9: the last 7 bits are not pixels
    uint8_t out[9];
    UnpackRow(oneBit, 1, 9, out);
    EXPECT_EQ(Bytes(out, out + 9), (Bytes{1, 0, 1, 0, 0, 1, 0, 1, 1}));
    const uint8_t fourBit[] = {0x3C, 0x70};
    UnpackRow(fourBit, 4, 3, out);
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{3, 12, 7}));
}

TEST(FrameImport, TrueColourRowsBuildTheMapUpTo256Colours)
{
    TGIFImage image;
    TGIFSubImage frame(&image);
    Bytes row;
    for (int i = 0; i < 256; ++i) Append(row, {i, 255 - i, 7}); // blue, green, red
    Bytes out(257);
    TTrueColorImport import(*frame.GetColorMap());
    import.ImportRow(row.data(), 256, out.data());
    EXPECT_EQ(frame.GetColorMap()->Count(), 256);
    EXPECT_EQ(frame.GetColorMap()->GetColor(out[10]), TGIFColorMap::RGB2Color({7, 245, 10}));
    // Seen again, in and out of the eight kept: no new colours.
    import.ImportRow(row.data() + 3 * 200, 20, out.data());
    import.ImportRow(row.data(), 2, out.data());
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(frame.GetColorMap()->Count(), 256);
    const uint8_t more[] = {1, 2, 3};
    EXPECT_EQ(MessageOf([&] { import.ImportRow(more, 1, out.data()); }), GIFTexts::ColorTableOverflow);
}

TEST(FrameImport, TransparencyFromMarksTakesAColourOnlyWhenSomethingIsMarked)
{
    TGIFImage image;
    // Colour 2 is used by no pixel: optimizing drops it.
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 1, {0, 1, 1}, {0xFF0000, 0x00FF00, 0x0000FF});
    const uint8_t none[3] = {};
    frame->MakeTransparent(none);
    EXPECT_EQ(frame->GetColorMap()->Count(), 2); // optimized all the same
    EXPECT_EQ(frame->GetColorMap()->GetColor(frame->GetPixel(1, 0)), 0x00FF00u);
    EXPECT_EQ(frame->Extensions()->GetCount(), 0);
    EXPECT_FALSE(frame->Transparent);

    const uint8_t marks[3] = {0, 0, 0xFF};
    frame->MakeTransparent(marks);
    EXPECT_EQ(frame->GetColorMap()->Count(), 3);
    EXPECT_EQ(frame->TransparentIndex(), 2);
    EXPECT_EQ(frame->GetPixel(2, 0), 2);
    EXPECT_EQ(frame->GetColorMap()->GetColor(2), 0u);

    // A full map has no room for it.
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[i] = uint8_t(i);
    TGIFSubImage* full = AddFrame(image, 0, 0, 256, 1, all);
    for (int i = 0; i < 256; ++i) full->GetColorMap()->Add(uint32_t(i));
    const Bytes fullMarks(256, 1);
    full->MakeTransparent(fullMarks.data());
    EXPECT_FALSE(full->Transparent);
    ASSERT_EQ(full->GetColorMap()->Count(), 256);
    for (int x = 0; x < 256; ++x) EXPECT_EQ(full->GetColorMap()->GetColor(full->GetPixel(x, 0)), uint32_t(x));
}

} // namespace
