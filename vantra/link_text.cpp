#include "link_text.h"
#include "toolkit/format.h"

#include <algorithm>
#include <cstring>

int32_t BarWidth(int32_t Value)
{
    const int32_t segments = std::clamp(Value, 0, 100) / 10;
    return segments >= 2 ? 7 * segments + segments - 1 : 7 * segments;
}

const char* EncryptionText(int32_t Level)
{
    switch (Level) {
    case 0: return "Disabled";
    case 1: return "64 bits";
    case 2: return "128 bits";
    case 3: return "152 bits";
    default: return "Unknow";
    }
}

int32_t EncryptionLevelOfDriverValues(const char* PrivacyInvoked, const char* KeyLength)
{
    if (PrivacyInvoked && std::strcmp(PrivacyInvoked, "0") == 0) return 0;
    if (!KeyLength) return -1;
    const struct {
        const char* Bytes;
        int32_t Level;
    } levels[] = {{"0", 0}, {"5", 1}, {"13", 2}, {"16", 3}};
    for (const auto& l : levels)
        if (std::strcmp(KeyLength, l.Bytes) == 0) return l.Level;
    return -1;
}

std::string TransmitRateText(int32_t Speed) { return Format("%.1f Mbps", Speed * 0.1); }

std::string ChannelText(int32_t Channel, int32_t FrequencyMHz)
{
    return Format("%d (%.3f GHz)", Channel, FrequencyMHz * 0.001);
}

DnsLabels SplitDnsList(const char* List, size_t Size)
{
    const std::string list(List, strnlen(List, Size));
    auto address = [](const std::string& Part) { return Part.substr(0, AddressTextLength); };
    const size_t comma = list.find(',');
    if (comma == std::string::npos || comma == 0) return {address(list), ""};
    const size_t end = list.find(',', comma + 1);
    return {address(list.substr(0, comma)), address(list.substr(comma + 1, end - comma - 1))};
}
