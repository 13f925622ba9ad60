// What the link page shows of the link record and of the card's TCP/IP
// settings: bar widths, the encryption in use, the rate and channel texts
// and the two DNS labels. Portable: no Windows call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Width in pixels of a signal or quality bar: ten 7-pixel segments one
// pixel apart, one per 10 points; values above 100 count as 100.
int32_t BarWidth(int32_t Value);

// Encryption levels of the WEP record: 0 none, 1 64-bit, 2 128-bit, 3 152-bit.
// Any other level is "Unknow".
const char* EncryptionText(int32_t Level);

// The level that the driver parameters "privacyInvoked" and "keyLength0"
// describe; a null text is a value that could not be read. -1 when they
// describe none of the four.
int32_t EncryptionLevelOfDriverValues(const char* PrivacyInvoked, const char* KeyLength);

// "54.0 Mbps" from the library's rate in units of 100 kbit/s.
std::string TransmitRateText(int32_t Speed);
// "6 (2.437 GHz)" from the channel and its frequency in MHz.
std::string ChannelText(int32_t Channel, int32_t FrequencyMHz);

// The longest text an address label shows: "255.255.255.255".
constexpr size_t AddressTextLength = 15;

// The first and second DNS server of a comma-separated list of Size bytes
// at most (it need not be terminated within them). A list without a comma,
// or one that begins with it, is all first; each part is cut to an address.
struct DnsLabels {
    std::string First, Second;
};
DnsLabels SplitDnsList(const char* List, size_t Size);
