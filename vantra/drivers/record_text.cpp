#include "record_text.h"

#include <cstdio>
#include <cstring>

void CopyText(char* Field, size_t Size, const std::string& Text)
{
    std::memset(Field, 0, Size);
    std::memcpy(Field, Text.data(), Text.size() < Size ? Text.size() : Size - 1);
}

std::string FieldText(const char* Field, size_t Size) { return std::string(Field, strnlen(Field, Size)); }

void MacToText(const uint8_t* Mac, char* Out)
{
    std::snprintf(Out, 18, "%02X-%02X-%02X-%02X-%02X-%02X", Mac[0], Mac[1], Mac[2], Mac[3], Mac[4], Mac[5]);
}

std::string MacToText(const uint8_t* Mac)
{
    char text[18];
    MacToText(Mac, text);
    return text;
}

uint8_t HexDigitValue(char C)
{
    if (C >= '0' && C <= '9') return static_cast<uint8_t>(C - '0');
    if (C >= 'a' && C <= 'f') return static_cast<uint8_t>(C - 'a' + 10);
    if (C >= 'A' && C <= 'F') return static_cast<uint8_t>(C - 'A' + 10);
    return 0;
}

uint8_t HexPairToByte(char High, char Low)
{
    return static_cast<uint8_t>(HexDigitValue(High) * 16 + HexDigitValue(Low));
}

void TextToMac(const char* Text, uint8_t* Out)
{
    // A short text reads as zero bytes past its end, never beyond.
    char pairs[18] = {};
    std::strncpy(pairs, Text, 17);
    for (int i = 0; i < 6; ++i) Out[i] = HexPairToByte(pairs[3 * i], pairs[3 * i + 1]);
}

std::string BytesToHexText(const uint8_t* Bytes)
{
    char text[33];
    for (int i = 0; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02X", Bytes[i]);
    return std::string(text, 32);
}

const char* SsidToText(const uint8_t* Ssid, unsigned Length)
{
    static char buffer[33];
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, Ssid, Length > 32 ? 32 : Length);
    return buffer;
}

void ClampKeyIndex(WlanWepInfo* Wep)
{
    if (Wep && Wep->WepKeyToUse > 4) Wep->WepKeyToUse = 4;
}

void SetConfigDefaults(WlanInfo* Info)
{
    if (!Info) return;
    Info->FragThreshold = 2346;
    Info->RtsThreshold = 2347;
    Info->StationState = WLAN_STATION_STATE_RECONFIGURING;
}

void InitWepSetRecord(WlanWepInfo* Wep)
{
    if (!Wep) return;
    Wep->WepMode = 1;
    Wep->AuthenticationType = 0;
}

const int32_t FrequencyTable[32] = {
    2412, 2417, 2422, 2427, 2432, 2437, 2442, 2447, 2452, 2457, 2462, 2467, 2472, 2477, // 2.4 GHz
    5180, 5200, 5220, 5240, 5260, 5280, 5300, 5320,                                     // 5 GHz low
    5745, 5765, 5785, 5805, 5825,                                                       // 5 GHz high
    5210, 5250, 5290, 5760, 5800,                                                       // turbo
};

uint16_t ChannelFrequency(int32_t Channel)
{
    if (Channel < 1 || Channel > 32) return 0;
    return static_cast<uint16_t>(FrequencyTable[Channel - 1]);
}

std::string SsidBytes(const uint8_t* Ssid, unsigned Length)
{
    return std::string(reinterpret_cast<const char*>(Ssid), Length > 32 ? 32 : Length);
}
