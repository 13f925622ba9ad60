#include "link_state.h"
#include "drivers/bindings.h"
#include "drivers/win_version.h"

#include <cstring>
#include <vector>

namespace {

std::vector<NicEntry> ActiveNics(int32_t Capacity)
{
    std::vector<NicEntry> list(Capacity);
    int32_t count = Capacity;
    NicCall(Nic.NIC_GetActiveNICs, list.data(), Capacity, &count);
    list.resize(count < 0 ? 0 : count > Capacity ? Capacity : count);
    return list;
}

bool BeginsWith(const char* Text, size_t Size, const char* Prefix, size_t PrefixLength)
{
    return PrefixLength <= Size && std::memcmp(Text, Prefix, PrefixLength) == 0;
}

// The NT family names the card as the adapter does; Windows 9x keeps the
// adapter name's first 4 bytes at bytes 4-7 of the card's name.
bool IsAdapterCard(const NicEntry& Entry, const WlanAdapter& Adapter, bool NtFamily)
{
    const char* name = Adapter.AdapterName;
    if (NtFamily) return BeginsWith(Entry.Name, sizeof Entry.Name, name, strnlen(name, sizeof Adapter.AdapterName));
    return std::memcmp(Entry.Name + 4, name, 4) == 0;
}

} // namespace

void TLinkState::CloseDeviceManager()
{
    NicCall(Nic.NIC_CloseDeviceMgr);
    NicDeviceMgrOpen = false;
}

void ChooseAdapterNic(const WlanAdapter& Adapter, NicEntry& Card)
{
    NicCall(Nic.NIC_OpenDeviceMgr);
    const bool win9x = IsWin9x(GetWinVersionCode());
    for (const NicEntry& entry : ActiveNics(50)) {
        bool match = win9x ? IsAdapterCard(entry, Adapter, false)
                           : std::strncmp(entry.Name, Adapter.AdapterName, sizeof entry.Name) == 0;
        if (match) {
            Card = entry;
            return;
        }
    }
}

bool TLinkState::FindAdapterNic()
{
    if (NicDeviceMgrOpen) return true;
    ChooseAdapterNic(TheAdapter, NicDevice);
    NicDeviceMgrOpen = true;
    return true;
}

bool TLinkState::FindNicByDescription(const char* Prefix)
{
    if (NicDeviceMgrOpen) CloseDeviceManager();
    FindAdapterNic();
    bool found = false;
    for (const NicEntry& entry : ActiveNics(100))
        if (BeginsWith(entry.Description, sizeof entry.Description, Prefix, std::strlen(Prefix)) && entry.Active) {
            found = true;
            break;
        }
    CloseDeviceManager();
    return found;
}

bool TLinkState::DetectAdapterNic()
{
    if (NicDeviceMgrOpen) CloseDeviceManager();
    FindAdapterNic();
    const bool nt = IsNtFamily(GetWinVersionCode());
    for (const NicEntry& entry : ActiveNics(100))
        if (IsAdapterCard(entry, TheAdapter, nt)) return entry.Active != 0;
    return false;
}
