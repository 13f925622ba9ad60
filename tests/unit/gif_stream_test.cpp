// Header, colour tables, trailer and the block walk of a GIF stream.
#include "gif_test_support.h"
#include "gifimage/gif_util.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

Bytes Minimal(const char* Signature = "GIF89a")
{
    Bytes b = Header(4, 3, true, 1, 0, Signature);
    Append(b, MinimalFrame(4, 3));
    Append(b, {';'});
    return b;
}

TEST(Signature, AcceptsAnyCaseAnyVersionAndA4BytePrefix)
{
    TGIFImage image;
    EXPECT_EQ(Load(image, Minimal("gif87a")), "");
    EXPECT_EQ(Load(image, Minimal("GiFxyz")), "");
    EXPECT_EQ(image.Images()->GetCount(), 1);
    for (int prefix = 1; prefix <= 5; ++prefix) {
        Bytes b(prefix, 0x55);
        Append(b, Minimal());
        EXPECT_EQ(Load(image, b), prefix == 4 ? "" : "Invalid GIF signature") << prefix;
    }
    EXPECT_EQ(Load(image, Bytes{'G', 'I', 'F'}), "Premature end of data");
}

TEST(Signature, AFailedLoadPutsTheStreamBack)
{
    TGIFImage image;
    TMemoryStream stream;
    Bytes b = Header(4, 3, true, 1);
    Append(b, {',', 0, 0, 0, 0, 4}); // a descriptor cut short
    StreamOf(stream, b);
    stream.SetPosition(0);
    EXPECT_THROW(image.LoadFromStream(&stream), GIFException);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(ColorTable, SizesTwoTo256AreRead)
{
    for (int bits = 0; bits < 8; ++bits) {
        TGIFImage image;
        TMemoryStream stream;
        StreamOf(stream, Header(1, 1, true, bits));
        image.Header()->LoadFromStream(&stream);
        EXPECT_EQ(image.GetColorMap()->Count(), 2 << bits);
        EXPECT_EQ(stream.Position(), 13 + 3 * (2 << bits));
        EXPECT_EQ(image.GetColorMap()->GetColor((2 << bits) - 1), 0x010101u * ((2 << bits) - 1));
    }
    TGIFImage image;
    Bytes cut = Header(1, 1, true, 3);
    cut.resize(cut.size() - 1);
    TMemoryStream stream;
    StreamOf(stream, cut);
    EXPECT_THROW(image.Header()->LoadFromStream(&stream), GIFException);
}

TEST(ColorTable, CountsBeyondATableAreRefusedAndChangeNothing)
{
    TGIFImage image;
    TGIFColorMap* map = image.GetColorMap();
    map->Add(0x123456);
    TMemoryStream stream;
    StreamOf(stream, Bytes(3 * 300, 0xAA));
    EXPECT_EQ(MessageOf([&] { map->LoadFromStream(&stream, 300); }), "Color table overflow");
    EXPECT_EQ(MessageOf([&] { map->LoadFromStream(&stream, -1); }), "Invalid color index");
    EXPECT_EQ(map->Count(), 1);
    EXPECT_EQ(map->GetColor(0), 0x123456u);
    EXPECT_EQ(stream.Position(), 0);
    map->LoadFromStream(&stream, 256);
    EXPECT_EQ(map->Count(), 256);
    map->LoadFromStream(&stream, 0);
    EXPECT_EQ(map->Count(), 0);
}

TEST(ColorTable, ThreeColoursAreWrittenAsFourAndNoneAsNothing)
{
    TGIFImage image;
    TGIFColorMap* map = image.GetColorMap();
    map->Add(0x0000FF);
    map->Add(0x00FF00);
    map->Add(0xFF0000);
    TMemoryStream stream;
    map->SaveToStream(&stream);
    EXPECT_EQ(Contents(stream), (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0}));

    auto* frame = new TGIFSubImage(&image);
    image.Images()->Add(frame);
    frame->DoSetBounds(0, 0, 2, 2);
    TMemoryStream header;
    image.Header()->SaveToStream(&header);
    Bytes h = Contents(header);
    ASSERT_EQ(h.size(), 13u + 12u);
    EXPECT_EQ(Bytes(h.begin(), h.begin() + 6), (Bytes{'G', 'I', 'F', '8', '7', 'a'}));
    EXPECT_EQ(h[10], 0x80 | 0x10 | 0x01); // table, resolution 2 bits, 4 entries

    map->Clear();
    TMemoryStream bare;
    image.Header()->SaveToStream(&bare);
    EXPECT_EQ(bare.Size(), 13);
    EXPECT_EQ(Contents(bare)[10] & 0x80, 0);
}

TEST(ColorTable, CapacityGrowsBy16Then32UpTo256)
{
    TGIFImage image;
    TGIFColorMap* map = image.GetColorMap();
    std::vector<int> capacities;
    for (int i = 0; i < 256; ++i) {
        map->Add(uint32_t(i));
        if (capacities.empty() || capacities.back() != map->Capacity()) capacities.push_back(map->Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{16, 32, 64, 96, 128, 160, 192, 224, 256}));
    try {
        map->Add(0x123456);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message, "Color table overflow");
    }
    map->SetCapacity(3); // below the capacity: nothing
    EXPECT_EQ(map->Capacity(), 256);
}

TEST(ColorTable, BitsPerPixelByCount)
{
    EXPECT_EQ(BitsForColors(0), 0);
    EXPECT_EQ(BitsForColors(1), 1);
    EXPECT_EQ(BitsForColors(2), 1);
    EXPECT_EQ(BitsForColors(3), 2);
    EXPECT_EQ(BitsForColors(5), 3);
    EXPECT_EQ(BitsForColors(129), 8);
    EXPECT_EQ(BitsForColors(256), 8);
    EXPECT_EQ(AlignedRowSize(3, 8, 32), 4);
    EXPECT_EQ(AlignedRowSize(5, 24, 32), 16);
    EXPECT_EQ(AlignedRowSize(9, 1, 32), 4);
}

TEST(ColorTable, IndexErrorsAndWarnings)
{
    TGIFImage image;
    WarningLog log(image);
    TGIFColorMap* map = image.GetColorMap();
    EXPECT_THROW(map->GetColor(0), GIFException); // empty
    map->Add(0x112233);
    map->Add(0x445566);
    EXPECT_EQ(map->GetColor(7), 0x112233u);
    EXPECT_EQ(log.Count("Invalid color index"), 2);
    EXPECT_EQ(log.Senders.back(), map);
    EXPECT_THROW(map->SetColor(2, 0), GIFException);
    EXPECT_THROW(map->Delete(-1), GIFException);
    map->SetColor(1, 0xABCDEF);
    EXPECT_EQ(map->GetColor(1), 0xABCDEFu);

    image.Header()->SetBackgroundColorIndex(5);
    EXPECT_EQ(image.Header()->GetBackgroundColorIndex(), 0);
    EXPECT_EQ(log.Count("Invalid color index"), 3);
    image.Header()->SetBackgroundColor(0x010203);
    EXPECT_EQ(image.Header()->GetBackgroundColorIndex(), 2);
    EXPECT_EQ(image.Header()->GetBackgroundColor(), 0x010203u);
}

TEST(ColorTable, ImportsAreBoundedAndSwapTableEntries)
{
    TGIFImage image;
    TGIFColorMap* map = image.GetColorMap();
    std::vector<TGIFColor> many(300, TGIFColor{1, 2, 3});
    map->Add(0x777777);
    try {
        map->ImportColorMap(many.data(), 300);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message, "Color table overflow");
    }
    EXPECT_EQ(map->Count(), 1); // untouched
    std::vector<uint8_t> quads(300 * 4);
    EXPECT_THROW(map->ImportColorTable(quads.data(), 300), GIFException);

    const uint8_t table[8] = {10, 20, 30, 0, 40, 50, 60, 0}; // blue, green, red, reserved
    map->ImportColorTable(table, 2);
    EXPECT_EQ(map->Count(), 2);
    EXPECT_EQ(map->GetColor(0), TGIFColorMap::RGB2Color({30, 20, 10}));
    map->ImportColorMap(many.data(), 256);
    EXPECT_EQ(map->Count(), 256);

    TEntryPalette palette({{9, 8, 7, 0}, {6, 5, 4, 0}});
    map->ImportPalette(&palette);
    EXPECT_EQ(map->Count(), 2);
    EXPECT_EQ(map->GetColor(1), 0x040506u);
    auto back = map->ExportPalette();
    TPaletteEntry e[2];
    ASSERT_EQ(back->GetEntries(0, 2, e), 2);
    EXPECT_EQ(e[0].peRed, 9);
    EXPECT_EQ(e[1].peFlags, PC_NOCOLLAPSE_FLAG);
    map->Clear();
    EXPECT_EQ(map->ExportPalette(), nullptr);
}

TEST(ColorTable, RgbConversionDropsTheTopByte)
{
    TGIFColor c = TGIFColorMap::Color2RGB(0x80332211);
    EXPECT_EQ(c.Red, 0x11);
    EXPECT_EQ(c.Green, 0x22);
    EXPECT_EQ(c.Blue, 0x33);
    EXPECT_EQ(TGIFColorMap::RGB2Color(c), 0x332211u);
}

// A frame of Pixels.size() x 1 with a local map of Colors entries.
TGIFSubImage* FrameWith(TGIFImage& Image, int Colors, const Bytes& Pixels)
{
    auto* frame = new TGIFSubImage(&Image);
    Image.Images()->Add(frame);
    for (int i = 0; i < Colors; ++i) frame->GetColorMap()->Add(uint32_t(0x010101 * (i + 1)));
    frame->DoSetBounds(0, 0, int(Pixels.size()), 1);
    std::copy(Pixels.begin(), Pixels.end(), frame->Data());
    return frame;
}

TEST(IndexOf, UnsortedFindsTheLastSortedTheFirst)
{
    TGIFImage image;
    TGIFSubImage* frame = FrameWith(image, 0, {0, 0, 2, 5, 5, 5, 1});
    TGIFColorMap* map = frame->GetColorMap();
    for (uint32_t c : {0x10u, 0x20u, 0xAAu, 0x30u, 0x40u, 0xAAu}) map->Add(c);
    EXPECT_EQ(map->IndexOf(0xAA), 5);
    EXPECT_EQ(map->AddUnique(0xAA), 5);
    EXPECT_EQ(map->IndexOf(0xBB), -1);
    // Both copies are used (2 and 5); after sorting by use 5 comes first.
    ASSERT_TRUE(map->Optimize());
    EXPECT_TRUE(map->Optimized());
    EXPECT_EQ(map->Count(), 4);
    EXPECT_EQ(map->IndexOf(0xAA), 0);
    EXPECT_EQ(map->GetColor(1), 0x10u);
    EXPECT_TRUE(map->GetColor(2) == 0xAA || map->GetColor(3) == 0xAA);
    map->Add(0xCC);
    EXPECT_FALSE(map->Optimized());
}

TEST(DoOptimize, SortsByUseInItsOwnOrderAndRemapsEverything)
{
    TGIFImage image;
    // Uses: colour 0 once, 1 three times, 2 never, 3 three times, 4 twice.
    TGIFSubImage* frame = FrameWith(image, 5, {1, 3, 0, 4, 1, 3, 4, 3, 1});
    TGIFColorMap* map = frame->GetColorMap();
    ASSERT_TRUE(map->DoOptimize());
    // The quicksort leaves the tie of 1 and 3 as 3, 1.
    EXPECT_EQ(map->Count(), 4);
    EXPECT_EQ(map->GetColor(0), 0x040404u);
    EXPECT_EQ(map->GetColor(1), 0x020202u);
    EXPECT_EQ(map->GetColor(2), 0x050505u);
    EXPECT_EQ(map->GetColor(3), 0x010101u);
    EXPECT_EQ(Bytes(frame->Data(), frame->Data() + 9), (Bytes{1, 0, 3, 2, 1, 0, 2, 0, 1}));
    EXPECT_EQ(frame->GetVersion(), gv89a); // a sorted table needs 89a
}

TEST(DoOptimize, AlreadySortedChangesNothingButTheFlag)
{
    TGIFImage image;
    TGIFSubImage* frame = FrameWith(image, 3, {0, 0, 0, 1, 1, 2});
    TGIFColorMap* map = frame->GetColorMap();
    EXPECT_TRUE(map->DoOptimize());
    EXPECT_TRUE(map->Optimized());
    EXPECT_EQ(map->Count(), 3);
    EXPECT_EQ(map->GetColor(2), 0x030303u);
    EXPECT_EQ(Bytes(frame->Data(), frame->Data() + 6), (Bytes{0, 0, 0, 1, 1, 2}));

    TGIFSubImage* single = FrameWith(image, 1, {0});
    EXPECT_FALSE(single->GetColorMap()->DoOptimize());
    EXPECT_FALSE(single->GetColorMap()->Optimized());
}

TEST(DoOptimize, GlobalMapRemapsFramesAndTheBackgroundIndex)
{
    TGIFImage image;
    TGIFColorMap* global = image.GetColorMap();
    for (uint32_t c : {0x11u, 0x22u, 0x33u}) global->Add(c);
    image.Header()->SetBackgroundColorIndex(2);
    EXPECT_FALSE(global->Optimize()); // no frames yet
    TGIFSubImage* a = FrameWith(image, 0, {2, 2, 1});
    TGIFSubImage* b = FrameWith(image, 0, {2, 0});
    TGIFSubImage* own = FrameWith(image, 2, {0, 0, 0, 0, 0}); // its own map: not counted
    ASSERT_TRUE(global->Optimize());
    EXPECT_EQ(global->GetColor(0), 0x33u);
    EXPECT_EQ(a->Data()[0], 0);
    EXPECT_EQ(a->Data()[2], 1);
    EXPECT_EQ(b->Data()[1], 2);
    EXPECT_EQ(own->Data()[0], 0);
    // The background still names the same colour.
    EXPECT_EQ(image.Header()->GetBackgroundColorIndex(), 0);
    EXPECT_EQ(image.Header()->GetBackgroundColor(), 0x33u);
    EXPECT_EQ(image.Header()->GetVersion(), gv89a);
}

TEST(Header, VersionAndPackedFields)
{
    TGIFImage image;
    EXPECT_EQ(image.GetVersion(), gvUnknown);
    TMemoryStream stream;
    try {
        image.SaveToStream(&stream);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message, "Unsupported GIF version");
    }
    EXPECT_EQ(image.Header()->GetVersion(), gv87a);
    image.Header()->SetAspectRatio(49);
    EXPECT_EQ(image.Header()->GetVersion(), gv89a);

    TGIFImage copy;
    copy.Header()->Assign(image.Header());
    EXPECT_EQ(copy.Header()->GetAspectRatio(), 49);
    TStringList other;
    EXPECT_THROW(copy.Header()->Assign(&other), EConvertError);
}

TEST(BlockWalk, SkipsZeroBytesAndWarnsOnAnUnknownByte)
{
    TGIFImage image;
    WarningLog log(image);
    Bytes b = Header(4, 3, true);
    Append(b, {0, 0});
    Append(b, MinimalFrame(4, 3));
    Append(b, {0});
    Append(b, MinimalFrame(2, 2));
    Append(b, {0, 0, 0, ';'});
    EXPECT_EQ(Load(image, b), "");
    EXPECT_EQ(image.Images()->GetCount(), 2);
    EXPECT_TRUE(log.Messages.empty());
    EXPECT_EQ(image.Images()->GetImage(1)->GetWidth(), 2);

    Bytes odd = Header(4, 3, true);
    Append(odd, MinimalFrame(4, 3));
    Append(odd, {'X'});
    Append(odd, MinimalFrame(4, 3));
    Append(odd, {';'});
    TMemoryStream stream;
    StreamOf(stream, odd);
    image.LoadFromStream(&stream);
    EXPECT_EQ(image.Images()->GetCount(), 1);
    EXPECT_EQ(log.Count("Unknown GIF block type"), 1);
    // The walk stopped on the byte, which the trailer then refuses.
    EXPECT_EQ(log.Count("Invalid Image trailer"), 1);
    EXPECT_EQ(stream.Position(), int64_t(odd.size() - MinimalFrame(4, 3).size() - 1));
}

TEST(BlockWalk, AMissingTrailerIsNoProblem)
{
    TGIFImage image;
    WarningLog log(image);
    Bytes b = Header(4, 3, true);
    Append(b, MinimalFrame(4, 3));
    EXPECT_EQ(Load(image, b), "");
    EXPECT_EQ(image.Images()->GetCount(), 1);
    EXPECT_TRUE(log.Messages.empty());
}

TEST(BlockWalk, ProgressStaysInRangeBeyond21MB)
{
    TGIFImage image;
    std::vector<int> percents;
    OnProgressOf(image, [&](TObject*, TProgressStage Stage, int Percent, bool, const std::string& Message) {
        if (Stage == psRunning) percents.push_back(Percent);
        EXPECT_EQ(Message, "Loading...");
    });
    Bytes b = Header(4, 3, true);
    b.resize(b.size() + 24 * 1024 * 1024, 0); // zero bytes between blocks are skipped
    Append(b, MinimalFrame(4, 3));
    b.resize(b.size() + 1024 * 1024, 0);
    Append(b, MinimalFrame(4, 3));
    Append(b, {';'});
    EXPECT_EQ(Load(image, b), "");
    ASSERT_EQ(percents.size(), 2u);
    EXPECT_EQ(percents[0], 95); // 25165857 x 100 / 26214448
    EXPECT_EQ(percents[1], 99);
}

TEST(Trailer, WrongByteWarnsNothingReadIsQuiet)
{
    TGIFImage image;
    WarningLog log(image);
    TGIFTrailer trailer(&image);
    TMemoryStream stream;
    trailer.LoadFromStream(&stream);
    EXPECT_TRUE(log.Messages.empty());
    StreamOf(stream, Bytes{'x'});
    trailer.LoadFromStream(&stream);
    EXPECT_EQ(log.Count("Invalid Image trailer"), 1);
    EXPECT_EQ(log.Senders[0], &trailer);
    StreamOf(stream, Bytes{});
    trailer.SaveToStream(&stream);
    EXPECT_EQ(Contents(stream), Bytes{';'});
}

TEST(TextBlocks, LongLinesSplitEmptyLinesVanish)
{
    TStringList lines;
    lines.Add(std::string(300, 'a'));
    lines.Add("");
    lines.Add("end");
    TMemoryStream stream;
    WriteTextBlocks(&stream, lines);
    Bytes b = Contents(stream);
    ASSERT_EQ(b.size(), 1 + 255 + 1 + 45 + 1 + 3 + 1u);
    EXPECT_EQ(b[0], 255);
    EXPECT_EQ(b[256], 45);
    EXPECT_EQ(b.back(), 0);
    stream.SetPosition(0);
    TStringList back;
    back.Add("stale");
    ReadTextBlocks(&stream, back);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back[0].size(), 255u);
    EXPECT_EQ(back[1].size(), 45u);
    EXPECT_EQ(back[2], "end");

    Bytes zero = {4, 'a', 0, 'b', 'c', 0};
    StreamOf(stream, zero);
    ReadTextBlocks(&stream, back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back[0], "a"); // cut at its first 0 byte
}

// An item that notes in Log when it is freed.
struct NotedItem : TGIFItem {
    NotedItem(TGIFImage* Image, std::vector<int>& Log, int Id) : TGIFItem(Image), Log(Log), Id(Id) {}
    ~NotedItem() override { Log.push_back(Id); }
    void SaveToStream(TStream*) override {}
    void LoadFromStream(TStream*) override {}
    std::vector<int>& Log;
    const int Id;
};

TEST(List, ClearFreesEveryItemInIndexOrderDeleteFreesRemoveDoesNot)
{
    TGIFImage image;
    std::vector<int> freed;
    TGIFExtensionList list(&image);
    for (int i = 0; i < 5; ++i) list.Add(new NotedItem(&image, freed, i));
    auto* kept = static_cast<NotedItem*>(list.GetItem(4));
    EXPECT_EQ(list.Remove(kept), 4);
    list.Delete(1);
    EXPECT_EQ(freed, std::vector<int>{1});
    list.Clear();
    EXPECT_EQ(freed, (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(list.GetCount(), 0);
    list.Clear(); // empty: nothing happens
    delete kept;
}

double SecondsFor(const std::function<void()>& Work)
{
    const auto start = std::chrono::steady_clock::now();
    Work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(List, FreeingHugeListsTakesLinearTime)
{
    // 100,000 items freed one by one take well under a second; removing
    // each from the front of the list first took minutes here. The bound
    // is loose so that only that form fails it.
    const int n = 100000;
    auto* image = new TGIFImage;
    auto* frame = new TGIFSubImage(image);
    image->Images()->Add(frame);
    for (int i = 0; i < n; ++i) frame->Extensions()->Add(new TGIFCommentExtension(frame));
    for (int i = 0; i < n; ++i) image->Images()->Add(new TGIFSubImage(image));
    EXPECT_LT(SecondsFor([&] { delete image; }), 10.0);

    // A load that fails after 200,000 comments (1 MB) frees them on its way out.
    Bytes b = Header(1, 1, true);
    for (int i = 0; i < 2 * n; ++i) Append(b, {'!', 0xFE, 1, 'x', 0});
    Append(b, {'!', 0x77, 0}); // a label nobody registered
    TGIFImage failed;
    EXPECT_LT(SecondsFor([&] { EXPECT_EQ(Load(failed, b), "Unknown extension type"); }), 10.0);
}

} // namespace
