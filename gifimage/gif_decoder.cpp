// The LZW decoder of a frame's image data.
#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <cstring>

namespace {

class TGIFDecoder {
public:
    TGIFDecoder(TGIFSubImage* Frame, TStream* Stream, int MinCodeSize);
    // The next pixel value; -1 when the data is exhausted, -2 at the end code.
    int NextPixelValue() { return StackTop > 0 ? Stack[--StackTop] : DecodeNext(); }
    // After the last pixel: moves past the end code, or past surplus data
    // that some writers leave, so that the next block is found.
    void Finish()
    {
        if (NextPixelValue() >= 0 && !DataEnded) SkipBlocks(Stream);
    }

private:
    enum { TableSize = 4096, StackSize = 8192 };
    int FetchCode(int Width);
    bool Refill();
    int DecodeNext();
    void ResetTable();
    void Push(int Value)
    {
        // Only a cycle in corrupt data builds a string longer than the stack.
        if (StackTop >= StackSize) RaiseGifError(GIFTexts::CircularTable);
        Stack[StackTop++] = Value;
    }

    TGIFSubImage* const Frame;
    TStream* const Stream;
    const int64_t StreamSize;
    const int MinCodeSize;
    const int ClearCode, EndCode;
    int CodeWidth, WidthLimit, NextFree;
    int FirstCode = 0, OldCode = 0;
    int Prefix[TableSize];
    int Suffix[TableSize];
    int Stack[StackSize];
    int StackTop = 0;
    // Two bytes carried over from the previous sub-block, then one sub-block.
    uint8_t Buffer[257] = {};
    int BytesInBuffer = 2;
    int BitPosition = 0, BitsAvailable = 0;
    bool DataEnded = false;
    bool FirstCall = true;
};

TGIFDecoder::TGIFDecoder(TGIFSubImage* Frame, TStream* Stream, int MinCodeSize)
    : Frame(Frame), Stream(Stream), StreamSize(Stream->Size()), MinCodeSize(MinCodeSize),
      ClearCode(1 << MinCodeSize), EndCode(ClearCode + 1), CodeWidth(MinCodeSize + 1),
      WidthLimit(2 * ClearCode), NextFree(ClearCode + 2)
{
}

bool TGIFDecoder::Refill()
{
    Buffer[0] = Buffer[BytesInBuffer - 2];
    Buffer[1] = Buffer[BytesInBuffer - 1];
    int size = GetByte(Stream);
    if (size < 0) return false;
    if (size == 0) DataEnded = true;
    const int64_t left = StreamSize - Stream->Position();
    if (size > left) {
        Frame->Warning(gsWarning, GIFTexts::PrematureEnd);
        size = int(left > 0 ? left : 0);
    }
    if (size > 0) ReadExactly(Stream, Buffer + 2, size);
    BytesInBuffer = size + 2;
    BitPosition = BitPosition - BitsAvailable + 16;
    BitsAvailable = (size + 2) * 8;
    return true;
}

int TGIFDecoder::FetchCode(int Width)
{
    if (FirstCall) { // decoding always starts as after a clear code
        FirstCall = false;
        return ClearCode;
    }
    // Sub-blocks may be as short as one byte, so a code can need several.
    // A refill happens only while at most Width (<= 12) bits are unread,
    // and those fit in the two bytes carried over.
    while (BitPosition + Width >= BitsAvailable) {
        if (DataEnded) {
            if (BitPosition + Width == BitsAvailable) break; // the last code fits exactly
            if (BitPosition >= BitsAvailable) Frame->Warning(gsWarning, GIFTexts::BitBufferUnderrun);
            return -1;
        }
        if (!Refill()) return -1;
    }
    const int s = BitPosition >> 3, e = (BitPosition + Width - 1) >> 3;
    uint32_t v = Buffer[s];
    if (e > s) v |= uint32_t(Buffer[s + 1]) << 8;
    if (e > s + 1) v |= uint32_t(Buffer[s + 2]) << 16;
    const int code = int((v >> (BitPosition & 7)) & ((1u << Width) - 1));
    BitPosition += Width;
    return code;
}

void TGIFDecoder::ResetTable()
{
    for (int i = 0; i < TableSize; ++i) {
        Prefix[i] = 0;
        Suffix[i] = i < ClearCode ? i : 0;
    }
    CodeWidth = MinCodeSize + 1;
    WidthLimit = 2 * ClearCode;
    NextFree = ClearCode + 2;
    StackTop = 0;
}

int TGIFDecoder::DecodeNext()
{
    int code = FetchCode(CodeWidth);
    if (code < 0) return code;
    if (code == ClearCode) {
        ResetTable();
        do {
            code = FetchCode(CodeWidth);
            FirstCode = OldCode = code;
        } while (code == ClearCode);
        return code;
    }
    if (code == EndCode) {
        if (!DataEnded) SkipBlocks(Stream);
        return -2;
    }
    const int inCode = code;
    if (code >= NextFree) {
        Push(FirstCode);
        code = OldCode;
    }
    while (code >= ClearCode) {
        Push(Suffix[code]);
        if (Prefix[code] == code) RaiseGifError(GIFTexts::CircularTable);
        code = Prefix[code];
    }
    FirstCode = Suffix[code];
    Push(FirstCode);
    if (NextFree < TableSize) {
        Prefix[NextFree] = OldCode;
        Suffix[NextFree] = FirstCode;
        if (++NextFree >= WidthLimit && WidthLimit < TableSize) {
            WidthLimit *= 2;
            ++CodeWidth;
        }
    }
    OldCode = inCode;
    return Stack[--StackTop];
}

} // namespace

void TGIFSubImage::Decompress(TStream* Stream)
{
    NewImage();
    if (FDataSize > 0 && Transparent && GraphicControlExtension)
        std::memset(FData.get(), GraphicControlExtension->GetTransparentColorIndex(), FDataSize);
    const int minCodeSize = GetByte(Stream);
    if (minCodeSize < 0) return;
    // Literal codes of 12 bits or more would not leave room in the 4096-entry table.
    if (minCodeSize >= 12) RaiseGifError(GIFTexts::BadCodeSize);
    std::unique_ptr<TGIFDecoder> decoder(new TGIFDecoder(this, Stream, minCodeSize));

    const int width = GetWidth(), height = GetHeight();
    int value = 0;
    auto finish = [&] {
        if (value != -2) decoder->Finish();
    };
    try {
        if (!GetInterlaced()) {
            uint8_t* p = FData.get();
            for (int32_t i = 0; i < FDataSize && value >= 0; ++i)
                if ((value = decoder->NextPixelValue()) >= 0) p[i] = uint8_t(value);
        } else {
            int row = 0, pass = 0, step = 8;
            for (int y = 0; y < height && value >= 0; ++y) {
                uint8_t* p = FData.get() + int64_t(row) * width;
                for (int x = 0; x < width; ++x) {
                    if ((value = decoder->NextPixelValue()) < 0) break;
                    p[x] = uint8_t(value);
                }
                row += step;
                while (row >= height) {
                    if (pass > 0) step /= 2;
                    ++pass;
                    row = step / 2;
                }
            }
        }
    } catch (...) {
        try {
            finish();
        } catch (...) {
        }
        throw;
    }
    finish();
}
