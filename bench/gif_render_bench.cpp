// Frame rendering of the GIF unit: the time GetBitmap takes to make a
// frame's palette bitmap and mask from its pixels, in milliseconds per
// megapixel, for each frame named on the command line. gif_render_bench.sh
// puts ImageMagick's decoding of the same frames beside it.
// Usage: gif_render_bench FILE:FRAME...
#include "gifimage/gif_image.h"
#include "gifimage/gif_subimage.h"
#include "seconds_per_call.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::printf("file frame size ms-per-MP\n");
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t colon = arg.rfind(':');
        const std::string file = arg.substr(0, colon);
        const int index = std::stoi(arg.substr(colon + 1));
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), int32_t(bytes.size()));
        stream.SetPosition(0);
        TGIFImage image;
        try {
            image.LoadFromStream(&stream);
        } catch (const Exception& e) {
            std::fprintf(stderr, "%s: %s\n", file.c_str(), e.what());
            continue;
        }
        if (index >= image.Images()->GetCount()) continue;
        TGIFSubImage* frame = image.Images()->GetImage(index);
        const double seconds = SecondsPerCall([&] { frame->GetBitmap(); }, [&] { frame->FreeBitmap(); });
        const double megapixels = frame->GetWidth() * frame->GetHeight() / 1e6;
        const std::string name = file.substr(file.find_last_of("\\/") + 1);
        std::printf("%s %d %dx%d %.2f\n", name.c_str(), index, frame->GetWidth(), frame->GetHeight(),
                    seconds * 1000 / megapixels);
    }
}
