// Graphics of the toolkit: bitmaps in memory, streams and resources, the
// picture registry by extension and by class name, form data, and that
// replacing a picture frees what it replaces.
#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/formdata.h"
#include "toolkit/graphic_controls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr TColor Red = 0x2030E0, Blue = 0xC06010, Green = 0x40A020; // the sample's colours

HINSTANCE Self() { return ::GetModuleHandleA(nullptr); }

std::string TempFile(const char* Name)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + Name;
}

TEST(Bitmap, ResourceKeepsSizeFormatAndColours)
{
    TBitmap bitmap;
    bitmap.LoadFromResourceID(Self(), 1);
    EXPECT_EQ(6, bitmap.Width());
    EXPECT_EQ(4, bitmap.Height());
    EXPECT_EQ(pf8bit, bitmap.PixelFormat());
    EXPECT_EQ(Red, bitmap.Canvas()->Pixel(0, 0));
    EXPECT_EQ(Blue, bitmap.Canvas()->Pixel(3, 1));
    EXPECT_EQ(Green, bitmap.Canvas()->Pixel(5, 3));
    // Row 0 is the top row: the red pixel's index differs from its neighbour's.
    auto* top = static_cast<uint8_t*>(bitmap.ScanLine(0));
    EXPECT_NE(top[0], top[1]);
    EXPECT_THROW(bitmap.LoadFromResourceID(Self(), 999), EResNotFound);
    EXPECT_EQ(6, bitmap.Width()); // a failed load leaves the picture alone
}

TEST(Bitmap, StreamRoundTripKeepsPixelBytesAndPalette)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(5, 3);
    for (int row = 0; row < 3; ++row) {
        auto* line = static_cast<uint8_t*>(bitmap.ScanLine(row));
        for (int x = 0; x < 5; ++x) line[x] = static_cast<uint8_t>(row * 50 + x);
    }
    TMemoryStream stream;
    bitmap.SaveToStream(&stream);
    stream.SetPosition(0);
    TBitmap copy;
    copy.LoadFromStream(&stream);
    EXPECT_EQ(pf8bit, copy.PixelFormat());
    ASSERT_EQ(5, copy.Width());
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(0, std::memcmp(bitmap.ScanLine(row), copy.ScanLine(row), 5)) << "row " << row;
    PALETTEENTRY a[256], b[256];
    ASSERT_EQ(256u, ::GetPaletteEntries(bitmap.Palette(), 0, 256, a));
    ASSERT_EQ(256u, ::GetPaletteEntries(copy.Palette(), 0, 256, b));
    EXPECT_EQ(0, std::memcmp(a, b, sizeof a));

    EXPECT_THROW(copy.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(copy.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(Bitmap, DamagedStreamsAreRefused)
{
    TBitmap bitmap;
    TMemoryStream junk;
    junk.WriteBuffer("BMxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 60);
    junk.SetPosition(0);
    EXPECT_ANY_THROW(bitmap.LoadFromStream(&junk));

    // A header that promises more rows than the file holds.
    TBitmap good;
    good.LoadFromResourceID(Self(), 1);
    TMemoryStream stream;
    good.SaveToStream(&stream);
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(stream.Memory() + sizeof(BITMAPFILEHEADER));
    info->biHeight = 4000;
    stream.SetPosition(0);
    EXPECT_THROW(bitmap.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, CanvasDrawsAndFormatsConvert)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(10, 10);
    bitmap.Canvas()->Brush()->SetColor(0x0000FF);
    bitmap.Canvas()->FillRect(RECT{2, 2, 5, 5});
    EXPECT_EQ(0x0000FF, bitmap.Canvas()->Pixel(3, 3));
    EXPECT_EQ(clWhite, bitmap.Canvas()->Pixel(8, 8)); // new bitmaps are white
    auto* row = static_cast<uint8_t*>(bitmap.ScanLine(3));
    EXPECT_EQ(0xFF, row[3 * 3 + 2]); // B G R order: red is the third byte
    bitmap.SetPixelFormat(pf32bit);
    EXPECT_EQ(0x0000FF, bitmap.Canvas()->Pixel(3, 3));
    bitmap.SetSize(4, 4);
    EXPECT_EQ(0x0000FF, bitmap.Canvas()->Pixel(3, 3)); // resizing keeps what fits

    EXPECT_EQ(4, bitmap.Canvas()->ClipRect().right);

    TBitmap copy;
    copy.Assign(&bitmap);
    EXPECT_EQ(pf32bit, copy.PixelFormat());
    EXPECT_EQ(0x0000FF, copy.Canvas()->Pixel(2, 2));
    copy.Canvas()->CopyMode = NOTSRCCOPY; // drawing inverts
    copy.Canvas()->Draw(0, 0, &bitmap);
    EXPECT_EQ(0xFFFF00, copy.Canvas()->Pixel(2, 2));
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, DrawsTransparentlyOverItsTransparentColour)
{
    TBitmap sample;
    sample.LoadFromResourceID(Self(), 1);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(6, 4);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(RECT{0, 0, 6, 4});
    sample.SetTransparentColor(Blue);
    sample.SetTransparent(true);
    target.Canvas()->Draw(0, 0, &sample);
    EXPECT_EQ(Red, target.Canvas()->Pixel(0, 0));
    EXPECT_EQ(Green, target.Canvas()->Pixel(5, 3));
    EXPECT_EQ(clBlack, target.Canvas()->Pixel(2, 2)); // blue is see-through
}

// A graphic class of the test's own, as a unit outside the toolkit would add one.
class TTestGraphic : public TGraphic {
public:
    CLASS_NAME(TTestGraphic)
    void Draw(TCanvas*, const RECT&) override {}
    bool Empty() const override { return Data.empty(); }
    int Width() const override { return static_cast<int>(Data.size()); }
    int Height() const override { return 1; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream* Stream) override
    {
        Data.resize(static_cast<size_t>(Stream->Size() - Stream->Position()));
        if (!Data.empty()) Stream->ReadBuffer(&Data[0], static_cast<int32_t>(Data.size()));
    }
    void SaveToStream(TStream* Stream) override { Stream->WriteBuffer(Data.data(), static_cast<int32_t>(Data.size())); }
    std::string Data;
};

TEST(Picture, RegistryFindsClassesByExtensionAndByName)
{
    const TGraphicClass cls = GraphicClass<TTestGraphic>("TTestGraphic");
    std::string file = TempFile("visual_test.TST");
    {
        TFileStream f(file, fmCreate);
        f.WriteBuffer("hello", 5);
    }
    TPicture picture;
    EXPECT_EQ(nullptr, TPicture::FindClass("TTestGraphic"));
    EXPECT_THROW(picture.LoadFromFile(file), EInvalidGraphic);

    TPicture::RegisterFileFormat("tst", "Test pictures", cls);
    ASSERT_NE(nullptr, TPicture::FindClass("TTestGraphic"));
    EXPECT_NE(nullptr, TPicture::FindExtension("TST"));
    picture.LoadFromFile(file);
    auto* graphic = dynamic_cast<TTestGraphic*>(picture.Graphic());
    ASSERT_NE(nullptr, graphic);
    EXPECT_EQ("hello", graphic->Data);

    // Form data names the class; the registry makes it.
    TMemoryStream data;
    data.WriteBuffer("\x0CTTestGraphicworld", 18);
    data.SetPosition(0);
    picture.ReadData(&data);
    EXPECT_EQ("world", dynamic_cast<TTestGraphic*>(picture.Graphic())->Data);

    const UINT format = ::RegisterClipboardFormatA("Test Picture");
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(format));
    TPicture::RegisterClipboardFormat(format, cls);
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(format));
    EXPECT_THROW(picture.LoadFromClipboardFormat(format, nullptr, nullptr), EInvalidGraphic); // the class has no clipboard form

    TPicture::UnregisterGraphicClass(cls);
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(format));
    EXPECT_EQ(nullptr, TPicture::FindClass("TTestGraphic"));
    EXPECT_EQ(nullptr, TPicture::FindExtension("tst"));
    EXPECT_THROW(picture.LoadFromFile(file), EInvalidGraphic);
    data.SetPosition(0);
    EXPECT_THROW(picture.ReadData(&data), EReadError);
    // The built-in classes stay.
    EXPECT_NE(nullptr, TPicture::FindClass("TBitmap"));
    EXPECT_NE(nullptr, TPicture::FindExtension("bmp"));
    std::remove(file.c_str());
}

TEST(Bitmap, ClipboardFormIsACopy)
{
    TBitmap bitmap;
    bitmap.LoadFromResourceID(Self(), 1);
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    bitmap.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(static_cast<UINT>(CF_BITMAP), format);
    ASSERT_NE(nullptr, data);
    EXPECT_NE(static_cast<HANDLE>(bitmap.Handle()), data);
    TPicture picture;
    ASSERT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
    picture.LoadFromClipboardFormat(CF_BITMAP, data, palette);
    EXPECT_EQ(Green, picture.Bitmap()->Canvas()->Pixel(5, 3));
    ::DeleteObject(data);
    if (palette) ::DeleteObject(palette);
    EXPECT_THROW(picture.LoadFromClipboardFormat(CF_TEXT, nullptr, nullptr), EInvalidGraphic);
}

TEST(Picture, BitmapAndIconAccessorsReplaceOtherGraphics)
{
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    TBitmap* bitmap = picture.Bitmap();
    EXPECT_EQ(bitmap, picture.Graphic());
    bitmap->LoadFromResourceID(Self(), 1);
    EXPECT_EQ(6, picture.Width());
    EXPECT_GE(changes, 2); // the new graphic, then its load
    picture.Icon();
    EXPECT_NE(nullptr, dynamic_cast<TIcon*>(picture.Graphic()));
    EXPECT_EQ(0, picture.Width());

    TBitmap source;
    source.LoadFromResourceID(Self(), 1);
    picture.Assign(&source); // a copy
    ASSERT_NE(static_cast<TGraphic*>(&source), picture.Graphic());
    EXPECT_EQ(Red, picture.Bitmap()->Canvas()->Pixel(0, 0));
    picture.Assign(nullptr);
    EXPECT_EQ(nullptr, picture.Graphic());
}

class TPackedForm : public TForm {
public:
    CLASS_NAME(TPackedForm)
    explicit TPackedForm(TComponent* AOwner) : TForm(AOwner), Img_Packed(new TImage(this)), Img_Other(new TImage(this))
    {
        Img_Packed->Name = "Img_Packed";
        Img_Other->Name = "Img_Other";
    }
    TImage* Img_Packed;
    TImage* Img_Other;
};

TEST(FormData, PicturesPackedAtBuildTimeAreReadThroughTheRegistry)
{
    TPackedForm form(nullptr);
    LoadFormPictures(&form);
    auto* bitmap = dynamic_cast<TBitmap*>(form.Img_Packed->Picture()->Graphic());
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(6, bitmap->Width());
    EXPECT_EQ(pf8bit, bitmap->PixelFormat());
    EXPECT_EQ(Green, bitmap->Canvas()->Pixel(5, 3));
    EXPECT_EQ(nullptr, form.Img_Other->Picture()->Graphic());

    // A form without a resource of its own has nothing to read.
    TForm plain(nullptr);
    EXPECT_NO_THROW(LoadFormPictures(&plain));
}

// One record as the packer writes it.
void WriteRecord(TStream* Stream, const std::string& Component, const std::string& Class, TGraphic* Graphic)
{
    TMemoryStream data;
    uint8_t n = static_cast<uint8_t>(Class.size());
    data.WriteBuffer(&n, 1);
    data.WriteBuffer(Class.data(), n);
    Graphic->WriteData(&data);
    n = static_cast<uint8_t>(Component.size());
    Stream->WriteBuffer(&n, 1);
    Stream->WriteBuffer(Component.data(), n);
    int32_t size = static_cast<int32_t>(data.Size());
    Stream->WriteBuffer(&size, 4);
    Stream->WriteBuffer(data.Memory(), size);
}

TEST(FormData, RoundTripAndDamage)
{
    TBitmap source;
    source.LoadFromResourceID(Self(), 1);
    TMemoryStream stream;
    WriteRecord(&stream, "Img_Other", "TBitmap", &source);
    WriteRecord(&stream, "Img_Packed", "TBitmap", &source);
    TPackedForm form(nullptr);
    stream.SetPosition(0);
    ReadFormPictures(&form, &stream);
    EXPECT_EQ(Red, form.Img_Other->Picture()->Bitmap()->Canvas()->Pixel(0, 0));
    EXPECT_EQ(Red, form.Img_Packed->Picture()->Bitmap()->Canvas()->Pixel(0, 0));

    TMemoryStream unknownClass;
    WriteRecord(&unknownClass, "Img_Other", "TGIFImage", &source);
    unknownClass.SetPosition(0);
    EXPECT_THROW(ReadFormPictures(&form, &unknownClass), EReadError);

    TMemoryStream unknownComponent;
    WriteRecord(&unknownComponent, "Img_None", "TBitmap", &source);
    unknownComponent.SetPosition(0);
    EXPECT_THROW(ReadFormPictures(&form, &unknownComponent), EReadError);

    // A record whose size runs past the end.
    stream.SetSize(stream.Size() - 10);
    stream.SetPosition(0);
    EXPECT_ANY_THROW(ReadFormPictures(&form, &stream));
}

// GDI objects of this process: the system's count where it keeps one;
// otherwise whether the handles a picture replaced are gone.
DWORD GdiObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(Picture, ReplacingPicturesFreesWhatTheyReplace)
{
    TForm form(nullptr);
    TImage image(&form);
    image.SetParent(&form);
    form.Handle();
    TBitmap source;
    source.LoadFromResourceID(Self(), 1);

    auto cycle = [&](int i) {
        switch (i % 4) {
        case 0: image.Picture()->Bitmap()->LoadFromResourceID(Self(), 1); break;
        case 1: image.Picture()->Assign(&source); break;
        case 2: image.Picture()->Bitmap()->SetHandle(::LoadBitmapA(Self(), MAKEINTRESOURCEA(1))); break;
        case 3: image.Picture()->Bitmap()->Canvas()->Pixel(0, 0); break; // a context of its own
        }
    };
    for (int i = 0; i < 8; ++i) cycle(i); // reach a steady state first
    DWORD before = GdiObjects();
    for (int i = 0; i < 400; ++i) {
        HBITMAP old = image.Picture()->Bitmap()->Handle();
        cycle(i);
        if (i % 4 == 0 || i % 4 == 2) {
            ASSERT_NE(old, image.Picture()->Bitmap()->Handle());
            ASSERT_EQ(0u, static_cast<unsigned>(::GetObjectType(old))) << "replaced bitmap still alive, step " << i;
        }
    }
    DWORD after = GdiObjects();
    std::printf("GDI objects before %lu, after 400 replacements %lu\n", static_cast<unsigned long>(before),
                static_cast<unsigned long>(after));
    EXPECT_LE(after, before + 4);
}

TEST(Icon, LoadsFromAFileAndStreamsBack)
{
    // A 16 x 16 32-bit icon built here: directory, header, pixels, mask.
    std::vector<uint8_t> file(6 + 16 + 40 + 16 * 16 * 4 + 16 * 4, 0);
    uint8_t* p = file.data();
    p[2] = 1, p[4] = 1;                      // icon, one entry
    p[6] = 16, p[7] = 16, p[10] = 1, p[12] = 32; // 16 x 16, planes 1, 32 bits
    uint32_t bytes = 40 + 16 * 16 * 4 + 16 * 4, offset = 22;
    std::memcpy(p + 14, &bytes, 4);
    std::memcpy(p + 18, &offset, 4);
    BITMAPINFOHEADER header{sizeof header, 16, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::memcpy(p + 22, &header, sizeof header);
    for (int i = 0; i < 256; ++i) std::memcpy(p + 62 + i * 4, "\x20\x40\xE0\xFF", 4);
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
    stream.SetPosition(0);
    TIcon icon;
    icon.LoadFromStream(&stream);
    EXPECT_FALSE(icon.Empty());
    EXPECT_EQ(16, icon.Width());
    EXPECT_EQ(16, icon.Height());
    TMemoryStream saved;
    icon.SaveToStream(&saved);
    EXPECT_EQ(stream.Size(), saved.Size());
    EXPECT_THROW(icon.SetWidth(32), EInvalidGraphicOperation);

    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(16, 16);
    target.Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(0x2040E0, target.Canvas()->Pixel(8, 8) & 0xFFFFFF);

    TMemoryStream junk;
    junk.WriteBuffer("\0\0\2\0", 4);
    junk.SetPosition(0);
    EXPECT_THROW(icon.LoadFromStream(&junk), EInvalidGraphic);
}

} // namespace
