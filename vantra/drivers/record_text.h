// Small routines that format, parse and prepare the fields of the adapter
// records. Portable: no Windows call.
#pragma once
#include "records.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Zero-fills a text field of Size bytes and copies what fits of Text,
// leaving room for the terminator.
void CopyText(char* Field, size_t Size, const std::string& Text);
template <size_t N> void CopyText(char (&Field)[N], const std::string& Text) { CopyText(Field, N, Text); }
// The text of a field that need not be terminated.
std::string FieldText(const char* Field, size_t Size);
template <size_t N> std::string FieldText(const char (&Field)[N]) { return FieldText(Field, N); }

// "%02X-%02X-%02X-%02X-%02X-%02X" into Out (at least 18 bytes).
void MacToText(const uint8_t* Mac, char* Out);
std::string MacToText(const uint8_t* Mac);
// The pairs at 0, 3, 6, 9, 12 and 15 of Text, each by HexPairToByte.
void TextToMac(const char* Text, uint8_t* Out);
// Exactly 16 bytes as 32 upper-case hexadecimal digits.
std::string BytesToHexText(const uint8_t* Bytes);

// A hexadecimal digit's value; a blank and any other character count as 0.
uint8_t HexDigitValue(char C);
uint8_t HexPairToByte(char High, char Low);

// The first Length bytes of a counted SSID as text. The length comes from
// outside the program, so more than 32 is cut to 32. The result lives in one
// static buffer that the next call overwrites.
const char* SsidToText(const uint8_t* Ssid, unsigned Length);
// The same bytes whole, zero bytes too (a hidden network's SSID may be all zeros).
std::string SsidBytes(const uint8_t* Ssid, unsigned Length);

void ClampKeyIndex(WlanWepInfo* Wep);     // WepKeyToUse at most 4
void SetConfigDefaults(WlanInfo* Info);   // before WLAN_Set_Config
void InitWepSetRecord(WlanWepInfo* Wep);  // before WLAN_Set_WEP_Config

// Channel centre frequencies in MHz by channel index (channel - 1).
extern const int32_t FrequencyTable[32];
// A channel's entry as the record's Frequency takes it; 0 for a channel
// outside the table.
uint16_t ChannelFrequency(int32_t Channel);
