// The simulated world that the stand-in libraries share: the adapter and the
// other network cards of the computer, the radio cells in range, the timings,
// the entry points told to fail, and where state and the call log go. It is
// read from an INI file (standins.ini beside the module, or the file named by
// the VANTRA_WORLD environment variable) at the first call, and read again
// only when another file is named or the file's time stamp or size changes:
// every entry point asks for it, on its caller's thread.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Cell {
    std::string Ssid;
    uint8_t Bssid[6] = {};
    uint8_t Mode = 1; // 1 infrastructure, 0 ad hoc
    uint8_t Channel = 0;
    uint8_t Band = 0; // 1 or 2: 5 GHz
    uint8_t Signal = 0;
    uint8_t WepLevel = 0; // 0 none, 1-3 as WlanWepInfo.EncryptionLevel
    std::vector<uint8_t> Key;
    uint8_t Turbo = 0;
};

struct IpSettings {
    bool Dhcp = true;
    std::string Ip, Mask, Gateway, Dns; // Dns: "first,second"
};

struct Card {
    std::string Description;
    std::string Name; // as on the NT family
    uint8_t Mac[6] = {};
    bool Active = true;
    IpSettings Ip; // as configured in the world file
};

struct World {
    std::string Folder;      // of the world file, with a trailing separator
    std::string StateFolder; // with a trailing separator
    std::string LogFile;     // empty: no call log
    uint32_t JoinMs = 3000;
    uint32_t RestartMs = 300;
    int32_t NicErrorCode = 31;
    std::vector<std::string> Failing;

    bool AdapterPresent = false;
    Card Adapter; // the adapter's own card
    std::string RegistryKeyPath, DeviceId;
    uint8_t ChipKind = 0;
    std::vector<Card> OtherCards;

    // What the network's DHCP server hands out.
    IpSettings Lease;
    std::string DhcpServer;

    std::vector<Cell> Cells;

    bool Fails(const char* entryPoint) const;
};

// The current world. Not thread-safe: callers hold their library's lock.
const World& CurrentWorld();
