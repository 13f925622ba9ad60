#include "ip_address.h"

#include <cstdio>
#include <cstring>

namespace {

// The allowed mask octets; an octet's position j here means 8 - j one bits.
constexpr uint8_t MaskOctetTable[9] = {0xFF, 0xFE, 0xFC, 0xF8, 0xF0, 0xE0, 0xC0, 0x80, 0x00};

// One bits of a mask octet, or -1 when no mask may hold it.
int MaskBits(uint8_t Octet)
{
    for (int j = 0; j < 9; ++j)
        if (MaskOctetTable[j] == Octet) return 8 - j;
    return -1;
}

bool MaskShapeValid(const uint8_t* Mask)
{
    int previous = 8;
    for (int i = 0; i < 4; ++i) {
        const int bits = MaskBits(Mask[i]);
        if (bits < 0) return false;
        if (previous != 8 && bits != 0) return false; // after a partial octet only zeros
        previous = bits;
    }
    return true;
}

} // namespace

int32_t OctetTextValue(const std::string& Text)
{
    size_t at = 0;
    while (at < Text.size() && Text[at] == ' ') ++at;
    bool negative = false;
    if (at < Text.size() && (Text[at] == '+' || Text[at] == '-')) negative = Text[at++] == '-';
    if (at == Text.size()) return 0;
    int64_t value = 0;
    for (; at < Text.size(); ++at) {
        if (Text[at] < '0' || Text[at] > '9') return 0;
        // Past any octet already; stop before the sum can overflow.
        if (value <= INT32_MAX) value = value * 10 + (Text[at] - '0');
    }
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int32_t>(negative ? -value : value);
}

void ParseDottedIp(DottedAddress& Address)
{
    std::string rest(Address.Text, strnlen(Address.Text, sizeof Address.Text));
    uint8_t octets[4] = {};
    int count = 0;
    bool valid = !rest.empty();
    if (valid) {
        rest += '.';
        // Each pass takes one component and its dot; an empty one ends the text.
        for (size_t dot; (dot = rest.find('.')) != std::string::npos && dot > 0; rest.erase(0, dot + 1)) {
            const int32_t value = OctetTextValue(rest.substr(0, dot));
            if (value < 0 || value > 255) {
                valid = false;
                break;
            }
            if (count < 4) octets[count] = static_cast<uint8_t>(value);
            ++count;
        }
    }
    if (!valid || count != 4) std::memset(octets, 0, sizeof octets);
    std::memcpy(Address.Octets, octets, sizeof octets);
}

void FormatDottedIp(DottedAddress& Address)
{
    const uint8_t* o = Address.Octets;
    std::snprintf(Address.Text, sizeof Address.Text, "%u.%u.%u.%u", o[0], o[1], o[2], o[3]);
}

bool ValidateIpAndMask(DottedAddress Address, DottedAddress Mask, const std::function<void(const char*)>& Show)
{
    if (!MaskShapeValid(Mask.Octets)) {
        Show("You entered an invalid subnet mask. Please enter a valid mask.");
        return false;
    }
    auto word = [](const uint8_t* o) {
        return uint32_t{o[0]} << 24 | uint32_t{o[1]} << 16 | uint32_t{o[2]} << 8 | o[3];
    };
    const uint32_t address = word(Address.Octets), mask = word(Mask.Octets), hostMask = ~mask;
    const uint32_t host = address & hostMask;
    // A host part of all ones is the network's broadcast address; a one-bit
    // host part (a point-to-point link) has none.
    if (hostMask > 1 && host == hostMask) {
        Show("Invalid IP or subnet mask address.");
        return false;
    }
    bool valid = true;
    if ((address & mask) == 0) {
        Show("The combination of IP address and subnet mask is invalid. All of the bits in the network address "
             "portion of the IP\naddress are set to 0. Please enter a valid combination of IP address and subnet "
             "mask.");
        valid = false;
    }
    if (host == 0) {
        Show("The combination of IP address and subnet mask is invalid. All of the bits in the host address "
             "portion of the IP\naddress are set to 0. Please enter a valid combination of IP address and subnet "
             "mask.");
        valid = false;
    }
    return valid;
}
