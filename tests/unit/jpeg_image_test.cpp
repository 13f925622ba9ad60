// The JPEG picture class against libjpeg-turbo's own djpeg: the same files
// (made by jpeg_samples.sh with cjpeg and ImageMagick) must decode to the
// same pixels; streams the library refuses raise and leave the picture as it
// was; form data and copies carry JPEG pictures.
#include "setup/jpegimage.h"
#include "toolkit/exceptions.h"
#include "toolkit/formdata.h"
#include "toolkit/graphic_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#ifndef JPEG_SAMPLES
#error JPEG_SAMPLES must name the folder of the sample files
#endif

namespace {

std::string Sample(const std::string& Name) { return std::string(JPEG_SAMPLES) + "/" + Name; }

std::string ReadBytes(const std::string& Path)
{
    std::ifstream in(Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A binary PNM file as djpeg writes it: P6 (red, green, blue) or P5 (grey), maximum 255.
struct Pnm {
    int Width = 0, Height = 0, Channels = 0;
    std::string Pixels;
};

Pnm ReadPnm(const std::string& Path)
{
    std::istringstream in(ReadBytes(Path));
    std::string magic;
    int maximum = 0;
    Pnm pnm;
    in >> magic >> pnm.Width >> pnm.Height >> maximum;
    in.get(); // the one blank before the pixels
    pnm.Channels = magic == "P6" ? 3 : magic == "P5" ? 1 : 0;
    pnm.Pixels.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (pnm.Pixels.size() != static_cast<size_t>(pnm.Width) * pnm.Height * pnm.Channels || maximum != 255)
        pnm.Channels = 0;
    return pnm;
}

// The largest difference of one channel of one pixel between the decoded
// picture and djpeg's; -1 when the sizes differ.
int LargestDifference(TBitmap* Picture, const Pnm& Reference)
{
    if (Picture->Width() != Reference.Width || Picture->Height() != Reference.Height) return -1;
    int largest = 0;
    for (int y = 0; y < Reference.Height; ++y) {
        const auto* row = static_cast<const uint8_t*>(Picture->ScanLine(y));
        for (int x = 0; x < Reference.Width; ++x) {
            const auto* ref = reinterpret_cast<const uint8_t*>(Reference.Pixels.data()) +
                              (static_cast<size_t>(y) * Reference.Width + x) * Reference.Channels;
            const uint8_t red = ref[0], green = ref[Reference.Channels == 3 ? 1 : 0],
                          blue = ref[Reference.Channels == 3 ? 2 : 0];
            largest = std::max({largest, std::abs(row[x * 3] - blue), std::abs(row[x * 3 + 1] - green),
                                std::abs(row[x * 3 + 2] - red)});
        }
    }
    return largest;
}

class JpegFiles : public testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() { RegisterJpegFormat(); }
};

TEST_P(JpegFiles, DecodeToTheSamePixelsAsDjpeg)
{
    const std::string name = GetParam();
    TPicture picture;
    picture.LoadFromFile(Sample(name + ".jpg"));
    auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic());
    ASSERT_NE(jpeg, nullptr) << "the .jpg extension is not registered";
    const Pnm reference = ReadPnm(Sample(name + ".pnm"));
    ASSERT_GT(reference.Channels, 0);
    EXPECT_EQ(picture.Width(), 97);
    EXPECT_EQ(picture.Height(), 61);
    const int difference = LargestDifference(jpeg->Bitmap(), reference);
    RecordProperty("largest_difference", difference);
    EXPECT_GE(difference, 0) << "sizes differ";
    EXPECT_EQ(difference, 0); // the same library and options as djpeg
}

INSTANTIATE_TEST_SUITE_P(Samples, JpegFiles,
                         testing::Values("baseline", "progressive", "grey", "restart444", "im_progressive",
                                         "truncated"));

TEST(Jpeg, RefusedStreamsRaiseAndLeaveThePictureAsItWas)
{
    TJPEGImage image;
    image.LoadFromFile(Sample("baseline.jpg"));
    const std::string original = ReadBytes(Sample("baseline.jpg"));
    const struct {
        const char* File;
        const char* Message;
    } refused[] = {{"notjpeg.jpg", "Not a JPEG file"},
                   {"headeronly.jpg", "contains no image"},
                   {"zerosize.jpg", "Empty JPEG image"}};
    for (const auto& r : refused) {
        try {
            image.LoadFromFile(Sample(r.File));
            ADD_FAILURE() << r.File << " was taken";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find(r.Message), std::string::npos) << r.File << ": " << e.what();
        }
        EXPECT_EQ(image.Width(), 97) << r.File;
        EXPECT_EQ(image.Height(), 61) << r.File;
    }
    TMemoryStream empty;
    EXPECT_THROW(image.LoadFromStream(&empty), EInvalidGraphic);

    TMemoryStream saved;
    image.SaveToStream(&saved);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(saved.Memory()), static_cast<size_t>(saved.Size())), original);
}

TEST(Jpeg, FormDataHoldsJpegPicturesThatCopyAndDraw)
{
    RegisterJpegFormat();
    const std::string file = ReadBytes(Sample("progressive.jpg"));
    TMemoryStream data; // one form-data record: component, size, class, then the file
    const std::string name = "Img_Page", cls = "TJPEGImage";
    const uint8_t nameLength = static_cast<uint8_t>(name.size()), classLength = static_cast<uint8_t>(cls.size());
    const int32_t size = static_cast<int32_t>(1 + cls.size() + file.size());
    data.WriteBuffer(&nameLength, 1);
    data.WriteBuffer(name.data(), nameLength);
    data.WriteBuffer(&size, 4);
    data.WriteBuffer(&classLength, 1);
    data.WriteBuffer(cls.data(), classLength);
    data.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
    data.SetPosition(0);

    TComponent form(nullptr);
    auto* page = new TImage(&form);
    page->Name = name;
    auto* copy = new TImage(&form);
    ReadFormPictures(&form, &data);
    auto* jpeg = dynamic_cast<TJPEGImage*>(page->Picture()->Graphic());
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(LargestDifference(jpeg->Bitmap(), ReadPnm(Sample("progressive.pnm"))), 0);

    copy->Picture()->Assign(page->Picture());
    auto* copied = dynamic_cast<TJPEGImage*>(copy->Picture()->Graphic());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(LargestDifference(copied->Bitmap(), ReadPnm(Sample("progressive.pnm"))), 0);

    // Drawn on a canvas, the picture leaves its own pixels there.
    TBitmap canvas;
    canvas.SetPixelFormat(pf24bit);
    canvas.SetSize(97, 61);
    canvas.Canvas()->Draw(0, 0, copied);
    for (const POINT p : {POINT{0, 0}, POINT{48, 30}, POINT{96, 60}, POINT{75, 20}})
        EXPECT_EQ(canvas.Canvas()->Pixel(p.x, p.y), jpeg->Bitmap()->Canvas()->Pixel(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_THROW(copied->SetWidth(10), EInvalidGraphicOperation);
}

} // namespace
