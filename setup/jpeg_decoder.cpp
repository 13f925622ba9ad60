#include "jpeg_decoder.h"
#include "toolkit/exceptions.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// it jumps back into DecodeJpeg, where only plain C data lives between the
// jump and its target.
struct TErrorManager {
    jpeg_error_mgr Public;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr Info)
{
    auto* errors = reinterpret_cast<TErrorManager*>(Info->err);
    (*Info->err->format_message)(Info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

// Warnings would go to stderr, which a Windows program does not have.
void IgnoreMessage(j_common_ptr) {}

// Owns the decompressor; zeroed first, so that destroying one whose creation
// never ran (or failed) does nothing.
struct TDecompressor {
    jpeg_decompress_struct Info;
    TErrorManager Errors;
    TDecompressor()
    {
        std::memset(&Info, 0, sizeof Info);
        Info.err = jpeg_std_error(&Errors.Public);
        Errors.Public.error_exit = ErrorExit;
        Errors.Public.output_message = IgnoreMessage;
        Errors.Message[0] = '\0';
    }
    ~TDecompressor() { jpeg_destroy_decompress(&Info); }
    TDecompressor(const TDecompressor&) = delete;
    TDecompressor& operator=(const TDecompressor&) = delete;
};

} // namespace

void DecodeJpeg(const uint8_t* Data, size_t Size, const TJpegSink& Sink)
{
    TDecompressor d;
    if (setjmp(d.Errors.Jump)) throw EInvalidGraphic(std::string("JPEG error: ") + d.Errors.Message);
    if (Size == 0) throw EInvalidGraphic("JPEG error: empty stream");
    jpeg_create_decompress(&d.Info);
    jpeg_mem_src(&d.Info, Data, static_cast<unsigned long>(Size));
    jpeg_read_header(&d.Info, TRUE);
    // Colour and greyscale pictures alike come out as the bytes of a 24-bit DIB.
    d.Info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d.Info);
    Sink.Begin(static_cast<int>(d.Info.output_width), static_cast<int>(d.Info.output_height));
    while (d.Info.output_scanline < d.Info.output_height) {
        JSAMPROW row = Sink.Row(static_cast<int>(d.Info.output_scanline));
        jpeg_read_scanlines(&d.Info, &row, 1);
    }
    jpeg_finish_decompress(&d.Info);
}
