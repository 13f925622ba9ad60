// Dotted IPv4 address texts, the four octets they stand for, and the check
// of an address against its subnet mask. Portable: no Windows call.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

// One address: its dotted text (at most 15 characters; a text that fills all
// 16 bytes is read as far as it goes) and its octets, first octet first.
struct DottedAddress {
    char Text[16];
    uint8_t Octets[4];
};

// Octets from Text. Anything but four components of 0 to 255 (leading blanks
// allowed; a component that is not a number counts as 0) gives four zeros.
void ParseDottedIp(DottedAddress& Address);
// Text from Octets, as "%d.%d.%d.%d".
void FormatDottedIp(DottedAddress& Address);

// The decimal value of an octet field's or component's text: leading blanks,
// an optional sign and digits. Text that is not a number reads as 0; a value
// too large to hold reads as INT32_MAX.
int32_t OctetTextValue(const std::string& Text);

// Whether the address may be used with the mask: the mask's ones must come
// first, the address needs bits in both its network and its host part, and
// it may not be its network's broadcast address. Each fault is handed to
// Show as the user's message, in order.
bool ValidateIpAndMask(DottedAddress Address, DottedAddress Mask, const std::function<void(const char*)>& Show);
