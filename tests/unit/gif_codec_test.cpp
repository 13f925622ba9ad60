// LZW decoding and the two encoders, through whole frames and at the byte level.
#include "gif_test_support.h"
#include "gifimage/gif_encoder.h"
#include "gifimage/gif_util.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

// An image of one Width x Height frame with a local table of 2^Bits colours.
TGIFSubImage* MakeFrame(TGIFImage& Image, int Bits, int Width, int Height, const Bytes& Pixels, bool Interlaced)
{
    auto* frame = new TGIFSubImage(&Image);
    Image.Images()->Add(frame);
    for (int i = 0; i < (1 << Bits); ++i) frame->GetColorMap()->Add(uint32_t(i * 0x010101));
    frame->DoSetBounds(0, 0, Width, Height);
    std::copy(Pixels.begin(), Pixels.end(), frame->Data());
    frame->SetInterlaced(Interlaced);
    return frame;
}

Bytes Pixels(const TGIFSubImage* Frame) { return Bytes(Frame->Data(), Frame->Data() + Frame->DataSize()); }

Bytes RandomPixels(std::mt19937& random, int Count, int Colors)
{
    Bytes b(Count);
    for (auto& p : b) p = uint8_t(random() % Colors);
    return b;
}

// Runs of random length and value, a gradient, and a repeating pattern.
Bytes StructuredPixels(std::mt19937& random, int Width, int Height, int Colors)
{
    Bytes b;
    while (int(b.size()) < Width * Height / 3) b.insert(b.end(), 1 + random() % 300, uint8_t(random() % Colors));
    for (int i = 0; int(b.size()) < 2 * Width * Height / 3; ++i) b.push_back(uint8_t((i / 7) % Colors));
    for (int i = 0; int(b.size()) < Width * Height; ++i) b.push_back(uint8_t((i * i) % Colors));
    b.resize(Width * Height);
    return b;
}

Bytes RoundTrip(TGIFCompression Compression, int Bits, int Width, int Height, const Bytes& In, bool Interlaced)
{
    TGIFImage image;
    image.Compression = Compression;
    MakeFrame(image, Bits, Width, Height, In, Interlaced);
    Bytes file = Save(image);
    TGIFImage back;
    WarningLog log(back);
    EXPECT_EQ(Load(back, file), "");
    EXPECT_TRUE(log.Messages.empty());
    EXPECT_EQ(back.Images()->GetCount(), 1);
    return back.Images()->GetCount() ? Pixels(back.Images()->GetImage(0)) : Bytes{};
}

TEST(RoundTrip, EveryDepthBothEncodersInterlacedOrNot)
{
    std::mt19937 random(1234);
    for (TGIFCompression compression : {gcLZW, gcRLE})
        for (int bits = 1; bits <= 8; ++bits)
            for (bool interlaced : {false, true})
                for (auto [w, h] : {std::pair{1, 1}, {3, 5}, {61, 37}, {256, 129}}) {
                    SCOPED_TRACE(testing::Message() << "compression " << compression << " bits " << bits << " interlaced "
                                                    << interlaced << " " << w << "x" << h);
                    Bytes r = RandomPixels(random, w * h, 1 << bits);
                    EXPECT_EQ(RoundTrip(compression, bits, w, h, r, interlaced), r);
                    Bytes s = StructuredPixels(random, w, h, 1 << bits);
                    EXPECT_EQ(RoundTrip(compression, bits, w, h, s, interlaced), s);
                }
}

TEST(RoundTrip, LongRunsAndTableRestarts)
{
    // One colour over a large frame: runs far beyond any table, many clears.
    Bytes flat(700 * 500, 3);
    EXPECT_EQ(RoundTrip(gcRLE, 2, 700, 500, flat, false), flat);
    EXPECT_EQ(RoundTrip(gcLZW, 2, 700, 500, flat, false), flat);
    // Random 8-bit data fills the LZW table again and again.
    std::mt19937 random(99);
    Bytes noise = RandomPixels(random, 640 * 480, 256);
    EXPECT_EQ(RoundTrip(gcLZW, 8, 640, 480, noise, false), noise);
    EXPECT_EQ(RoundTrip(gcRLE, 8, 640, 480, noise, true), noise);
}

TEST(Encoder, RleOfOneColourIsShort)
{
    TGIFImage image;
    image.Compression = gcRLE;
    MakeFrame(image, 4, 100, 100, Bytes(10000, 7), false);
    TMemoryStream stream;
    image.Images()->GetImage(0)->Compress(&stream);
    EXPECT_LT(stream.Size(), 400);
    stream.SetPosition(0);
    EXPECT_EQ(GetByte(&stream), 4);
}

TEST(Encoder, OneBitFramesUseCodeSizeTwo)
{
    TGIFImage image;
    MakeFrame(image, 1, 4, 1, {1, 0, 1, 1}, false);
    TMemoryStream stream;
    image.Images()->GetImage(0)->Compress(&stream);
    Bytes b = Contents(stream);
    ASSERT_GE(b.size(), 3u);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[2] & 7, 4); // the clear code, 3 bits wide
}

TEST(Encoder, NoPixelsWriteTheEndCodeOnly)
{
    for (TGIFEncoder* encoder : std::initializer_list<TGIFEncoder*>{new TLZWEncoder, new TRLEEncoder}) {
        TMemoryStream stream;
        encoder->Compress(&stream, 1, 0, 5, false, nullptr, 2);
        EXPECT_EQ(Contents(stream), (Bytes{2, 1, 5, 0}));
        delete encoder;
    }
}

TEST(Encoder, RefusesColoursBeyondTheTable)
{
    TGIFImage image;
    TGIFSubImage* frame = MakeFrame(image, 3, 4, 1, {0, 1, 5, 2}, false);
    frame->GetColorMap()->Delete(7);
    frame->GetColorMap()->Delete(6);
    frame->GetColorMap()->Delete(5); // 5 colours left: index 5 no longer exists
    for (TGIFCompression c : {gcLZW, gcRLE}) {
        image.Compression = c;
        TMemoryStream stream;
        try {
            frame->Compress(&stream);
            ADD_FAILURE();
        } catch (const GIFException& e) {
            EXPECT_EQ(e.Message, "Color not in color table");
        }
        EXPECT_GT(stream.Size(), 0); // what was written stays
    }
}

TEST(Encoder, InterlacedRowsGoOutInPassOrder)
{
    for (int h : {2, 3, 4, 5, 9}) {
        TGIFImage image;
        Bytes rows;
        for (int y = 0; y < h; ++y) rows.insert(rows.end(), 3, uint8_t(y));
        TGIFSubImage* frame = MakeFrame(image, 4, 3, h, rows, true);
        TMemoryStream stream;
        frame->Compress(&stream);
        // Decoded as if not interlaced, the rows appear in stream order.
        frame->SetInterlaced(false);
        stream.SetPosition(0);
        frame->Decompress(&stream);
        std::vector<int> order;
        for (int y = 0; y < h; ++y) order.push_back(frame->Data()[y * 3]);
        std::vector<int> expected;
        for (int start : {0, 4, 2, 1})
            for (int y = start; y < h; y += start == 0 ? 8 : start * 2) expected.push_back(y);
        EXPECT_EQ(order, expected) << h;
    }
}

TEST(Writer, SubBlocksHoldAtMost255Bytes)
{
    for (int n : {1, 254, 255, 256, 510, 600}) {
        TMemoryStream stream;
        {
            TGIFWriter writer(&stream);
            Bytes data(n, 0xAB);
            writer.Write(data.data(), n);
            writer.Flush();
        }
        Bytes b = Contents(stream);
        size_t expected = n + (n + 254) / 255;
        ASSERT_EQ(b.size(), expected) << n;
        EXPECT_EQ(b[0], std::min(n, 255));
        if (n > 255) {
            EXPECT_EQ(b[256], std::min(n - 255, 255));
        }
    }
    TMemoryStream target;
    TGIFWriter writer(&target);
    char c;
    EXPECT_THROW(writer.Read(&c, 1), Exception);
    EXPECT_THROW(writer.Seek(0, soBeginning), Exception);
}

TEST(HashTable, ProbesVisitEverySlotAndKeysFindTheirCodes)
{
    THashTable table(4096);
    EXPECT_EQ(table.SlotCount(), 8192);
    EXPECT_EQ(THashTable(100).SlotCount(), 256); // a small frame clears a small table
    for (int start : {0, 1, 4004, 8191}) {
        std::vector<bool> seen(table.SlotCount());
        int slot = start;
        for (int i = 0; i < table.SlotCount(); ++i, slot = table.NextProbeSlot(slot)) seen[slot] = true;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), true), table.SlotCount());
        EXPECT_EQ(slot, start);
    }
    // A whole generation of keys, among them runs of consecutive prefixes
    // with one pixel, as flat pictures make them.
    std::mt19937 random(3);
    std::vector<std::pair<int, int>> keys;
    for (int p = 0; p < 2000; ++p) keys.push_back({p, 7});
    while (keys.size() < 4094) keys.push_back({int(random() % 4095), int(random() % 256)});
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (size_t i = 0; i < keys.size(); ++i) {
        int slot;
        ASSERT_EQ(table.FindCode(keys[i].first, keys[i].second, slot), -1);
        table.Insert(slot, keys[i].first, keys[i].second, int(i));
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        int slot;
        EXPECT_EQ(table.FindCode(keys[i].first, keys[i].second, slot), int(i));
    }
    table.Clear();
    int slot;
    EXPECT_EQ(table.FindCode(keys[0].first, keys[0].second, slot), -1);
}

// Image data for a frame: minimum code size, then Data split into sub-blocks of Chunk bytes.
Bytes ImageData(int MinCodeSize, const Bytes& Data, size_t Chunk)
{
    Bytes b{uint8_t(MinCodeSize)};
    for (size_t i = 0; i < Data.size(); i += Chunk) {
        size_t n = std::min(Chunk, Data.size() - i);
        b.push_back(uint8_t(n));
        b.insert(b.end(), Data.begin() + i, Data.begin() + i + n);
    }
    b.push_back(0);
    return b;
}

// The codes of Data re-blocked: minimum code size and the raw code bytes.
std::pair<int, Bytes> Codes(const Bytes& ImageData)
{
    Bytes raw;
    size_t i = 1;
    while (i < ImageData.size() && ImageData[i] > 0) {
        raw.insert(raw.end(), ImageData.begin() + i + 1, ImageData.begin() + i + 1 + ImageData[i]);
        i += 1 + ImageData[i];
    }
    return {ImageData[0], raw};
}

// Decodes image data into a fresh frame of Width x Height.
struct Decoded {
    Bytes Pixels;
    std::vector<std::string> Warnings;
    std::string Error;
    int64_t Position;
};

Decoded Decode(const Bytes& Data, int Width, int Height, bool Interlaced = false, int Transparent = -1)
{
    TGIFImage image;
    WarningLog log(image);
    auto* frame = new TGIFSubImage(&image);
    image.Images()->Add(frame);
    frame->DoSetBounds(0, 0, Width, Height);
    frame->SetInterlaced(Interlaced);
    if (Transparent >= 0) {
        auto* gce = new TGIFGraphicControlExtension(frame);
        frame->Extensions()->Add(gce);
        gce->SetTransparentColorIndex(uint8_t(Transparent));
        gce->SetTransparent(true);
    }
    TMemoryStream stream;
    StreamOf(stream, Data);
    Decoded d;
    try {
        frame->Decompress(&stream);
    } catch (const GIFException& e) {
        d.Error = e.Message;
    }
    d.Pixels = Pixels(frame);
    d.Warnings = log.Messages;
    d.Position = stream.Position();
    return d;
}

Bytes Encode(int Bits, int Width, int Height, const Bytes& In, bool Interlaced = false)
{
    TGIFImage image;
    TGIFSubImage* frame = MakeFrame(image, Bits, Width, Height, In, Interlaced);
    TMemoryStream stream;
    frame->Compress(&stream);
    return Contents(stream);
}

TEST(Decoder, OneByteSubBlocksWithWideCodes)
{
    std::mt19937 random(5);
    Bytes in = RandomPixels(random, 200 * 50, 256);
    auto [size, raw] = Codes(Encode(8, 200, 50, in));
    for (size_t chunk : {1, 2, 3, 255}) {
        Decoded d = Decode(ImageData(size, raw, chunk), 200, 50);
        EXPECT_EQ(d.Pixels, in) << chunk;
        EXPECT_TRUE(d.Warnings.empty()) << chunk;
        EXPECT_EQ(d.Error, "");
    }
}

TEST(Decoder, StreamStandsAfterTheImageData)
{
    Bytes in(30, 1);
    Bytes data = Encode(2, 6, 5, in);
    Bytes more = data;
    Append(more, {';'});
    Decoded d = Decode(more, 6, 5);
    EXPECT_EQ(d.Pixels, in);
    EXPECT_EQ(d.Position, int64_t(data.size()));
    // Surplus codes past the last pixel are skipped, so the next block is found.
    Decoded smaller = Decode(more, 5, 5);
    EXPECT_EQ(smaller.Position, int64_t(data.size()));
}

// Packs 3-bit codes (minimum code size 2) least significant bit first.
Bytes ThreeBitCodes(std::initializer_list<int> Codes)
{
    Bytes b;
    int bits = 0;
    for (int code : Codes) {
        for (int i = 0; i < 3; ++i, ++bits) {
            if (bits % 8 == 0) b.push_back(0);
            b.back() |= uint8_t(((code >> i) & 1) << (bits % 8));
        }
    }
    return b;
}

TEST(Decoder, DataWithoutClearCodeDecodesAsAfterOne)
{
    Decoded d = Decode(ImageData(2, ThreeBitCodes({1, 2, 3, 5}), 255), 3, 1);
    EXPECT_EQ(d.Pixels, (Bytes{1, 2, 3}));
    EXPECT_TRUE(d.Warnings.empty());
}

TEST(Decoder, AClearCodeFollowedByAnythingButALiteralEndsTheFrame)
{
    // Size 8, 9-bit codes: clear (256), end (257). No pixel takes the end code.
    Bytes clearEnd = ImageData(8, {0x00, 0x03, 0x02, 0x00}, 255);
    Decoded d = Decode(clearEnd, 4, 1, false, 9);
    EXPECT_EQ(d.Pixels, Bytes(4, 9));
    EXPECT_EQ(d.Warnings, std::vector<std::string>{"Corrupt image data"});
    EXPECT_EQ(d.Position, int64_t(clearEnd.size()));
    // Size 2, after two pixels: clear, then 7, a code no table holds yet.
    // The rest of the data (more sub-blocks) is passed over.
    Bytes late = ImageData(2, ThreeBitCodes({4, 1, 2, 4, 7, 1, 1, 1, 1, 5}), 1);
    d = Decode(late, 6, 1);
    EXPECT_EQ(d.Pixels, (Bytes{1, 2, 0, 0, 0, 0}));
    EXPECT_EQ(d.Warnings, std::vector<std::string>{"Corrupt image data"});
    EXPECT_EQ(d.Position, int64_t(late.size()));
    // A clear code and the end code after the last pixel end well-formed data.
    d = Decode(ImageData(2, ThreeBitCodes({4, 1, 2, 4, 5}), 255), 2, 1);
    EXPECT_EQ(d.Pixels, (Bytes{1, 2}));
    EXPECT_TRUE(d.Warnings.empty());
}

TEST(Decoder, DataEndingWithinACodeWarnsOfTheUnderRun)
{
    // Clear, 1, and two bits of the next code; then the terminator.
    Bytes cut = ImageData(2, {ThreeBitCodes({4, 1, 2})[0]}, 255);
    Decoded d = Decode(cut, 3, 1, false, 6);
    EXPECT_EQ(d.Pixels, (Bytes{1, 6, 6}));
    EXPECT_GE(std::count(d.Warnings.begin(), d.Warnings.end(), "Decoder bit buffer under-run"), 1);
    EXPECT_EQ(d.Position, int64_t(cut.size()));
    // A last code that ends exactly with the data still counts: clear, 1,
    // 2, 3 at 3 bits, then (the table reaching 8) 1 at 4 bits fill 2 bytes.
    Decoded exact = Decode(ImageData(2, {0x8C, 0x16}, 255), 4, 1);
    EXPECT_EQ(exact.Pixels, (Bytes{1, 2, 3, 1}));
}

TEST(Decoder, KwKwKCodeRepeatsThePreviousString)
{
    // Size 2: clear(4), 1, 6 (the next free code: "1 1"), end(5): pixels 1 1 1.
    Bytes data = ImageData(2, {uint8_t(4 | 1 << 3 | (6 & 3) << 6), uint8_t(6 >> 2 | 5 << 1)}, 255);
    EXPECT_EQ(Decode(data, 3, 1).Pixels, (Bytes{1, 1, 1}));
}

TEST(Decoder, EarlyEndKeepsTheFillAndLeavesTheStreamAfterTheTerminator)
{
    Bytes in(40, 2);
    auto [size, raw] = Codes(Encode(2, 40, 1, in));
    // The same codes for a frame of twice the size: the data ends half way.
    Bytes data = ImageData(size, raw, 255);
    Decoded d = Decode(data, 40, 2, false, 3);
    EXPECT_EQ(Bytes(d.Pixels.begin(), d.Pixels.begin() + 40), in);
    EXPECT_EQ(Bytes(d.Pixels.begin() + 40, d.Pixels.end()), Bytes(40, 3));
    EXPECT_EQ(d.Position, int64_t(data.size()));
}

TEST(Decoder, ShortSubBlockWarnsOnceAndUsesWhatIsThere)
{
    Bytes in(50 * 20, 1);
    for (size_t i = 0; i < in.size(); i += 7) in[i] = 2;
    auto [size, raw] = Codes(Encode(2, 50, 20, in));
    ASSERT_GT(raw.size(), 50u);
    Bytes data(raw.begin(), raw.begin() + 50);
    data.insert(data.begin(), {uint8_t(size), 200});
    Decoded d = Decode(data, 50, 20);
    int premature = int(std::count(d.Warnings.begin(), d.Warnings.end(), "Premature end of data"));
    EXPECT_EQ(premature, 1);
    // Every code held in the 50 bytes was decoded.
    size_t same = 0;
    while (same < in.size() && d.Pixels[same] == in[same]) ++same;
    EXPECT_GT(same, 50u);
}

TEST(Decoder, InterlacedFramesOfFewRowsVisitEachRowOnce)
{
    for (int h : {1, 2, 3, 5, 8, 9, 17}) {
        Bytes rows;
        for (int y = 0; y < h; ++y) rows.insert(rows.end(), 4, uint8_t(y % 16));
        Decoded d = Decode(Encode(4, 4, h, rows, true), 4, h, true);
        EXPECT_EQ(d.Pixels, rows) << h;
    }
}

TEST(Decoder, RefusesCodeSizesBeyondTheTable)
{
    for (int size : {12, 13, 255}) {
        Decoded d = Decode(ImageData(size, {0xFF, 0xFF, 0xFF}, 255), 4, 4);
        EXPECT_EQ(d.Error, "Invalid LZW code size") << size;
    }
    for (int size : {0, 1, 9, 11}) // unusual but within the table
        EXPECT_EQ(Decode(ImageData(size, {0x12, 0x34, 0x56, 0x78}, 255), 4, 4).Error, "") << size;
}

TEST(Decoder, CyclesInTheTableAreRefused)
{
    // Size 3, 4-bit codes: clear, 0, 12, 11, 0 make entries 11 -> 12 -> 11; then 11, end.
    Bytes cycle = ImageData(3, {0x08, 0xBC, 0xB0, 0x09}, 255);
    EXPECT_EQ(Decode(cycle, 100, 100).Error, "Circular decoder table entry");
    // An entry that is its own prefix: clear, 0, 11, 11 make entry 11 -> 11; then 11, end.
    Bytes self = ImageData(3, {0x08, 0xBB, 0x9B}, 255);
    EXPECT_EQ(Decode(self, 100, 1).Error, "Circular decoder table entry");
}

TEST(Decoder, HugeDescriptorsAreRefusedNotAllocated)
{
    // A 34-byte file that announces a 65535 x 65535 frame.
    Bytes b = Header(65535, 65535, false);
    Append(b, {',', 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0});
    Append(b, {2, 2, 0x4C, 0x01, 0, ';'});
    TGIFImage image;
    EXPECT_EQ(Load(image, b), "Image dimensions too large");
    // A zero-sized frame takes the screen's size, which is refused the same way.
    Bytes zero = Header(60000, 60000, false);
    Append(zero, {',', 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Append(zero, {2, 2, 0x4C, 0x01, 0, ';'});
    EXPECT_EQ(Load(image, zero), "Image dimensions too large");
}

TEST(Decoder, AllFramesOfAnImageTogetherAreBounded)
{
    // 613 bytes announcing 40 frames of 4096 x 8192: two fill the budget.
    Bytes b = Header(4096, 8192, false);
    for (int i = 0; i < 40; ++i) Append(b, MinimalFrame(4096, 8192));
    Append(b, {';'});
    TGIFImage image;
    WarningLog log(image);
    EXPECT_EQ(Load(image, b), "Image frames too large in total");
    EXPECT_EQ(image.Images()->GetCount(), 2); // what was read stays
    EXPECT_EQ(image.PixelCount(), MaxImagePixels);
    image.Clear();
    EXPECT_EQ(image.PixelCount(), 0);

    // Frames made in code count the same; a freed frame gives its pixels back.
    auto* first = new TGIFSubImage(&image);
    image.Images()->Add(first);
    first->DoSetBounds(0, 0, 4096, 8192);
    auto* second = new TGIFSubImage(&image);
    image.Images()->Add(second);
    second->DoSetBounds(0, 0, 4096, 8192);
    auto* third = new TGIFSubImage(&image);
    image.Images()->Add(third);
    EXPECT_EQ(MessageOf([&] { third->DoSetBounds(0, 0, 1, 1); }), "Image frames too large in total");
    image.Images()->Delete(0);
    third->DoSetBounds(0, 0, 1, 1);
    EXPECT_EQ(image.PixelCount(), MaxFramePixels + 1);
}

// A plain LZW writer over a std::map, for the code streams other writers
// make. FullCodes < 0: the encoder's rule, a clear code instead of taking
// code 4095. Otherwise the table fills to 4096 entries, FullCodes codes go
// out with the full table (at 12 bits, nothing added), then a clear code.
// Answers the image data; FullWritten counts the codes of full tables.
Bytes PlainLzw(const Bytes& Pixels, int Bits, int FullCodes, int* FullWritten = nullptr)
{
    Bits = std::max(Bits, 2);
    const int clear = 1 << Bits, end = clear + 1;
    Bytes raw;
    uint32_t bucket = 0;
    int bitCount = 0, width = Bits + 1, next = clear + 2, full = 0;
    std::map<std::pair<int, int>, int> table;
    auto put = [&](int Code) {
        bucket |= uint32_t(Code) << bitCount;
        for (bitCount += width; bitCount >= 8; bitCount -= 8, bucket >>= 8) raw.push_back(uint8_t(bucket));
        // The width grows once the last code was taken, up to 12.
        if (Code == clear) width = Bits + 1;
        else if (next > (1 << width) - 1 && width < 12) ++width;
    };
    auto restart = [&] {
        put(clear);
        table.clear();
        next = clear + 2;
        full = 0;
    };
    restart();
    int prefix = Pixels[0];
    for (size_t i = 1; i < Pixels.size(); ++i) {
        const std::pair<int, int> key{prefix, Pixels[i]};
        auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        put(prefix);
        prefix = Pixels[i];
        if (next < (FullCodes < 0 ? 4095 : 4096)) {
            table[key] = next++;
        } else if (FullCodes < 0 || full++ == FullCodes) {
            restart();
        } else if (FullWritten) {
            ++*FullWritten;
        }
    }
    put(prefix);
    put(end);
    if (bitCount > 0) raw.push_back(uint8_t(bucket));
    return ImageData(Bits, raw, 255);
}

// The pixels in the order an interlaced frame writes them.
Bytes PassOrder(const Bytes& Pixels, int Width, int Height)
{
    Bytes b;
    for (int start : {0, 4, 2, 1})
        for (int y = start; y < Height; y += start == 0 ? 8 : start * 2)
            b.insert(b.end(), Pixels.begin() + y * Width, Pixels.begin() + (y + 1) * Width);
    return b;
}

TEST(Encoder, WritesTheCodesOfPlainLzw)
{
    // The bytes written are those of the plain algorithm, whatever the
    // encoder's table does: pictures of every depth, flat and noisy, some
    // long enough to restart the table many times.
    std::mt19937 random(11);
    for (int bits = 1; bits <= 8; ++bits)
        for (bool interlaced : {false, true})
            for (auto [w, h] : {std::pair{1, 1}, {5, 3}, {97, 61}, {640, 200}}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << w << "x" << h << " interlaced " << interlaced);
                for (const Bytes& in : {RandomPixels(random, w * h, 1 << bits), StructuredPixels(random, w, h, 1 << bits),
                                        Bytes(w * h, uint8_t((1 << bits) - 1))}) {
                    const Bytes order = interlaced ? PassOrder(in, w, h) : in;
                    EXPECT_EQ(Encode(bits, w, h, in, interlaced), PlainLzw(order, bits, -1));
                }
            }
}

TEST(Decoder, AFullTableKeepsTwelveBitsUntilAClearCode)
{
    // Writers that do not clear a full table go on with 12-bit codes and
    // add nothing; the decoder must do the same, for as long as they go on.
    std::mt19937 random(77);
    const Bytes in = RandomPixels(random, 300 * 300, 64);
    for (int fullCodes : {200000, 0, 1, 2500}) {
        int written = 0;
        const Bytes data = PlainLzw(in, 6, fullCodes, &written);
        EXPECT_GT(written, fullCodes == 200000 ? 30000 : fullCodes - 1) << fullCodes;
        Decoded d = Decode(data, 300, 300);
        EXPECT_EQ(d.Pixels, in) << fullCodes;
        EXPECT_TRUE(d.Warnings.empty()) << fullCodes;
        EXPECT_EQ(d.Position, int64_t(data.size())) << fullCodes;
    }
    // The encoder's own streams restart at 4094 and decode as well.
    EXPECT_EQ(Decode(Encode(6, 300, 300, in), 300, 300).Pixels, in);
}

} // namespace
