// The profile wizard's tables and the rules that turn a profile's values
// into list positions and back: network modes, ad-hoc channels, the DNS
// servers' pair. Portable: no Windows call.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

// The network mode list of the channel page: "Mixed Mode" is NetBand 5,
// "G-Only Mode" 3.
constexpr int NetBandCount = 2;
extern const char* const NetBandNames[NetBandCount];
uint16_t NetBandOfIndex(int Index);         // an index off the list counts as "Mixed Mode"
int NetBandToTxRateIndex(uint16_t NetBand); // 0 for a value not in the list

// Ad-hoc channels are listed 1 to 11. A channel the list does not hold (0
// from a damaged profile, say) and no choice at all stand for channel 6.
constexpr int AdhocChannelCount = 11;
constexpr int DefaultChannel = 6;
int AdhocChannelIndex(int32_t Channel);
// The channel of a list index; infrastructure's single "Auto" is index 0.
int ChannelOfIndex(int Index);

// The first and second DNS server of a profile's "first,second" text,
// split at the first comma; without a comma the whole text is the first.
std::pair<std::string, std::string> SplitDnsServers(const std::string& Text);
