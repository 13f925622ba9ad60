// Byte streams: the abstract TStream with its exact-size helpers, a stream
// in memory, and a stream over a file with the toolkit's open modes.
#pragma once
#include "persistent.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    CLASS_NAME(TStream)
    // Read and Write move up to Count bytes and return how many moved.
    virtual int32_t Read(void* Buffer, int32_t Count) = 0;
    virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

    // All Count bytes or EReadError / EWriteError.
    void ReadBuffer(void* Buffer, int32_t Count);
    void WriteBuffer(const void* Buffer, int32_t Count);
    // Count bytes from Source's position; 0 copies all of Source from its start.
    int64_t CopyFrom(TStream* Source, int64_t Count);

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t NewSize);
};

class TMemoryStream : public TStream {
public:
    CLASS_NAME(TMemoryStream)
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() override { return static_cast<int64_t>(Data.size()); }
    void SetSize(int64_t NewSize) override;

    void Clear();
    uint8_t* Memory() { return Data.data(); }
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

private:
    std::vector<uint8_t> Data;
    int64_t Pos = 0;
};

// Open modes: one access mode, optionally or-ed with one share mode.
enum : uint16_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFFFF, // create or truncate, read and write
};

class TFileStream : public TStream {
public:
    CLASS_NAME(TFileStream)
    TFileStream(const std::string& FileName, uint16_t Mode); // EFOpenError / EFCreateError
    ~TFileStream() override;
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    const std::string FileName;

private:
    std::FILE* File = nullptr;
    bool LastWasWrite = false;
};

// A text stored as a length byte followed by its bytes.
std::string ReadShortString(TStream* Stream);
