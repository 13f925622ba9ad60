// The image data writers: a sub-block writer, and two encoders that emit
// GIF LZW code streams, one hashed LZW, one run-length (valid LZW that
// only ever refers to runs of one value).
#pragma once
#include "gif_types.h"
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

// Codes of the current table generation by key (prefix code x 256 + pixel).
class THashTable : public TObject {
public:
    CLASS_NAME(THashTable)
    enum { HashSize = 8009 };
    THashTable() : Slots(new uint32_t[HashSize]) { Clear(); }
    void Clear();
    static int SlotForKey(uint32_t Key) { return int(((Key >> 4) ^ Key) % HashSize); }
    // Visits every slot before returning to the first.
    static int NextProbeSlot(int Slot) { return Slot == 0 ? HashSize - 1 : Slot - 1; }
    void Insert(uint32_t Key, int Code);
    int FindCode(uint32_t Key) const; // -1 when absent

private:
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
    bool AdvancePixel();
    int CurrentPixel() const; // raises for a value beyond the colour table

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
    const uint8_t* Pixel = nullptr;
    int32_t PixelsLeft = 0;
    int Row = 0, Pass = 0;
};

class TLZWEncoder : public TGIFEncoder {
public:
    CLASS_NAME(TLZWEncoder)

protected:
    void PutCode(int Code) override;
    void Clear() override;
    void CompressFrame() override;

private:
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
