#include "call.h"
#include "text_fields.h"

#include "toolkit/format.h"

#include <windows.h>

#include <cstring>

Call::Call(std::recursive_mutex& lock, const char* name)
    : world((lock.lock(), CurrentWorld())), hold(lock, std::adopt_lock), name(name), line(name)
{
}

Call& Call::Record(const char* label, const void* bytes, size_t size)
{
    if (!world.LogFile.empty())
        line += Format(" %s=%s", label, bytes ? HexBytes(bytes, size).c_str() : "null");
    return *this;
}

Call& Call::Text(const char* label, const char* text, size_t size)
{
    if (world.LogFile.empty()) return *this;
    line += Format(" %s=", label);
    if (!text) {
        line += "null";
        return *this;
    }
    line += '"';
    for (const char* c = text; c < text + size && *c; ++c) {
        if (*c == '"' || *c == '\\' || static_cast<unsigned char>(*c) < ' ')
            line += Format("\\x%02X", static_cast<unsigned char>(*c));
        else
            line += *c;
    }
    line += '"';
    return *this;
}

Call& Call::Int(const char* label, long long value)
{
    if (!world.LogFile.empty()) line += Format(" %s=%lld", label, value);
    return *this;
}

void Call::Write(long long result)
{
    LogLine(world, line + Format(" -> %lld", result));
}

void LogLine(const World& world, const std::string& line)
{
    if (world.LogFile.empty()) return;
    // One write per line, appended, so that lines of several libraries and
    // processes never interleave.
    HANDLE file = CreateFileA(world.LogFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}
