#include "gif_encoder.h"
#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <algorithm>
#include <cstring>

int32_t TGIFStream::Read(void*, int32_t) { throw Exception(GIFTexts::BadStreamOperation); }
int32_t TGIFStream::Write(const void*, int32_t) { throw Exception(GIFTexts::BadStreamOperation); }
int64_t TGIFStream::Seek(int64_t, TSeekOrigin) { throw Exception(GIFTexts::BadStreamOperation); }

int32_t TGIFWriter::Write(const void* Data, int32_t Count)
{
    const uint8_t* p = static_cast<const uint8_t*>(Data);
    for (int32_t left = Count; left > 0;) {
        const int n = std::min<int32_t>(left, int32_t(sizeof Buffer) - BufferCount);
        std::memcpy(Buffer + BufferCount, p, n);
        BufferCount += n;
        p += n;
        left -= n;
        if (BufferCount == int(sizeof Buffer)) EmitBlock();
    }
    return Count;
}

void TGIFWriter::EmitBlock()
{
    if (BufferCount <= 1) return;
    Buffer[0] = uint8_t(BufferCount - 1);
    Stream->WriteBuffer(Buffer, BufferCount);
    BufferCount = 1;
}

THashTable::THashTable(int32_t Keys)
{
    int bits = 6;
    while ((1 << bits) < 2 * std::min<int32_t>(Keys, 4096)) ++bits;
    Size = 1 << bits;
    Shift = 32 - bits;
    Slots.reset(new uint32_t[Size]);
    Clear();
}

void THashTable::Clear() { std::memset(Slots.get(), 0xFF, Size * sizeof(uint32_t)); }

void TGIFEncoder::Compress(TStream* Stream, int BitsPerPixel, int Width, int Height, bool Interlaced,
                           const uint8_t* Data, int MaxColor)
{
    this->MaxColor = MaxColor;
    this->BitsPerPixel = std::max(BitsPerPixel, 2);
    this->Width = Width;
    this->Height = Height;
    this->Interlaced = Interlaced;
    this->Data = Data;
    InitialBitsPerCode = this->BitsPerPixel + 1;
    ::PutByte(Stream, uint8_t(this->BitsPerPixel));

    BitsPerCode = InitialBitsPerCode;
    MaxCode = (1 << BitsPerCode) - 1;
    ClearCode = 1 << (InitialBitsPerCode - 1);
    EOFCode = ClearCode + 1;
    BaseCode = ClearCode + 2;
    OutputBucket = 0;
    OutputBits = 0;

    Writer.reset(new TGIFWriter(Stream));
    try {
        if (Data && Width > 0 && Height > 0) CompressFrame();
        PutCode(EOFCode);
        Writer->Flush();
    } catch (...) {
        // What was encoded so far still reaches the stream.
        try {
            Writer->Flush();
        } catch (...) {
        }
        Writer.reset();
        throw;
    }
    Writer.reset();
    ::PutByte(Stream, 0);
}

void TGIFEncoder::PutCode(int Code)
{
    OutputBucket = OutputBits > 0 ? (OutputBucket & ((1u << OutputBits) - 1)) | (uint32_t(Code) << OutputBits)
                                  : uint32_t(Code);
    OutputBits += BitsPerCode;
    while (OutputBits >= 8) {
        Writer->PutByte(uint8_t(OutputBucket));
        OutputBucket >>= 8;
        OutputBits -= 8;
    }
    if (Code == EOFCode && OutputBits > 0) {
        Writer->PutByte(uint8_t(OutputBucket));
        OutputBits = 0;
    }
}

void TGIFEncoder::Clear()
{
    ClearFlag = true;
    PutCode(ClearCode);
}

template <typename F>
void TGIFEncoder::ForEachRun(F Visit) const
{
    if (!Interlaced) {
        Visit(Data, int32_t(Width) * Height);
        return;
    }
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int row = start[pass]; row < Height; row += step[pass]) Visit(Data + int64_t(row) * Width, Width);
}

// LZW

void TLZWEncoder::PutCode(int Code)
{
    TGIFEncoder::PutCode(Code);
    if (NextFreeCode > MaxCode || ClearFlag) {
        if (ClearFlag) {
            BitsPerCode = InitialBitsPerCode;
            MaxCode = (1 << BitsPerCode) - 1;
            ClearFlag = false;
        } else {
            ++BitsPerCode;
            MaxCode = BitsPerCode == 12 ? 4096 : (1 << BitsPerCode) - 1;
        }
    }
}

void TLZWEncoder::Clear()
{
    TGIFEncoder::Clear();
    HashTable->Clear();
    NextFreeCode = ClearCode + 2;
}

void TLZWEncoder::CompressFrame()
{
    HashTable.reset(new THashTable(int32_t(std::min<int64_t>(int64_t(Width) * Height, 4096))));
    try {
        Clear();
        int prefix = -1;
        ForEachRun([&](const uint8_t* Pixels, int32_t Count) {
            if (prefix < 0) {
                prefix = CheckedPixel(*Pixels++);
                --Count;
            }
            prefix = CompressRun(Pixels, Count, prefix);
        });
        TLZWEncoder::PutCode(prefix);
    } catch (...) {
        HashTable.reset();
        throw;
    }
    HashTable.reset();
}

int TLZWEncoder::CompressRun(const uint8_t* Pixels, int32_t Count, int Prefix)
{
    THashTable& table = *HashTable;
    for (int32_t i = 0; i < Count; ++i) {
        const int c = CheckedPixel(Pixels[i]);
        int slot;
        const int code = table.FindCode(Prefix, c, slot);
        if (code >= 0) {
            Prefix = code;
            continue;
        }
        TLZWEncoder::PutCode(Prefix);
        if (NextFreeCode < 4095)
            table.Insert(slot, Prefix, c, NextFreeCode++);
        else
            TLZWEncoder::Clear();
        Prefix = c;
    }
    return Prefix;
}

// RLE

void TRLEEncoder::Clear()
{
    BumpPoint = InitialBumpPoint;
    ClearPoint = InitialClearPoint;
    OutputCount = 0;
    RunTableMax = 0;
    TGIFEncoder::Clear();
    BitsPerCode = InitialBitsPerCode;
}

void TRLEEncoder::PutLiteral(int Code)
{
    ClearFlag = false;
    PutCode(Code);
    if (++OutputCount >= BumpPoint) {
        ++BitsPerCode;
        BumpPoint += 1 << (BitsPerCode - 1);
    }
    if (OutputCount >= ClearPoint) Clear();
}

void TRLEEncoder::RestoreClearPoint()
{
    ClearPoint = InitialClearPoint;
    if (OutputCount >= ClearPoint) Clear();
}

int TRLEEncoder::IntegerRoot(int X)
{
    if (X < 2) return X;
    int r = 1;
    for (int v = X; v > 0; v /= 4) r *= 2;
    for (;;) {
        const int v = (X / r + r) / 2;
        if (v == r || v == r + 1) return r;
        r = v;
    }
}

// Codes needed to send Count pixels as runs 1, 2, 3, ... in a table of N codes.
int TRLEEncoder::TriangularCost(int Count, int N)
{
    int cost = 0;
    const int per = N * (N + 1) / 2;
    while (Count >= per) {
        cost += N;
        Count -= per;
    }
    if (Count > 0) {
        int k = IntegerRoot(Count);
        while (k * (k + 1) >= 2 * Count) --k;
        while (k * (k + 1) < 2 * Count) ++k;
        cost += k;
    }
    return cost;
}

void TRLEEncoder::EmitRunAfterClear(int Count)
{
    RaiseClearPoint();
    RunTablePixel = RunPixel;
    int n = 1;
    while (Count > 0) {
        if (n == 1) {
            RunTableMax = 1;
            PutLiteral(RunPixel);
            --Count;
        } else if (Count >= n) {
            RunTableMax = n;
            PutLiteral(BaseCode + n - 2);
            Count -= n;
        } else if (Count == 1) {
            ++RunTableMax;
            PutLiteral(RunPixel);
            break;
        } else {
            ++RunTableMax;
            PutLiteral(BaseCode + Count - 2);
            break;
        }
        n = OutputCount == 0 ? 1 : n + 1;
    }
    RestoreClearPoint();
}

void TRLEEncoder::EmitClearOrRepeats(int Count)
{
    if (TriangularCost(Count, MaxCodes) + 1 < Count) {
        Clear();
        EmitRunAfterClear(Count);
    } else {
        for (; Count > 0; --Count) PutLiteral(RunPixel);
    }
}

void TRLEEncoder::EmitRunByTable(int Count)
{
    int repeats = Count / RunTableMax;
    int left = Count % RunTableMax;
    int extra = left > 0 ? 1 : 0;
    if (OutputCount + repeats + extra > MaxCodes) {
        repeats = MaxCodes - OutputCount;
        left = Count - repeats * RunTableMax;
        extra = TriangularCost(left, MaxCodes) + 1;
    }
    if (TriangularCost(Count, MaxCodes) + 1 < repeats + extra) {
        Clear();
        EmitRunAfterClear(Count);
        return;
    }
    RaiseClearPoint();
    for (; repeats > 0; --repeats) PutLiteral(BaseCode + RunTableMax - 2);
    if (left > 0) {
        if (ClearFlag)
            EmitRunAfterClear(left);
        else if (left == 1)
            PutLiteral(RunPixel);
        else
            PutLiteral(BaseCode + left - 2);
    }
    RestoreClearPoint();
}

void TRLEEncoder::EmitRun(int Count)
{
    if (Count == 1)
        PutLiteral(RunPixel);
    else if (ClearFlag)
        EmitRunAfterClear(Count);
    else if (RunTableMax < 2 || RunTablePixel != RunPixel)
        EmitClearOrRepeats(Count);
    else
        EmitRunByTable(Count);
}

void TRLEEncoder::CompressFrame()
{
    InitialBumpPoint = ClearCode - 1;
    InitialClearPoint = BitsPerPixel <= 3 ? 9 : InitialBumpPoint - 1;
    MaxCodes = 4095 - BaseCode;
    Clear();
    int count = 0;
    RunPixel = -1;
    ForEachRun([&](const uint8_t* Pixels, int32_t Count) {
        for (int32_t i = 0; i < Count; ++i) {
            const int c = CheckedPixel(Pixels[i]);
            if (count > 0 && c != RunPixel) {
                EmitRun(count);
                count = 0;
            }
            if (c == RunPixel) {
                ++count;
            } else {
                RunPixel = c;
                count = 1;
            }
        }
    });
    EmitRun(count);
}

void TGIFSubImage::Compress(TStream* Stream)
{
    int bits, colors;
    if (ColorMap->Count() > 0) {
        colors = ColorMap->Count();
        bits = ColorMap->GetBitsPerPixel();
    } else {
        bits = Image()->GetBitsPerPixel();
        colors = 1 << bits;
    }
    std::unique_ptr<TGIFEncoder> encoder;
    if (Image()->Compression == gcRLE)
        encoder.reset(new TRLEEncoder);
    else
        encoder.reset(new TLZWEncoder);
    encoder->Compress(Stream, bits, GetWidth(), GetHeight(), GetInterlaced(), FData.get(), colors);
}
