// One call of an entry point: holds the library's lock for its whole run and,
// when the world asks for a call log, writes one line for it:
//   NAME label=value ... -> result
// Records appear as the upper-case hexadecimal of the bytes the call
// received, texts in double quotes (a quote, backslash or control character
// as \xNN), a null pointer as null.
#pragma once
#include "world.h"

#include <cstddef>
#include <mutex>
#include <string>

class Call {
public:
    Call(std::recursive_mutex& lock, const char* name);
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    Call& Record(const char* label, const void* bytes, size_t size);
    Call& Text(const char* label, const char* text, size_t size = 260);
    Call& Int(const char* label, long long value);

    // The world tells this entry point to fail.
    bool Forced() const { return world.Fails(name); }

    template <class Result> Result Done(Result result)
    {
        Write(static_cast<long long>(result));
        return result;
    }

    const World& world;

private:
    void Write(long long result);
    std::lock_guard<std::recursive_mutex> hold;
    const char* name;
    std::string line;
};

// Appends one line to the call log, when the world keeps one.
void LogLine(const World& world, const std::string& line);
