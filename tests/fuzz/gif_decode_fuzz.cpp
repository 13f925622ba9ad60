// Fuzzes the GIF reader: header, block walk, extensions and the LZW
// decoder; whatever loads is written again with both encoders and read back.
// Loading meets the unit's own limits on pixels; the round trip, many times
// slower under the sanitizers, is left to images of at most RoundTripPixels,
// so that every input takes well under a second.
#include "gifimage/gif_image.h"
#include "gifimage/gif_subimage.h"
#include "toolkit/streams.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {
const int64_t RoundTripPixels = int64_t(1) << 20;
// Frames that hold pixels. Frames of extensions only may merge with the
// next frame when written and read again, so they are not compared.
std::vector<TGIFSubImage*> Pictures(const TGIFImage& Image)
{
    std::vector<TGIFSubImage*> frames;
    for (int i = 0; i < Image.Images()->GetCount(); ++i)
        if (!Image.Images()->GetImage(i)->GetEmpty()) frames.push_back(Image.Images()->GetImage(i));
    return frames;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    TMemoryStream in;
    if (Size > 0) in.WriteBuffer(Data, int32_t(Size));
    in.SetPosition(0);
    TGIFImage image;
    int warnings = 0;
    image.OnWarning = [&](TObject*, TGIFSeverity, const std::string&) { ++warnings; };
    try {
        image.LoadFromStream(&in);
    } catch (const Exception&) {
        return 0; // refused: GIFException, or a stream error
    }
    if (image.PixelCount() > RoundTripPixels) return 0;
    for (TGIFCompression compression : {gcLZW, gcRLE}) {
        image.Compression = compression;
        TMemoryStream out;
        try {
            image.SaveToStream(&out);
        } catch (const Exception&) {
            return 0; // pixel values beyond a colour table cannot be written
        }
        out.SetPosition(0);
        TGIFImage back;
        back.LoadFromStream(&out); // what we wrote must load
        const std::vector<TGIFSubImage*> a = Pictures(image), b = Pictures(back);
        if (a.size() != b.size()) __builtin_trap();
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i]->DataSize() != b[i]->DataSize() || std::memcmp(a[i]->Data(), b[i]->Data(), a[i]->DataSize()) != 0)
                __builtin_trap();
    }
    return 0;
}
