// Files written by other programs, decoded: every pixel's colour equals
// the colour ImageMagick decodes for it. Runs in both trees.
#include "gif_samples.h"

#include <gtest/gtest.h>

namespace {

TEST(SampleFiles, PixelsMatchImageMagick)
{
    for (const char* name : SamplesWithPixels) {
        SCOPED_TRACE(name);
        Bytes rgb = ReadFileBytes(SamplePath(std::string(name) + ".rgb"));
        TGIFImage image;
        WarningLog log(image);
        ASSERT_EQ(Load(image, ReadFileBytes(SamplePath(std::string(name) + ".gif"))), "");
        EXPECT_TRUE(log.Messages.empty());
        TGIFSubImage* frame = image.Images()->GetImage(0);
        ASSERT_EQ(size_t(frame->DataSize()) * 3, rgb.size());
        const TGIFColorMap* map = frame->GetActiveColorMap();
        int wrong = 0;
        for (int32_t i = 0; i < frame->DataSize(); ++i) {
            const uint8_t index = frame->Data()[i];
            ASSERT_LT(index, map->Count());
            const TGIFColor& c = map->Data()[index];
            wrong += c.Red != rgb[3 * i] || c.Green != rgb[3 * i + 1] || c.Blue != rgb[3 * i + 2];
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(SampleFiles, SaveAndLoadAgainKeepsEveryFrame)
{
    for (const char* name : SampleFiles) {
        SCOPED_TRACE(name);
        TGIFImage image;
        ASSERT_EQ(Load(image, ReadFileBytes(SamplePath(std::string(name) + ".gif"))), "");
        for (TGIFCompression compression : {gcLZW, gcRLE}) {
            image.Compression = compression;
            TGIFImage back;
            ASSERT_EQ(Load(back, Save(image)), "");
            ASSERT_EQ(back.Images()->GetCount(), image.Images()->GetCount());
            for (int i = 0; i < image.Images()->GetCount(); ++i) {
                TGIFSubImage* a = image.Images()->GetImage(i);
                TGIFSubImage* b = back.Images()->GetImage(i);
                EXPECT_EQ(b->Extensions()->GetCount(), a->Extensions()->GetCount());
                ASSERT_EQ(b->DataSize(), a->DataSize());
                EXPECT_TRUE(std::equal(a->Data(), a->Data() + a->DataSize(), b->Data())) << "frame " << i;
            }
        }
    }
}

} // namespace
