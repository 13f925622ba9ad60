#include "gif_util.h"

#include <cstring>

void RaiseGifError(const std::string& Message) { throw GIFException(Message); }

int64_t AlignedRowSize(int32_t Width, int32_t Bits, int32_t Alignment)
{
    const int64_t bits = int64_t(Width) * Bits + Alignment - 1;
    return (bits & ~int64_t(Alignment - 1)) >> 3;
}

int BitsForColors(int Count)
{
    if (Count <= 0) return 0;
    int bits = 1;
    while ((1 << bits) < Count) ++bits;
    return bits;
}

void PutByte(TStream* Stream, uint8_t Value) { Stream->WriteBuffer(&Value, 1); }

int GetByte(TStream* Stream)
{
    uint8_t value;
    return Stream->Read(&value, 1) == 1 ? value : -1;
}

void ReadExactly(TStream* Stream, void* Buffer, int32_t Size)
{
    if (Size > 0 && Stream->Read(Buffer, Size) != Size) RaiseGifError(GIFTexts::PrematureEnd);
}

void SkipBlocks(TStream* Stream)
{
    const int64_t size = Stream->Size();
    for (int n = GetByte(Stream); n > 0; n = GetByte(Stream)) {
        const int64_t next = Stream->Position() + n;
        if (next >= size) {
            Stream->SetPosition(size);
            return;
        }
        Stream->SetPosition(next);
    }
}

void WriteTextBlocks(TStream* Stream, const TStrings& Lines)
{
    for (int i = 0; i < Lines.Count(); ++i) {
        const std::string line = Lines[i];
        for (size_t done = 0; done < line.size(); done += 255) {
            const uint8_t n = uint8_t(std::min<size_t>(255, line.size() - done));
            PutByte(Stream, n);
            Stream->WriteBuffer(line.data() + done, n);
        }
    }
    PutByte(Stream, 0);
}

void ReadTextBlocks(TStream* Stream, TStrings& Lines)
{
    Lines.Clear();
    char block[256];
    for (int n = GetByte(Stream); n > 0; n = GetByte(Stream)) {
        ReadExactly(Stream, block, n);
        Lines.Add(std::string(block, strnlen(block, n)));
    }
}
