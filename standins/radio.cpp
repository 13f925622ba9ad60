#include "radio.h"

#include <cstring>

namespace {

// A small, slow wander around a base value: it changes every 1.5 s, by at
// most `spread` either way, differently for each cell.
uint8_t Wander(uint8_t base, const uint8_t bssid[6], uint32_t now, uint32_t salt, int spread)
{
    uint32_t h = now / 1500 * 2654435761u ^ salt * 40503u;
    for (int i = 0; i < 6; ++i) h = (h ^ bssid[i]) * 16777619u;
    int value = base + static_cast<int>((h >> 16) % (2 * spread + 1)) - spread;
    return static_cast<uint8_t>(value < 0 ? 0 : value > 100 ? 100 : value);
}

bool SameWep(const Cell& cell, const WlanWepInfo& wep)
{
    if (cell.WepLevel != wep.EncryptionLevel) return false;
    if (cell.WepLevel == 0) return true;
    const uint8_t* keys[] = {wep.WepKey1, wep.WepKey2, wep.WepKey3, wep.WepKey4};
    size_t size = static_cast<size_t>(WepKeySize(cell.WepLevel));
    return size > 0 && cell.Key.size() == size && std::memcmp(keys[wep.WepKeyToUse & 3], cell.Key.data(), size) == 0;
}

bool ZeroMac(const uint8_t mac[6])
{
    static const uint8_t zero[6] = {};
    return std::memcmp(mac, zero, 6) == 0;
}

} // namespace

uint16_t ChannelFrequency(uint8_t channel, uint8_t band)
{
    if (channel == 0) return 0;
    if (band == 1 || band == 2) return static_cast<uint16_t>(5000 + 5 * channel);
    return channel == 14 ? 2484 : static_cast<uint16_t>(2407 + 5 * channel);
}

int WepKeySize(uint8_t level)
{
    return level == 1 ? 5 : level == 2 ? 13 : level == 3 ? 16 : 0;
}

void Radio::Reset()
{
    config = {};
    wep = {};
    configured = false;
    joining = false;
}

bool Radio::Configure(const WlanInfo& info)
{
    if (info.SSID_length > 32) return false;
    config = info;
    configured = true;
    joining = false;
    return true;
}

bool Radio::SetWep(const WlanWepInfo& value)
{
    if (value.EncryptionLevel > 3) return false;
    wep = value;
    joining = false;
    return true;
}

// The cell the configuration names: same mode and SSID; among several, the
// one that takes the WEP setting, then the configured BSSID, then the
// strongest. `accepted`: the cell takes the WEP setting.
const Cell* Radio::Match(const World& world, bool& accepted) const
{
    accepted = false;
    if (!configured || config.SSID_length == 0) return nullptr;
    const Cell* best = nullptr;
    int bestRank = -1;
    for (const Cell& cell : world.Cells) {
        if (cell.Mode != config.OperatingModeID || cell.Ssid.size() != config.SSID_length ||
            std::memcmp(cell.Ssid.data(), config.SSID, config.SSID_length) != 0)
            continue;
        const bool fits = SameWep(cell, wep);
        const bool named = !ZeroMac(config.Bssid) && std::memcmp(cell.Bssid, config.Bssid, 6) == 0;
        const int rank = (fits ? 2 : 0) + (named ? 1 : 0);
        if (rank > bestRank || (rank == bestRank && cell.Signal > best->Signal)) {
            best = &cell;
            bestRank = rank;
            accepted = fits;
        }
    }
    return best;
}

uint8_t Radio::State(const World& world, uint32_t now, const Cell*& cell)
{
    bool accepted = false;
    cell = Match(world, accepted);
    if (!cell) {
        joining = false;
        return WLAN_STATION_STATE_SCANNING;
    }
    if (!joining || std::memcmp(candidate, cell->Bssid, 6) != 0) {
        std::memcpy(candidate, cell->Bssid, 6);
        joining = true;
        joinStart = now;
    }
    uint64_t elapsed = now - joinStart;
    uint64_t join = world.JoinMs;
    // A cell that refuses the key keeps the station authenticating with it.
    if (!accepted) return elapsed * 10 >= join * 5 ? WLAN_STATION_STATE_AUTHENTICATING : WLAN_STATION_STATE_SCANNING;
    if (elapsed >= join) return WLAN_STATION_STATE_READY;
    if (elapsed * 10 >= join * 8) return WLAN_STATION_STATE_ASSOCIATING;
    if (elapsed * 10 >= join * 5) return WLAN_STATION_STATE_AUTHENTICATING;
    return WLAN_STATION_STATE_SCANNING;
}

WlanInfo Radio::Link(const World& world, uint32_t now, bool down)
{
    WlanInfo link = config;
    std::memset(link.Bssid, 0, 6);
    link.SignalStrength = link.LinkQuality = 0;
    if (!configured) {
        link.FragThreshold = 2346;
        link.RtsThreshold = 2347;
    }
    const Cell* cell = nullptr;
    link.StationState = down ? uint8_t{WLAN_STATION_STATE_RESETTING} : State(world, now, cell);
    uint8_t band = 0;
    if (cell && link.StationState != WLAN_STATION_STATE_SCANNING) {
        link.Channel = cell->Channel;
        band = cell->Band;
        std::memcpy(link.Bssid, cell->Bssid, 6);
    }
    if (cell && link.StationState == WLAN_STATION_STATE_READY) {
        link.SignalStrength = Wander(cell->Signal, cell->Bssid, now, 1, 3);
        link.LinkQuality = Wander(static_cast<uint8_t>(cell->Signal * 9 / 10 + 10), cell->Bssid, now, 2, 4);
    }
    link.Frequency = ChannelFrequency(link.Channel, band);
    return link;
}

int32_t Radio::LinkSpeed(const World& world, uint32_t now)
{
    WlanInfo link = Link(world, now, false);
    if (link.StationState != WLAN_STATION_STATE_READY) return 0;
    static const struct { uint8_t signal; int32_t rate; } steps[] = {
        {60, 540}, {45, 480}, {35, 360}, {25, 240}, {15, 110}, {8, 55}, {0, 20}};
    for (const auto& step : steps)
        if (link.SignalStrength >= step.signal) return step.rate;
    return 0;
}

int Radio::Survey(const World& world, uint32_t now, SiteSurveyEntry* entries, int room) const
{
    int count = 0;
    for (const Cell& cell : world.Cells) {
        if (count == room) break;
        SiteSurveyEntry& entry = entries[count++];
        entry = {};
        entry.Channel = cell.Channel;
        std::memcpy(entry.SSID, cell.Ssid.data(), cell.Ssid.size());
        entry.SSID_length = static_cast<uint8_t>(cell.Ssid.size());
        std::memcpy(entry.Bssid, cell.Bssid, 6);
        entry.Signal = Wander(cell.Signal, cell.Bssid, now, 1, 3);
        entry.WepEnabled = cell.WepLevel != 0;
        entry.OperatingModeID = cell.Mode;
        entry.Band = cell.Band;
        entry.Turbo = cell.Turbo;
    }
    return count;
}
