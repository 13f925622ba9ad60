#include "streams.h"
#include "exceptions.h"
#include "format.h"

#include <algorithm>
#include <cstring>
#ifdef _WIN32
#include <share.h>
#endif

void TStream::ReadBuffer(void* Buffer, int32_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(Texts::ReadError);
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(Texts::WriteError);
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    const int64_t total = Count;
    char buffer[61440];
    while (Count > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, sizeof buffer));
        Source->ReadBuffer(buffer, n);
        WriteBuffer(buffer, n);
        Count -= n;
    }
    return total;
}

int64_t TStream::Size()
{
    int64_t here = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(here, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

int32_t TMemoryStream::Read(void* Buffer, int32_t Count)
{
    if (Count <= 0 || Pos >= Size()) return 0;
    int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, Size() - Pos));
    std::memcpy(Buffer, Data.data() + Pos, n);
    Pos += n;
    return n;
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count)
{
    if (Count <= 0 || Pos < 0) return 0;
    int64_t end = Pos + Count;
    try {
        if (end > Size()) Data.resize(static_cast<size_t>(end));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(Texts::MemoryStreamError);
    }
    std::memcpy(Data.data() + Pos, Buffer, Count);
    Pos = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning: Pos = Offset; break;
    case soCurrent: Pos += Offset; break;
    case soEnd: Pos = Size() + Offset; break;
    }
    return Pos;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    try {
        Data.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(Texts::MemoryStreamError);
    }
    Pos = std::min(Pos, Size());
}

void TMemoryStream::Clear()
{
    Data.clear();
    Data.shrink_to_fit();
    Pos = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    int64_t count = Stream->Size();
    SetSize(count);
    if (count) Stream->ReadBuffer(Data.data(), static_cast<int32_t>(count));
    Pos = 0;
}

void TMemoryStream::SaveToStream(TStream* Stream)
{
    if (!Data.empty()) Stream->WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
}

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToFile(const std::string& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

TFileStream::TFileStream(const std::string& Name, uint16_t Mode) : FileName(Name)
{
    const bool create = Mode == fmCreate;
    const char* how = create ? "w+b" : (Mode & 3) == fmOpenRead ? "rb" : "r+b";
#ifdef _WIN32
    int share = _SH_DENYNO;
    if (create || (Mode & 0xF0) == fmShareExclusive) share = _SH_DENYRW;
    else if ((Mode & 0xF0) == fmShareDenyWrite) share = _SH_DENYWR;
    File = _fsopen(Name.c_str(), how, share);
#else
    File = std::fopen(Name.c_str(), how);
#endif
    if (!File) {
        if (create) throw EFCreateError(Format(Texts::FCreateError, Name.c_str()));
        throw EFOpenError(Format(Texts::FOpenError, Name.c_str()));
    }
}

TFileStream::~TFileStream()
{
    if (File) std::fclose(File);
}

int32_t TFileStream::Read(void* Buffer, int32_t Count)
{
    if (Count <= 0) return 0;
    if (LastWasWrite) std::fflush(File);
    LastWasWrite = false;
    return static_cast<int32_t>(std::fread(Buffer, 1, Count, File));
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count)
{
    if (Count <= 0) return 0;
    if (!LastWasWrite) std::fseek(File, 0, SEEK_CUR); // C requires a seek between a read and a write
    LastWasWrite = true;
    return static_cast<int32_t>(std::fwrite(Buffer, 1, Count, File));
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
    if (Offset != 0 || Origin != soCurrent) _fseeki64(File, Offset, whence);
    return _ftelli64(File);
#else
    if (Offset != 0 || Origin != soCurrent) fseeko(File, Offset, whence);
    return ftello(File);
#endif
}

std::string ReadShortString(TStream* Stream)
{
    uint8_t length = 0;
    Stream->ReadBuffer(&length, 1);
    std::string text(length, '\0');
    if (length) Stream->ReadBuffer(&text[0], length);
    return text;
}
