#include "nic_detect.h"
#include "drivers/bindings.h"
#include "drivers/win_version.h"
#include "globals.h"
#include "toolkit/seam.h"

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
bool IsAdapterCard(const NicEntry& Entry, bool NtFamily)
{
    const char* name = TheAdapter.AdapterName;
    if (NtFamily) return BeginsWith(Entry.Name, sizeof Entry.Name, name, strnlen(name, sizeof TheAdapter.AdapterName));
    return std::memcmp(Entry.Name + 4, name, 4) == 0;
}

} // namespace

void CloseDeviceManager()
{
    NicCall(Nic.NIC_CloseDeviceMgr);
    NicDeviceMgrOpen = 0;
}

bool FindAdapterNic()
{
    if (NicDeviceMgrOpen) return true;
    NicCall(Nic.NIC_OpenDeviceMgr);
    const bool nt = IsNtFamily(GetWinVersionCode());
    for (const NicEntry& entry : ActiveNics(50)) {
        bool match = nt ? std::strncmp(entry.Name, TheAdapter.AdapterName, sizeof entry.Name) == 0
                        : IsAdapterCard(entry, false);
        if (match) {
            NicDevice = entry;
            break;
        }
    }
    NicDeviceMgrOpen = 1;
    return true;
}

bool FindNicByDescription(const char* Prefix)
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

bool DetectAdapterNic()
{
    if (NicDeviceMgrOpen) CloseDeviceManager();
    FindAdapterNic();
    const bool nt = IsNtFamily(GetWinVersionCode());
    for (const NicEntry& entry : ActiveNics(100))
        if (IsAdapterCard(entry, nt)) return entry.Active != 0;
    return false;
}

bool ControlWzcService(int)
{
    return Platform().ServiceRunning("WZCSVC");
}

bool WzcServiceBlocks() { return WinVersionCode == 6 && ControlWzcService(2); }
