// Extension blocks: layouts, the two registries, and the walk in front of a frame.
#include "gif_test_support.h"
#include "gifimage/gif_util.h"

#include <gtest/gtest.h>

namespace {

// A stream: header with a 4-entry global table, Blocks, one 2x2 frame, trailer.
Bytes WithBlocks(const Bytes& Blocks)
{
    Bytes b = Header(2, 2, true, 1);
    Append(b, Blocks);
    Append(b, MinimalFrame(2, 2));
    Append(b, {';'});
    return b;
}

TGIFExtension* OnlyExtension(TGIFImage& Image)
{
    EXPECT_GE(Image.Images()->GetCount(), 1);
    TGIFExtensionList* list = Image.Images()->GetImage(0)->Extensions();
    EXPECT_EQ(list->GetCount(), 1);
    return list->GetCount() ? list->GetExtension(0) : nullptr;
}

Bytes Saved(TGIFItem* Item)
{
    TMemoryStream stream;
    Item->SaveToStream(&stream);
    return Contents(stream);
}

TEST(GraphicControl, SixBytesWhateverTheSizeByteSays)
{
    TGIFImage image;
    EXPECT_EQ(Load(image, WithBlocks({'!', 0xF9, 7, 0x09, 0x32, 0x00, 3, 0})), "");
    auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(OnlyExtension(image));
    ASSERT_NE(gce, nullptr);
    TGIFSubImage* frame = image.Images()->GetImage(0);
    EXPECT_EQ(frame->GraphicControlExtension, gce);
    EXPECT_TRUE(frame->Transparent);
    EXPECT_TRUE(gce->GetTransparent());
    EXPECT_FALSE(gce->GetUserInput());
    EXPECT_EQ(gce->GetDisposal(), dmBackground);
    EXPECT_EQ(gce->GetDelay(), 50);
    EXPECT_EQ(gce->GetTransparentColorIndex(), 3);
    EXPECT_EQ(gce->Record().BlockSize, 7);
    EXPECT_EQ(frame->GetVersion(), gv89a);
    // Transparent pixels the data does not reach keep the transparent index.
    EXPECT_EQ(frame->Data()[3], 3);
    EXPECT_EQ(Saved(gce), (Bytes{'!', 0xF9, 7, 0x09, 0x32, 0x00, 3, 0}));

    gce->SetDisposal(dmPrevious);
    gce->SetUserInput(true);
    EXPECT_EQ(gce->Record().PackedFields, 0x0C | 0x02 | 0x01);
    delete gce;
    EXPECT_FALSE(frame->Transparent);
    EXPECT_EQ(frame->GraphicControlExtension, nullptr);
    EXPECT_EQ(frame->Extensions()->GetCount(), 0);
}

TEST(GraphicControl, IndexBeyondTheActiveMapWarns)
{
    TGIFImage image;
    WarningLog log(image);
    ASSERT_EQ(Load(image, WithBlocks({})), "");
    TGIFSubImage* frame = image.Images()->GetImage(0);
    auto* gce = new TGIFGraphicControlExtension(frame);
    frame->Extensions()->Add(gce);
    gce->SetTransparentColorIndex(4); // the global map has 4 colours
    EXPECT_EQ(gce->GetTransparentColorIndex(), 0);
    EXPECT_EQ(log.Count("Invalid color index"), 1);
    gce->SetTransparentColor(0x030303);
    EXPECT_EQ(gce->GetTransparentColorIndex(), 3);
    EXPECT_EQ(gce->GetTransparentColor(), 0x030303u);
    // A second one does not take over the frame.
    auto* second = new TGIFGraphicControlExtension(frame);
    frame->Extensions()->Add(second);
    EXPECT_EQ(frame->GraphicControlExtension, gce);
}

TEST(GraphicControl, ShortRecordWarns)
{
    TGIFImage image;
    WarningLog log(image);
    Bytes b = Header(2, 2, true, 1);
    Append(b, {'!', 0xF9, 4, 1});
    Load(image, b);
    EXPECT_EQ(log.Count("Premature end of data"), 1);
}

TEST(Loop, NetscapeBlocksMatchOnTheLowThreeBits)
{
    Bytes head{'!', 0xFF, 11};
    Append(head, "NETSCAPE2.0");
    for (auto [sub, loops] : {std::pair{Bytes{3, 1, 0, 0}, 0}, {Bytes{3, 9, 5, 0}, 5}, {Bytes{3, 1, 0x10, 0x27}, 10000}}) {
        Bytes blocks = head;
        Append(blocks, sub);
        Append(blocks, {0});
        TGIFImage image;
        ASSERT_EQ(Load(image, WithBlocks(blocks)), "");
        auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(OnlyExtension(image));
        ASSERT_NE(loop, nullptr);
        EXPECT_EQ(loop->Loops, loops);
        EXPECT_EQ(loop->GetIdentifier(), "NETSCAPE");
        EXPECT_EQ(loop->GetAuthentication(), "2.0");
    }
    Bytes anim{'!', 0xFF, 11};
    Append(anim, "ANIMEXTS1.0");
    Append(anim, {5, 2, 0x00, 0x10, 0, 0, 0});
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks(anim)), "");
    auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(OnlyExtension(image));
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->BufferSize, 0x1000u);
}

TEST(Loop, WritesFiveOrElevenBytesAfterItsIdentifier)
{
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks({})), "");
    TGIFAppExtNSLoop loop(image.Images()->GetImage(0));
    loop.Loops = 0x0102;
    Bytes b = Saved(&loop);
    ASSERT_EQ(b.size(), 3 + 11 + 5u);
    EXPECT_EQ(Bytes(b.begin() + 3, b.begin() + 14), (Bytes{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'}));
    EXPECT_EQ(Bytes(b.begin() + 14, b.end()), (Bytes{3, 1, 2, 1, 0}));
    loop.BufferSize = 0x01020304;
    b = Saved(&loop);
    ASSERT_EQ(b.size(), 3 + 11 + 11u);
    EXPECT_EQ(Bytes(b.begin() + 18, b.end()), (Bytes{5, 2, 4, 3, 2, 1, 0}));
}

TEST(Loop, ShortOrTruncatedSubBlocks)
{
    Bytes blocks{'!', 0xFF, 11};
    Append(blocks, "NETSCAPE2.0");
    Append(blocks, {2, 1, 7, 0});
    TGIFImage image;
    EXPECT_EQ(Load(image, WithBlocks(blocks)), "Invalid GIF data");
    // A stream that ends inside the loop block ends the walk; no endless skipping.
    Bytes cut = Header(2, 2, true, 1);
    Append(cut, {'!', 0xFF, 11});
    Append(cut, "NETSCAPE2.0");
    Append(cut, {9, 7});
    EXPECT_EQ(Load(image, cut), "");
}

TEST(Application, UnknownIdentifiersRoundTripTheirBlocks)
{
    Bytes blocks{'!', 0xFF, 11};
    Append(blocks, "XMP DataXMP");
    Append(blocks, {3, 'a', 'b', 'c', 1, 'z', 0});
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks(blocks)), "");
    auto* unknown = dynamic_cast<TGIFUnknownAppExtension*>(OnlyExtension(image));
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->Blocks.size(), 2u);
    EXPECT_EQ(Saved(unknown), blocks);
    EXPECT_EQ(unknown->GetIdentifier(), "XMP Data");
    unknown->SetIdentifier("ab");
    EXPECT_EQ(unknown->GetIdentifier(), "ab      ");
    unknown->SetAuthentication("LONGER");
    EXPECT_EQ(unknown->GetAuthentication(), "LON");
}

TEST(Application, BlockSizeTenAndAboveEleven)
{
    Bytes ten{'!', 0xFF, 10};
    Append(ten, "ABCDEFGH12");
    Append(ten, {1, 'x', 0});
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks(ten)), "");
    auto* unknown = dynamic_cast<TGIFUnknownAppExtension*>(OnlyExtension(image));
    ASSERT_NE(unknown, nullptr);
    Bytes back = Saved(unknown);
    EXPECT_EQ(back[2], 11);
    EXPECT_EQ(back[13], 0); // the identifier's last byte
    EXPECT_EQ(Bytes(back.begin() + 14, back.end()), (Bytes{1, 'x', 0}));

    // Size 14: the first 11 bytes choose the class, the surplus is skipped.
    Bytes big{'!', 0xFF, 14};
    Append(big, "NETSCAPE2.0xyz");
    Append(big, {3, 1, 4, 0, 0});
    ASSERT_EQ(Load(image, WithBlocks(big)), "");
    auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(OnlyExtension(image));
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Loops, 4);
    Bytes other{'!', 0xFF, 12};
    Append(other, "SOMEONE1.0ab");
    Append(other, {0});
    ASSERT_EQ(Load(image, WithBlocks(other)), "");
    EXPECT_NE(dynamic_cast<TGIFUnknownAppExtension*>(OnlyExtension(image)), nullptr);

    Bytes small{'!', 0xFF, 9};
    Append(small, "ABCDEFGHI");
    Append(small, {0});
    EXPECT_EQ(Load(image, WithBlocks(small)), "Unsupported Application Extension block size");
}

TEST(Comment, LongLinesSplitAndReadBackAsTwo)
{
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks({})), "");
    TGIFSubImage* frame = image.Images()->GetImage(0);
    auto* comment = new TGIFCommentExtension(frame);
    frame->Extensions()->Insert(0, comment);
    comment->Text.Add(std::string(300, 'c'));
    comment->Text.Add("");
    frame->Data()[0] = 0; // the sample data's first pixel is beyond the table
    Bytes file = Save(image);
    TGIFImage back;
    ASSERT_EQ(Load(back, file), "");
    auto* read = dynamic_cast<TGIFCommentExtension*>(OnlyExtension(back));
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->Text.Count(), 2);
    EXPECT_EQ(read->Text[0], std::string(255, 'c'));
    EXPECT_EQ(read->Text[1], std::string(45, 'c'));
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF89a");
}

TEST(PlainText, RecordAndTextRoundTrip)
{
    Bytes blocks{'!', 0x01, 12, 1, 0, 2, 0, 40, 0, 20, 0, 8, 16, 2, 3};
    Append(blocks, {5, 'H', 'e', 'l', 'l', 'o', 0});
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks(blocks)), "");
    auto* text = dynamic_cast<TGIFTextExtension*>(OnlyExtension(image));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetBounds(1), 1);
    EXPECT_EQ(text->GetBounds(3), 40);
    EXPECT_EQ(text->GetBounds(9), 0);
    EXPECT_EQ(text->GetCharWidthHeight(2), 16);
    EXPECT_EQ(text->GetColorIndex(1), 2);
    EXPECT_EQ(text->GetBackgroundColor(), 0x030303u);
    EXPECT_EQ(text->Text[0], "Hello");
    EXPECT_EQ(Saved(text), blocks);
}

TEST(Optimize, TransparentAndTextIndicesFollowTheirColours)
{
    Bytes blocks{'!', 0xF9, 4, 1, 0, 0, 2, 0};
    Append(blocks, {'!', 0x01, 12, 0, 0, 0, 0, 2, 0, 2, 0, 1, 1, 3, 2, 0});
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks(blocks)), "");
    TGIFSubImage* frame = image.Images()->GetImage(0);
    const uint8_t pixels[4] = {3, 3, 3, 2};
    std::copy(pixels, pixels + 4, frame->Data());
    ASSERT_TRUE(image.GetColorMap()->Optimize());
    // Colour 3 is used most, then 2; the text's colours and the transparent index follow.
    EXPECT_EQ(frame->GraphicControlExtension->GetTransparentColorIndex(), 1);
    auto* text = dynamic_cast<TGIFTextExtension*>(frame->Extensions()->GetExtension(1));
    EXPECT_EQ(text->GetColorIndex(1), 0);
    EXPECT_EQ(text->GetColorIndex(2), 1);
}

TEST(Walk, UnknownLabelIsAnErrorABadIntroducerAWarning)
{
    TGIFImage image;
    EXPECT_EQ(Load(image, WithBlocks({'!', 0x42, 0})), "Unknown extension type");
    WarningLog log(image);
    Bytes b = Header(2, 2, true, 1);
    Append(b, {'!', 0xFE, 1, 'x', 0, 'Q'});
    Append(b, MinimalFrame(2, 2));
    Append(b, {';'});
    Load(image, b);
    EXPECT_EQ(log.Count("Invalid extension introducer"), 1);
    EXPECT_EQ(image.Images()->GetImage(0)->Extensions()->GetCount(), 1);

    // A zero byte ends the frame: the comment becomes a frame of its own.
    Bytes zero = Header(2, 2, true, 1);
    Append(zero, {'!', 0xFE, 1, 'x', 0, 0});
    Append(zero, MinimalFrame(2, 2));
    Append(zero, {';'});
    ASSERT_EQ(Load(image, zero), "");
    ASSERT_EQ(image.Images()->GetCount(), 2);
    EXPECT_TRUE(image.Images()->GetImage(0)->GetEmpty());
    EXPECT_EQ(image.Images()->GetImage(0)->Extensions()->GetCount(), 1);
    EXPECT_FALSE(image.Images()->GetImage(1)->GetEmpty());
}

TEST(Walk, ExtensionsBeforeTheTrailerMakeAFrameWithoutPixels)
{
    Bytes b = Header(2, 2, true, 1);
    Append(b, MinimalFrame(2, 2));
    Append(b, {'!', 0xFE, 3, 'e', 'n', 'd', 0, ';'});
    TGIFImage image;
    ASSERT_EQ(Load(image, b), "");
    ASSERT_EQ(image.Images()->GetCount(), 2);
    TGIFSubImage* last = image.Images()->GetImage(1);
    EXPECT_TRUE(last->GetEmpty());
    EXPECT_EQ(Saved(last), (Bytes{'!', 0xFE, 3, 'e', 'n', 'd', 0}));
}

class TLoudComment : public TGIFCommentExtension {
public:
    using TGIFCommentExtension::TGIFCommentExtension;
    static const TGIFExtensionClassRec Class;
    void LoadFromStream(TStream* Stream) override
    {
        TGIFCommentExtension::LoadFromStream(Stream);
        Text.Add("LOUD");
    }
};
const TGIFExtensionClassRec TLoudComment::Class = {[](TGIFSubImage* f) -> TGIFExtension* { return new TLoudComment(f); },
                                                  TGIFCommentExtension::Class.FindSubExtension};

TEST(Registry, ALaterRegistrationWins)
{
    Bytes blocks{'!', 0xFE, 2, 'h', 'i', 0};
    TGIFImage image;
    ASSERT_EQ(Load(image, WithBlocks(blocks)), "");
    EXPECT_EQ(dynamic_cast<TLoudComment*>(OnlyExtension(image)), nullptr);
    TGIFExtension::RegisterExtension(0xFE, &TLoudComment::Class);
    ASSERT_EQ(Load(image, WithBlocks(blocks)), "");
    auto* loud = dynamic_cast<TLoudComment*>(OnlyExtension(image));
    ASSERT_NE(loud, nullptr);
    EXPECT_EQ(loud->Text[1], "LOUD");
    TGIFExtension::RegisterExtension(0xFE, &TGIFCommentExtension::Class);
}

} // namespace
