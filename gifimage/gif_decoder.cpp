// The LZW decoder of a frame's image data.
//
// Every table entry of a well-formed code stream stands for a string that
// the decoder has already written: the string of the code before it plus
// one more pixel. So the entry keeps where that string lies in the output,
// and decoding it is a copy from earlier output rather than a walk down
// its chain. A code beyond the next free one breaks that relation (the
// entries made after it chain through codes not yet assigned); from such a
// code to the next clear code the decoder walks the chains instead.
#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Bytes a copy may write past the end of a string; the caller's buffer
// holds them or the copy takes the careful path.
constexpr int32_t CopySlack = 8;

// Copies Count bytes from an earlier place of the same buffer, 8 at a time;
// Source + Count <= Target, so nothing is read after it was overwritten.
inline void CopyString(uint8_t* Target, const uint8_t* Source, int32_t Count)
{
    for (int32_t i = 0; i < Count; i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, Source + i, 8);
        std::memcpy(Target + i, &chunk, 8);
    }
}

class TGIFDecoder {
public:
    TGIFDecoder(TGIFSubImage* Frame, TStream* Stream, int MinCodeSize);
    // Decodes into Out until Count pixels are written or the data ends;
    // answers how many were written.
    int32_t Decode(uint8_t* Out, int32_t Count);
    // Pixels written when Decode raised.
    int32_t Written() const { return Position; }
    // After the last pixel: moves past the end code, or past surplus data
    // that some writers leave, so that the next block is found.
    void Finish();

private:
    enum { TableSize = 4096, StackSize = 8192 };
    int FetchCode();
    bool Refill();
    void ResetTable();
    void AddEntry(int First, int32_t StringEnd);
    int32_t DecodeByWalk(int Code, uint8_t* Out, int32_t At, int32_t Count);
    void EndData(); // the rest of the image data is skipped
    void Push(int Value)
    {
        // Only a cycle in corrupt data builds a string longer than the stack.
        if (StackTop >= StackSize) RaiseGifError(GIFTexts::CircularTable);
        Stack[StackTop++] = uint8_t(Value);
    }

    TGIFSubImage* const Frame;
    TStream* const Stream;
    const int64_t StreamSize;
    const int MinCodeSize;
    const int ClearCode, EndCode;
    int CodeWidth, WidthLimit, NextFree;
    // The last code decoded and its string: first pixel, place and length.
    int OldCode = 0, FirstCode = 0;
    int32_t LastStart = 0, LastLength = 0;
    bool AfterClear = true;  // the next code must be a literal
    bool Walking = false;    // this table generation met a code beyond the table
    bool Ended = false;      // the data itself ended the frame: end code, or corrupt
    bool PixelsLeft = false; // the last string did not fit in the frame
    int32_t Position = 0;    // set when Decode raises
    // Chains for the walk; strings by place and length for the copy.
    uint16_t Prefix[TableSize];
    uint8_t Suffix[TableSize];
    int32_t Start[TableSize];
    uint16_t Length[TableSize];
    // Pixels of a walked string, last first; left over past the last pixel.
    uint8_t Stack[StackSize];
    int StackTop = 0;
    // Two bytes carried over from the previous sub-block, then one
    // sub-block, then room for reading a whole 32-bit word at any code.
    uint8_t Buffer[2 + 255 + 4] = {};
    int BytesInBuffer = 2;
    int BitPosition = 0, BitsAvailable = 0;
    bool DataEnded = false;
};

TGIFDecoder::TGIFDecoder(TGIFSubImage* Frame, TStream* Stream, int MinCodeSize)
    : Frame(Frame), Stream(Stream), StreamSize(Stream->Size()), MinCodeSize(MinCodeSize),
      ClearCode(1 << MinCodeSize), EndCode(ClearCode + 1), CodeWidth(MinCodeSize + 1),
      WidthLimit(2 * ClearCode), NextFree(ClearCode + 2)
{
    // Literals are their own one-pixel strings (literals above 255, of code
    // sizes above 8, are stored as their low byte). The other entries are
    // read only while walking, which clears those not yet assigned.
    for (int i = 0; i < ClearCode + 2; ++i) {
        Prefix[i] = 0;
        Suffix[i] = i < ClearCode ? uint8_t(i) : 0;
    }
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

// The next code of the current width, or -1 when the data holds no more.
int TGIFDecoder::FetchCode()
{
    // Sub-blocks may be as short as one byte, so a code can need several.
    // A refill happens only while at most CodeWidth (<= 12) bits are
    // unread, and those fit in the two bytes carried over.
    while (BitPosition + CodeWidth >= BitsAvailable) {
        if (DataEnded) {
            if (BitPosition + CodeWidth == BitsAvailable) break; // the last code fits exactly
            // Data that stops within a code, or before it, ran short.
            Frame->Warning(gsWarning, GIFTexts::BitBufferUnderrun);
            return -1;
        }
        if (!Refill()) return -1;
    }
    uint32_t word;
    std::memcpy(&word, Buffer + (BitPosition >> 3), 4);
    const int code = int((word >> (BitPosition & 7)) & ((1u << CodeWidth) - 1));
    BitPosition += CodeWidth;
    return code;
}

void TGIFDecoder::ResetTable()
{
    CodeWidth = MinCodeSize + 1;
    WidthLimit = 2 * ClearCode;
    NextFree = ClearCode + 2;
    StackTop = 0;
    AfterClear = true;
    Walking = false;
}

// The entry for the last string plus First, whose own string ends at StringEnd.
void TGIFDecoder::AddEntry(int First, int32_t StringEnd)
{
    if (NextFree >= TableSize) return; // full: the width stays 12 until a clear code
    Prefix[NextFree] = uint16_t(OldCode);
    Suffix[NextFree] = uint8_t(First);
    Start[NextFree] = LastStart;
    Length[NextFree] = uint16_t(StringEnd - LastStart);
    if (++NextFree >= WidthLimit && WidthLimit < TableSize) {
        WidthLimit *= 2;
        ++CodeWidth;
    }
}

void TGIFDecoder::EndData()
{
    if (!DataEnded) SkipBlocks(Stream);
    Ended = true;
}

// The string of Code by its chain, into Out from At on (what does not fit
// stays on the stack); answers the new position.
int32_t TGIFDecoder::DecodeByWalk(int Code, uint8_t* Out, int32_t At, int32_t Count)
{
    const int inCode = Code;
    if (Code >= NextFree) {
        Push(FirstCode);
        Code = OldCode;
    }
    while (Code >= ClearCode) {
        Push(Suffix[Code]);
        if (Prefix[Code] == Code) RaiseGifError(GIFTexts::CircularTable);
        Code = Prefix[Code];
    }
    FirstCode = Suffix[Code];
    Push(FirstCode);
    if (NextFree < TableSize) {
        Prefix[NextFree] = uint16_t(OldCode);
        Suffix[NextFree] = uint8_t(FirstCode);
        if (++NextFree >= WidthLimit && WidthLimit < TableSize) {
            WidthLimit *= 2;
            ++CodeWidth;
        }
    }
    OldCode = inCode;
    while (StackTop > 0 && At < Count) Out[At++] = Stack[--StackTop];
    PixelsLeft = StackTop > 0;
    return At;
}

int32_t TGIFDecoder::Decode(uint8_t* Out, int32_t Count)
{
    int32_t position = 0;
    try {
        while (position < Count) {
            const int code = FetchCode();
            if (code < 0) return position;
            if (code == ClearCode) {
                ResetTable();
                continue;
            }
            if (AfterClear) {
                // A clear code must be followed by a literal: the table holds
                // nothing else. An end code there would end the frame with
                // pixels missing.
                if (code >= ClearCode) {
                    Frame->Warning(gsWarning, GIFTexts::CorruptData);
                    EndData();
                    return position;
                }
                AfterClear = false;
                OldCode = FirstCode = code;
                LastStart = position;
                LastLength = 1;
                Out[position++] = uint8_t(code);
                continue;
            }
            if (code == EndCode) {
                EndData();
                return position;
            }
            if (Walking || code > NextFree) {
                if (!Walking) {
                    // Entries not yet assigned read as prefix 0, pixel 0.
                    std::fill(Prefix + NextFree, Prefix + TableSize, 0);
                    std::fill(Suffix + NextFree, Suffix + TableSize, 0);
                    Walking = true;
                }
                position = DecodeByWalk(code, Out, position, Count);
                continue;
            }
            // The string: a literal, an entry's string written earlier, or
            // (the code being assigned right now) the last string plus its own
            // first pixel.
            const uint8_t* source;
            int32_t length;
            if (code < ClearCode) {
                source = nullptr;
                length = 1;
            } else if (code < NextFree) {
                source = Out + Start[code];
                length = Length[code];
            } else {
                source = Out + LastStart;
                length = LastLength + 1;
            }
            int32_t end = position + length;
            if (!source) {
                Out[position] = uint8_t(code);
            } else if (end + CopySlack <= Count) {
                CopyString(Out + position, source, length);
            } else {
                // Near the end of the pixels: byte by byte, and no further.
                const int32_t n = std::min(length, Count - position);
                for (int32_t i = 0; i < n; ++i) Out[position + i] = source[i];
            }
            FirstCode = Out[position];
            if (code == NextFree && end <= Count) Out[end - 1] = uint8_t(FirstCode);
            AddEntry(FirstCode, position + 1);
            OldCode = code;
            LastStart = position;
            LastLength = length;
            if (end > Count) {
                PixelsLeft = true;
                end = Count;
            }
            position = end;
        }
        return position;
    } catch (...) {
        Position = position;
        throw;
    }
}

void TGIFDecoder::Finish()
{
    if (Ended) return;
    // Pixels left over from the last string, or one more code: in a
    // well-formed stream the end code, which skips to the terminator.
    int code = PixelsLeft ? 0 : FetchCode();
    while (code == ClearCode) {
        ResetTable();
        code = FetchCode();
    }
    if (code >= 0 && !DataEnded) SkipBlocks(Stream);
}

} // namespace

void TGIFSubImage::Decompress(TStream* Stream)
{
    NewImage();
    const uint8_t fill = Transparent && GraphicControlExtension ? GraphicControlExtension->GetTransparentColorIndex() : 0;
    if (FDataSize > 0 && fill != 0) std::memset(FData.get(), fill, FDataSize);
    const int minCodeSize = GetByte(Stream);
    if (minCodeSize < 0) return;
    // Literal codes of 12 bits or more would not leave room in the 4096-entry table.
    if (minCodeSize >= 12) RaiseGifError(GIFTexts::BadCodeSize);
    std::unique_ptr<TGIFDecoder> decoder(new TGIFDecoder(this, Stream, minCodeSize));

    // Strings are copied from earlier pixels, so they are decoded in stream
    // order: an interlaced frame into rows of its own, then put in place.
    const int width = GetWidth(), height = GetHeight();
    std::unique_ptr<uint8_t[]> interlaced;
    uint8_t* out = FData.get();
    if (GetInterlaced() && FDataSize > 0) {
        interlaced.reset(new uint8_t[FDataSize]);
        out = interlaced.get();
    }
    int32_t decoded = 0;
    auto store = [&] {
        if (interlaced) {
            int row = 0, pass = 0, step = 8;
            for (int y = 0; y < height && int64_t(y) * width < decoded; ++y) {
                const int32_t n = std::min<int32_t>(width, decoded - y * width);
                std::memcpy(FData.get() + int64_t(row) * width, out + int64_t(y) * width, n);
                row += step;
                while (row >= height) {
                    if (pass > 0) step /= 2;
                    ++pass;
                    row = step / 2;
                }
            }
        } else if (decoded < FDataSize) {
            // A copy may have written a little past the last pixel.
            std::memset(out + decoded, fill, std::min(FDataSize - decoded, CopySlack));
        }
    };
    try {
        decoded = decoder->Decode(out, FDataSize);
    } catch (...) {
        decoded = decoder->Written();
        store();
        try {
            decoder->Finish();
        } catch (...) {
        }
        throw;
    }
    store();
    decoder->Finish();
}
