#include "text_fields.h"

#include <cstdio>
#include <cstring>

bool ParseMac(const std::string& text, uint8_t mac[6])
{
    std::memset(mac, 0, 6);
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 3) {
        std::vector<uint8_t> pair = ParseHex(text.substr(i, 2));
        if (pair.size() != 1 || (i + 2 < text.size() && text[i + 2] != '-' && text[i + 2] != ':')) return false;
        bytes.push_back(pair[0]);
    }
    if (bytes.size() != 6) return false;
    std::memcpy(mac, bytes.data(), 6);
    return true;
}

std::string HexBytes(const void* bytes, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        uint8_t b = static_cast<const uint8_t*>(bytes)[i];
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::vector<uint8_t> ParseHex(const std::string& text)
{
    auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0) break;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return bytes;
}
