// Low-level routines of the GIF reader and writer: the error raiser, bit
// arithmetic, byte and data sub-block access to streams, and a flag raised
// for a scope.
#pragma once
#include "gif_types.h"
#include "toolkit/streams.h"
#include "toolkit/strings.h"

#include <cstdint>
#include <string>

[[noreturn]] void RaiseGifError(const std::string& Message);

// Bytes in a row of Width pixels of Bits each, padded to Alignment bits (a power of two).
int64_t AlignedRowSize(int32_t Width, int32_t Bits, int32_t Alignment);
// The smallest n >= 1 with 2^n >= Count; 0 for 0.
int BitsForColors(int Count);

void PutByte(TStream* Stream, uint8_t Value);
// The next byte, or -1 at the end of the stream.
int GetByte(TStream* Stream);
// Exactly Size bytes, else GIFException "Premature end of data".
void ReadExactly(TStream* Stream, void* Buffer, int32_t Size);
// Moves past data sub-blocks up to and including the terminator, or to the end of the stream.
void SkipBlocks(TStream* Stream);

// Each line as data sub-blocks of up to 255 bytes, then one terminator.
void WriteTextBlocks(TStream* Stream, const TStrings& Lines);
// Each sub-block up to the terminator as one line, cut at its first 0 byte.
void ReadTextBlocks(TStream* Stream, TStrings& Lines);

// Raises Flag for the life of the scope; lowers it also when an exception leaves.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : Flag(Flag) { Flag = true; }
    ~TFlagScope() { Flag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& Flag;
};
