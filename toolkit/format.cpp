#include "format.h"
#include "exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

void AbstractMethod() { throw EAbstractError(Texts::AbstractError); }

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(copy);
        return out;
    }
    if (static_cast<size_t>(n) < sizeof small) {
        out.assign(small, n);
    } else {
        out.resize(n + 1);
        std::vsnprintf(&out[0], out.size(), format, copy);
        out.resize(n);
    }
    va_end(copy);
    return out;
}

std::string LowerCase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

int CompareText(const std::string& a, const std::string& b)
{
    return LowerCase(a).compare(LowerCase(b));
}

std::string Trim(const std::string& text)
{
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

bool TryStrToInt(const std::string& text, int32_t& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    int64_t n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + (text[i] - '0');
        if (n > int64_t(INT32_MAX) + 1) return false;
    }
    if (negative) n = -n;
    if (n > INT32_MAX || n < INT32_MIN) return false;
    value = static_cast<int32_t>(n);
    return true;
}

int32_t StrToIntDef(const std::string& text, int32_t fallback)
{
    int32_t value = fallback;
    return TryStrToInt(text, value) ? value : fallback;
}

int32_t StrToInt(const std::string& text)
{
    int32_t value = 0;
    if (!TryStrToInt(Trim(text), value)) throw EConvertError(Format(Texts::InvalidInteger, text.c_str()));
    return value;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

static size_t LastSeparator(const std::string& path)
{
    return path.find_last_of("\\/:");
}

std::string ExtractFilePath(const std::string& path)
{
    size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string ExtractFileName(const std::string& path)
{
    size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}
