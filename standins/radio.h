// The simulated adapter's radio: the configuration it was given, the join
// that follows it through scanning, authenticating and associating to ready
// over the world's JoinMs while a matching cell is in range (a cell that
// refuses the WEP setting leaves it authenticating for good), and what it
// hears. Times are GetTickCount milliseconds, passed in.
#pragma once
#include "world.h"

#include "vantra/drivers/records.h"

#include <cstdint>

class Radio {
public:
    // Forgets any configuration: the radio scans for nothing.
    void Reset();
    // A new configuration: the join starts again. False for an SSID length
    // beyond 32, leaving the radio as it was.
    bool Configure(const WlanInfo& info);
    // False for an encryption level beyond 3.
    bool SetWep(const WlanWepInfo& wep);

    // The link as the driver reports it; `down`: the card is restarting.
    WlanInfo Link(const World& world, uint32_t now, bool down);
    const WlanWepInfo& Wep() const { return wep; }
    // Transmit rate of the link in 0.1 Mbps, 0 when not ready.
    int32_t LinkSpeed(const World& world, uint32_t now);
    // The cells in range, at most `room`; returns how many were written.
    int Survey(const World& world, uint32_t now, SiteSurveyEntry* entries, int room) const;

private:
    const Cell* Match(const World& world, bool& accepted) const;
    uint8_t State(const World& world, uint32_t now, const Cell*& cell);

    WlanInfo config{};
    WlanWepInfo wep{};
    bool configured = false;
    uint8_t candidate[6] = {}; // the cell being joined
    bool joining = false;
    uint32_t joinStart = 0;
};

// Channel centre frequency in MHz; Band 1 or 2 is the 5 GHz band.
uint16_t ChannelFrequency(uint8_t channel, uint8_t band);
// Key size in bytes of an encryption level, 0 for none or unknown.
int WepKeySize(uint8_t level);
