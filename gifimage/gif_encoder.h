// The image data writers: a sub-block writer, and two encoders that emit
// GIF LZW code streams, one hashed LZW, one run-length (valid LZW that
// only ever refers to runs of one value).
#pragma once
#include "gif_types.h"
#include "gif_util.h"
#include "toolkit/streams.h"

#include <cstdint>
#include <memory>

// A write-only stream: reading or seeking raises "Invalid stream operation".
class TGIFStream : public TStream {
public:
    CLASS_NAME(TGIFStream)
    explicit TGIFStream(TStream* Stream) : Stream(Stream) {}
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

protected:
    TStream* const Stream;
    uint8_t Buffer[256]; // byte 0 is the sub-block's length
    int BufferCount = 1;
};

// Passes bytes on as data sub-blocks of at most 255 bytes.
class TGIFWriter : public TGIFStream {
public:
    CLASS_NAME(TGIFWriter)
    using TGIFStream::TGIFStream;
    int32_t Write(const void* Buffer, int32_t Count) override;
    void PutByte(uint8_t Value)
    {
        Buffer[BufferCount++] = Value;
        if (BufferCount == int(sizeof Buffer)) EmitBlock();
    }
    void EmitBlock();
    void Flush() { EmitBlock(); } // the last, partial sub-block
};

// Codes of the current table generation by key (prefix code, pixel). A
// multiplicative hash scatters the keys, also the runs of consecutive
// prefixes that flat pictures make, so probe sequences stay short.
class THashTable : public TObject {
public:
    CLASS_NAME(THashTable)
    // Room for Keys keys at most (a generation holds at most 4094): at
    // least twice as many slots, so that small frames clear a small table.
    explicit THashTable(int32_t Keys);
    void Clear();
    int SlotForKey(int Prefix, int Pixel) const
    {
        return int(((uint32_t(Prefix) * 0x9E3779B1u) ^ (uint32_t(Pixel) * 0x85EBCA77u)) >> Shift);
    }
    // Visits every slot before returning to the first.
    int NextProbeSlot(int Slot) const { return (Slot + 1) & (Size - 1); }
    int SlotCount() const { return Size; }
    // The code of the key, or -1 with Slot at the free slot where it belongs.
    int FindCode(int Prefix, int Pixel, int& Slot) const
    {
        const uint32_t key = Key(Prefix, Pixel);
        for (Slot = SlotForKey(Prefix, Pixel);; Slot = NextProbeSlot(Slot)) {
            const uint32_t s = Slots[Slot];
            if ((s & KeyMask) == key) return int(s & 0xFFF);
            if (s == Empty) return -1;
        }
    }
    // At the slot that FindCode gave for the same key.
    void Insert(int Slot, int Prefix, int Pixel, int Code) { Slots[Slot] = Key(Prefix, Pixel) | uint32_t(Code); }

private:
    // A used slot holds the key (prefix x 256 + pixel) in its top 20 bits
    // and the code below; prefixes end at 4094, so no key looks empty.
    enum : uint32_t { KeyMask = 0xFFFFF000, Empty = 0xFFFFFFFF };
    static uint32_t Key(int Prefix, int Pixel) { return uint32_t(Prefix) << 20 | uint32_t(Pixel) << 12; }
    int Size, Shift;
    std::unique_ptr<uint32_t[]> Slots;
};

class TGIFEncoder : public TObject {
public:
    CLASS_NAME(TGIFEncoder)
    // Writes the minimum code size, the codes as sub-blocks and the terminator.
    void Compress(TStream* Stream, int BitsPerPixel, int Width, int Height, bool Interlaced,
                  const uint8_t* Data, int MaxColor);

protected:
    virtual void PutCode(int Code);
    virtual void Clear();
    virtual void CompressFrame() = 0;
    // The pixels in the order they are written, as runs of adjacent bytes:
    // the whole frame, or the rows of the four interlace passes.
    template <typename F>
    void ForEachRun(F Visit) const;
    int CheckedPixel(uint8_t Value) const // raises for a value beyond the colour table
    {
        if (Value >= MaxColor) RaiseGifError(GIFTexts::ColorNotInTable);
        return Value;
    }

    int MaxColor = 0;
    int BitsPerPixel = 0;
    int Width = 0, Height = 0;
    bool Interlaced = false;
    const uint8_t* Data = nullptr;
    std::unique_ptr<TGIFWriter> Writer;
    uint32_t OutputBucket = 0;
    int OutputBits = 0;
    bool ClearFlag = false;
    int BitsPerCode = 0, InitialBitsPerCode = 0;
    int MaxCode = 0, ClearCode = 0, EOFCode = 0, BaseCode = 0;
};

class TLZWEncoder : public TGIFEncoder {
public:
    CLASS_NAME(TLZWEncoder)

protected:
    void PutCode(int Code) override;
    void Clear() override;
    void CompressFrame() override;

private:
    // Codes Count pixels that follow the string Prefix; answers the string
    // they end in.
    int CompressRun(const uint8_t* Pixels, int32_t Count, int Prefix);
    int NextFreeCode = 0;
    std::unique_ptr<THashTable> HashTable;
};

class TRLEEncoder : public TGIFEncoder {
public:
    CLASS_NAME(TRLEEncoder)

protected:
    void Clear() override;
    void CompressFrame() override;

private:
    void PutLiteral(int Code);
    void RaiseClearPoint() { ClearPoint = MaxCodes; }
    void RestoreClearPoint();
    static int IntegerRoot(int X);
    static int TriangularCost(int Count, int N);
    void EmitRunAfterClear(int Count);
    void EmitClearOrRepeats(int Count);
    void EmitRunByTable(int Count);
    void EmitRun(int Count);

    int MaxCodes = 0, InitialBumpPoint = 0, InitialClearPoint = 0;
    int RunPixel = 0, RunTableMax = 0, RunTablePixel = 0;
    int OutputCount = 0, ClearPoint = 0, BumpPoint = 0;
};
