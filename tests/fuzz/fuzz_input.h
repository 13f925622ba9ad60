// The fuzz targets' input: a GIF stream, loaded as a program would load it.
#pragma once
#include "gifimage/gif_image.h"
#include "toolkit/streams.h"

#include <cstddef>
#include <cstdint>

// Loads Data into Image, its warnings going to a handler that takes them;
// false when the reader refuses it (GIFException, or a stream error).
inline bool LoadInput(TGIFImage& Image, const uint8_t* Data, size_t Size)
{
    TMemoryStream in;
    if (Size > 0) in.WriteBuffer(Data, int32_t(Size));
    in.SetPosition(0);
    Image.OnWarning = [](TObject*, TGIFSeverity, const std::string&) {};
    try {
        Image.LoadFromStream(&in);
    } catch (const Exception&) {
        return false;
    }
    return true;
}
