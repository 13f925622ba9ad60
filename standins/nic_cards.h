// The computer's network cards as the NIC library sees them: the adapter's
// card and the others of the world, with the TCP/IP settings applied to each
// kept in nic.ini in the state folder (one section per card name).
#pragma once
#include "world.h"

#include "vantra/drivers/records.h"

#include <string>
#include <vector>

struct NicCard : Card {
    bool Adapter = false;  // the simulated wireless adapter
    bool Released = false; // DHCP lease given back
};

class NicCards {
public:
    explicit NicCards(const World& world);

    // Every card, the adapter's first while it is in the computer.
    std::vector<NicCard>& All() { return cards; }
    NicCard* Find(const NicEntry* entry);
    NicCard* FindByName(const std::string& reportedName);
    NicCard* FindByMac(const uint8_t* mac);

    // The name the library reports: the NT name, or on Windows 9x "Net\"
    // followed by it (so that its bytes 4-7 are the NT name's first four).
    static std::string ReportedName(const Card& card);
    NicEntry Entry(const NicCard& card) const;
    NicIpInfo Detail(const NicCard& card) const;
    bool Save(const NicCard& card) const;

private:
    const World& world;
    std::vector<NicCard> cards;
};

// Dotted addresses: four decimal octets, nothing else.
bool IsAddress(const std::string& text);
bool IsMask(const std::string& text);
// An address for a card of its own: neither 0.0.0.0 nor 255.255.255.255.
bool IsHostAddress(const std::string& text);
// Addresses separated by commas; empty items are allowed.
bool IsAddressList(const std::string& text);
