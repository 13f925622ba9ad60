// Decoding of a JPEG stream with libjpeg, kept apart from <windows.h>: the
// library's headers and the Windows headers each define the type `boolean`.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

// Where the decoded picture goes: Begin is told its size once the header is
// read, then Row gives room for each row in turn, top to bottom, as
// Width * 3 bytes of blue, green and red (the order of a 24-bit DIB).
struct TJpegSink {
    std::function<void(int Width, int Height)> Begin;
    std::function<uint8_t*(int Row)> Row;
};

// Decodes Size bytes of a baseline, progressive or greyscale JPEG stream.
// A stream that cannot be decoded raises EInvalidGraphic with the library's
// message. Damage that the library can pass over (a stream cut short, a
// corrupt segment) is not an error: what could not be read is grey, as in
// libjpeg's own tools.
void DecodeJpeg(const uint8_t* Data, size_t Size, const TJpegSink& Sink);
