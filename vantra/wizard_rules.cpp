#include "wizard_rules.h"

namespace {

const uint16_t NetBandTable[NetBandCount] = {5, 3};

} // namespace

const char* const NetBandNames[NetBandCount] = {"Mixed Mode", "G-Only Mode"};

uint16_t NetBandOfIndex(int Index) { return NetBandTable[Index >= 0 && Index < NetBandCount ? Index : 0]; }

int NetBandToTxRateIndex(uint16_t NetBand)
{
    for (int i = 0; i < NetBandCount; ++i)
        if (NetBandTable[i] == NetBand) return i;
    return 0;
}

int AdhocChannelIndex(int32_t Channel)
{
    return (Channel >= 1 && Channel <= AdhocChannelCount ? Channel : DefaultChannel) - 1;
}

int ChannelOfIndex(int Index) { return Index >= 0 && Index < AdhocChannelCount ? Index + 1 : DefaultChannel; }

std::pair<std::string, std::string> SplitDnsServers(const std::string& Text)
{
    const size_t comma = Text.find(',');
    if (comma == std::string::npos) return {Text, ""};
    return {Text.substr(0, comma), Text.substr(comma + 1)};
}
