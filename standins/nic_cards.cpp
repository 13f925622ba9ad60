#include "nic_cards.h"
#include "state_files.h"
#include "text_fields.h"

#include "toolkit/inifile.h"

#include <cstdio>
#include <cstring>

namespace {

std::string SettingsFile(const World& world)
{
    return world.StateFolder + "nic.ini";
}

bool ParseAddress(const std::string& text, uint32_t& value)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
    unsigned octet[4];
    char extra;
    if (std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u%c", &octet[0], &octet[1], &octet[2], &octet[3], &extra) != 4)
        return false;
    value = 0;
    for (unsigned o : octet) {
        if (o > 255) return false;
        value = value << 8 | o;
    }
    return true;
}

} // namespace

NicCards::NicCards(const World& world) : world(world)
{
    if (world.AdapterPresent) {
        NicCard adapter;
        static_cast<Card&>(adapter) = world.Adapter;
        adapter.Adapter = true;
        cards.push_back(adapter);
    }
    for (const Card& other : world.OtherCards) {
        NicCard card;
        static_cast<Card&>(card) = other;
        cards.push_back(card);
    }
    TIniFile ini(SettingsFile(world));
    for (NicCard& card : cards) {
        if (!ini.SectionExists(card.Name)) continue;
        card.Active = ini.ReadBool(card.Name, "Active", card.Active);
        card.Released = ini.ReadBool(card.Name, "Released", false);
        card.Ip.Dhcp = ini.ReadBool(card.Name, "Dhcp", card.Ip.Dhcp);
        card.Ip.Ip = ini.ReadString(card.Name, "Ip", card.Ip.Ip);
        card.Ip.Mask = ini.ReadString(card.Name, "Mask", card.Ip.Mask);
        card.Ip.Gateway = ini.ReadString(card.Name, "Gateway", card.Ip.Gateway);
        card.Ip.Dns = ini.ReadString(card.Name, "Dns", card.Ip.Dns);
    }
}

std::string NicCards::ReportedName(const Card& card)
{
#ifdef NIC_WINDOWS_9X
    return "Net\\" + card.Name;
#else
    return card.Name;
#endif
}

NicCard* NicCards::FindByName(const std::string& reportedName)
{
    for (NicCard& card : cards)
        if (ReportedName(card) == reportedName) return &card;
    return nullptr;
}

NicCard* NicCards::Find(const NicEntry* entry)
{
    return entry ? FindByName(FieldText(entry->Name, sizeof entry->Name)) : nullptr;
}

NicCard* NicCards::FindByMac(const uint8_t* mac)
{
    for (NicCard& card : cards)
        if (mac && std::memcmp(card.Mac, mac, 6) == 0) return &card;
    return nullptr;
}

NicEntry NicCards::Entry(const NicCard& card) const
{
    NicEntry entry{};
    CopyText(entry.Description, sizeof entry.Description, card.Description);
    CopyText(entry.Name, sizeof entry.Name, ReportedName(card));
    entry.Active = card.Active;
    return entry;
}

NicIpInfo NicCards::Detail(const NicCard& card) const
{
    NicIpInfo info{};
    CopyText(info.cDescription, sizeof info.cDescription, card.Description);
    CopyText(info.cAdapterName, sizeof info.cAdapterName, ReportedName(card));
    info.blDhcpEnabled = card.Ip.Dhcp;
    std::memcpy(info.Mac, card.Mac, 6);
    IpSettings ip = card.Ip;
    if (card.Ip.Dhcp && card.Released) {
        ip.Ip = ip.Mask = "0.0.0.0";
        ip.Gateway.clear();
    } else if (card.Ip.Dhcp) {
        ip = world.Lease;
        // A DNS list of the card's own wins over the one DHCP supplies.
        if (!card.Ip.Dns.empty()) ip.Dns = card.Ip.Dns;
        CopyText(info.cDhcpServer, sizeof info.cDhcpServer, world.DhcpServer);
    }
    CopyText(info.cIpAdress, sizeof info.cIpAdress, ip.Ip);
    CopyText(info.cNetMask, sizeof info.cNetMask, ip.Mask);
    CopyText(info.cGateway, sizeof info.cGateway, ip.Gateway);
    CopyText(info.cDnsServer, sizeof info.cDnsServer, ip.Dns);
    return info;
}

bool NicCards::Save(const NicCard& card) const
{
    EnsureFolder(world.StateFolder);
    TIniFile ini(SettingsFile(world));
    try {
        ini.WriteBool(card.Name, "Active", card.Active);
        ini.WriteBool(card.Name, "Released", card.Released);
        ini.WriteBool(card.Name, "Dhcp", card.Ip.Dhcp);
        ini.WriteString(card.Name, "Ip", card.Ip.Ip);
        ini.WriteString(card.Name, "Mask", card.Ip.Mask);
        ini.WriteString(card.Name, "Gateway", card.Ip.Gateway);
        ini.WriteString(card.Name, "Dns", card.Ip.Dns);
    } catch (const EIniFileException&) {
        return false;
    }
    return true;
}

bool IsAddress(const std::string& text)
{
    uint32_t value;
    return ParseAddress(text, value);
}

bool IsMask(const std::string& text)
{
    uint32_t value;
    // Contiguous ones from the top: adding the lowest set bit clears them all.
    return ParseAddress(text, value) && value != 0 && (value + (value & (0u - value))) == 0;
}

bool IsHostAddress(const std::string& text)
{
    uint32_t value;
    return ParseAddress(text, value) && value != 0 && value != 0xFFFFFFFFu;
}

bool IsAddressList(const std::string& text)
{
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(start, end - start);
        if (!item.empty() && !IsAddress(item)) return false;
        start = end + 1;
    }
    return true;
}
