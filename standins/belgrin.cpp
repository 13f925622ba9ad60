// Belgrin.dll: the chipset driver-access library of the simulated adapter.
#include "call.h"
#include "card_state.h"
#include "profile_store.h"
#include "radio.h"
#include "text_fields.h"

#include "vantra/drivers/chipset_api.h"

#include <windows.h>

#include <cstring>
#include <type_traits>

namespace {

std::recursive_mutex lock;
Radio radio;
bool open = false;
uint32_t seenRestarts = 0;

// The driver parameters that the utility's link page reads for the
// encryption in use.
void WritePrivacyValues(const World& world, const WlanWepInfo& wep)
{
    HKEY key = nullptr;
    if (world.RegistryKeyPath.empty() ||
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, world.RegistryKeyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    auto set = [key](const char* name, const std::string& value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    };
    set("privacyInvoked", wep.EncryptionLevel != 0 ? "1" : "0");
    set("keyLength0", std::to_string(WepKeySize(wep.EncryptionLevel)));
    RegCloseKey(key);
}

// What the card does when it starts: join the driver's saved setting.
void TakeDriverSetting(const World& world)
{
    ProfileSetting setting{};
    radio.Reset();
    if (ProfileStore(world).ReadDriverSetting(setting, ProfileWirelessPartSize)) {
        radio.Configure(setting.Wlan);
        radio.SetWep(setting.Wep);
    }
    WritePrivacyValues(world, radio.Wep());
}

// The adapter can be talked to: it is open and in the computer. A restart of
// its card since the last call makes it start over from the driver setting.
bool Usable(const World& world, bool* down = nullptr)
{
    if (!open || !world.AdapterPresent) return false;
    CardState card = ReadCardState(world);
    if (card.Restarts != seenRestarts) {
        seenRestarts = card.Restarts;
        TakeDriverSetting(world);
    }
    if (down) *down = card.Down;
    return true;
}

// A call of the profile store that reads or writes the first `size` bytes
// of the record.
template <class Record>
uint8_t StoreCall(const char* name, Record* profile, size_t size,
                  bool (ProfileStore::*operation)(Record&, size_t) const)
{
    Call call(lock, name);
    call.Record("profile", profile, size);
    if (!profile || call.Forced()) return call.Done<uint8_t>(0);
    return call.Done<uint8_t>((ProfileStore(call.world).*operation)(*profile, size));
}

constexpr size_t Whole = sizeof(ProfileSetting);

} // namespace

extern "C" {

uint8_t __stdcall WLAN_Open_Adapter(WlanAdapter* adapter)
{
    Call call(lock, "WLAN_Open_Adapter");
    call.Record("adapter", adapter, sizeof *adapter);
    const World& world = call.world;
    if (!adapter || call.Forced() || !world.AdapterPresent) return call.Done<uint8_t>(0);
    CardState card = ReadCardState(world);
    if (card.Down) return call.Done<uint8_t>(0);
    *adapter = {};
    CopyText(adapter->Description, sizeof adapter->Description, world.Adapter.Description);
    CopyText(adapter->AdapterName, sizeof adapter->AdapterName, world.Adapter.Name);
    CopyText(adapter->RegistryKeyPath, sizeof adapter->RegistryKeyPath, world.RegistryKeyPath);
    adapter->ChipKind = world.ChipKind;
    CopyText(adapter->DeviceId, sizeof adapter->DeviceId, world.DeviceId);
    std::memcpy(adapter->MacAddress, world.Adapter.Mac, 6);
    if (!open) {
        open = true;
        seenRestarts = card.Restarts;
        TakeDriverSetting(world);
    }
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_Close_Adapter()
{
    Call call(lock, "WLAN_Close_Adapter");
    if (call.Forced()) return call.Done<uint8_t>(0);
    open = false; // closing a closed adapter changes nothing and succeeds
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_Get_Info(WlanInfo* info)
{
    Call call(lock, "WLAN_Get_Info");
    call.Record("info", info, sizeof *info);
    bool down = false;
    if (!info || call.Forced() || !Usable(call.world, &down)) return call.Done<uint8_t>(0);
    *info = radio.Link(call.world, GetTickCount(), down);
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_Get_WEP_Info(WlanWepInfo* wep)
{
    Call call(lock, "WLAN_Get_WEP_Info");
    call.Record("wep", wep, sizeof *wep);
    if (!wep || call.Forced() || !Usable(call.world)) return call.Done<uint8_t>(0);
    *wep = radio.Wep();
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_Get_Site_Survey(SiteSurveyEntry* entries, int32_t* count, uint8_t mode)
{
    Call call(lock, "WLAN_Get_Site_Survey");
    call.Int("count", count ? *count : -1).Int("mode", mode);
    bool down = false;
    if (!entries || !count || call.Forced() || !Usable(call.world, &down)) return call.Done<uint8_t>(0);
    *count = down ? 0 : radio.Survey(call.world, GetTickCount(), entries, SurveyMaxEntries);
    return call.Done<uint8_t>(1);
}

int32_t __stdcall WLAN_Get_Link_Speed()
{
    Call call(lock, "WLAN_Get_Link_Speed");
    bool down = false;
    if (call.Forced() || !Usable(call.world, &down) || down) return call.Done<int32_t>(0);
    return call.Done(radio.LinkSpeed(call.world, GetTickCount()));
}

uint8_t __stdcall WLAN_Get_Mac_Info(uint8_t* mac)
{
    Call call(lock, "WLAN_Get_Mac_Info");
    call.Record("mac", mac, 6);
    if (!mac || call.Forced() || !call.world.AdapterPresent) return call.Done<uint8_t>(0);
    std::memcpy(mac, call.world.Adapter.Mac, 6);
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_Set_Config(WlanInfo* info)
{
    Call call(lock, "WLAN_Set_Config");
    call.Record("info", info, sizeof *info);
    if (!info || call.Forced() || !Usable(call.world)) return call.Done<uint8_t>(0);
    return call.Done<uint8_t>(radio.Configure(*info));
}

uint8_t __stdcall WLAN_Set_WEP_Config(WlanWepInfo* wep)
{
    Call call(lock, "WLAN_Set_WEP_Config");
    call.Record("wep", wep, sizeof *wep);
    if (!wep || call.Forced() || !Usable(call.world) || !radio.SetWep(*wep)) return call.Done<uint8_t>(0);
    WritePrivacyValues(call.world, radio.Wep());
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_Read_ProfileList(char* list)
{
    Call call(lock, "WLAN_Read_ProfileList");
    if (!list || call.Forced()) return call.Done<uint8_t>(0);
    std::string text = ProfileStore(call.world).ProfileList();
    std::memcpy(list, text.c_str(), text.size() + 1);
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_Write_ProfileList(const char* list)
{
    Call call(lock, "WLAN_Write_ProfileList");
    call.Text("list", list, ProfileListBufferSize);
    if (!list || call.Forced()) return call.Done<uint8_t>(0);
    size_t length = strnlen(list, ProfileListBufferSize);
    return call.Done<uint8_t>(length < ProfileListBufferSize &&
                              ProfileStore(call.world).SetProfileList(std::string(list, length)));
}

uint8_t __stdcall WLAN_Read_Setting_From_ProfileRegistry(ProfileSetting* profile)
{
    return StoreCall("WLAN_Read_Setting_From_ProfileRegistry", profile, ProfileWirelessPartSize,
                     &ProfileStore::ReadProfile);
}

uint8_t __stdcall WLAN_Read_Setting_From_ProfileRegistry_Ex(ProfileSetting* profile)
{
    return StoreCall("WLAN_Read_Setting_From_ProfileRegistry_Ex", profile, Whole, &ProfileStore::ReadProfile);
}

uint8_t __stdcall WLAN_Write_Setting_To_ProfileRegistry(ProfileSetting* profile)
{
    return StoreCall<const ProfileSetting>("WLAN_Write_Setting_To_ProfileRegistry", profile,
                                           ProfileWirelessPartSize, &ProfileStore::WriteProfile);
}

uint8_t __stdcall WLAN_Write_Setting_To_ProfileRegistry_Ex(ProfileSetting* profile)
{
    return StoreCall<const ProfileSetting>("WLAN_Write_Setting_To_ProfileRegistry_Ex", profile, Whole,
                                           &ProfileStore::WriteProfile);
}

// The driver-setting calls, under their current and their older names. The
// card joins a written setting when it next starts.
uint8_t __stdcall WLAN_Read_Setting_From_DriverRegistry(ProfileSetting* profile)
{
    return StoreCall("WLAN_Read_Setting_From_DriverRegistry", profile, ProfileWirelessPartSize,
                     &ProfileStore::ReadDriverSetting);
}

uint8_t __stdcall WLAN_Read_Setting_From_Registry(ProfileSetting* profile)
{
    return StoreCall("WLAN_Read_Setting_From_Registry", profile, ProfileWirelessPartSize,
                     &ProfileStore::ReadDriverSetting);
}

uint8_t __stdcall WLAN_Write_Setting_To_DriverRegistry(ProfileSetting* profile)
{
    return StoreCall<const ProfileSetting>("WLAN_Write_Setting_To_DriverRegistry", profile, Whole,
                                           &ProfileStore::WriteDriverSetting);
}

uint8_t __stdcall WLAN_Write_Setting_To_Registry(ProfileSetting* profile)
{
    return StoreCall<const ProfileSetting>("WLAN_Write_Setting_To_Registry", profile, Whole,
                                           &ProfileStore::WriteDriverSetting);
}

uint8_t __stdcall WLAN_Get_Version_Info(char* text, int32_t size)
{
    Call call(lock, "WLAN_Get_Version_Info");
    call.Int("size", size);
    if (!text || size <= 0 || call.Forced()) return call.Done<uint8_t>(0);
    CopyText(text, static_cast<size_t>(size), "Belgrin 1.0 (simulated adapter)");
    return call.Done<uint8_t>(1);
}

uint8_t __stdcall WLAN_DLL_Initialize()
{
    Call call(lock, "WLAN_DLL_Initialize");
    return call.Done<uint8_t>(!call.Forced());
}

} // extern "C"

#define MATCHES_BINDING(name) static_assert(std::is_same<decltype(&name), name##_t>::value, #name)
MATCHES_BINDING(WLAN_Open_Adapter);
MATCHES_BINDING(WLAN_Close_Adapter);
MATCHES_BINDING(WLAN_Get_Info);
MATCHES_BINDING(WLAN_Get_WEP_Info);
MATCHES_BINDING(WLAN_Get_Site_Survey);
MATCHES_BINDING(WLAN_Get_Link_Speed);
MATCHES_BINDING(WLAN_Get_Mac_Info);
MATCHES_BINDING(WLAN_Set_Config);
MATCHES_BINDING(WLAN_Set_WEP_Config);
MATCHES_BINDING(WLAN_Read_ProfileList);
MATCHES_BINDING(WLAN_Write_ProfileList);
MATCHES_BINDING(WLAN_Read_Setting_From_ProfileRegistry);
MATCHES_BINDING(WLAN_Read_Setting_From_ProfileRegistry_Ex);
MATCHES_BINDING(WLAN_Write_Setting_To_ProfileRegistry);
MATCHES_BINDING(WLAN_Write_Setting_To_ProfileRegistry_Ex);
MATCHES_BINDING(WLAN_Read_Setting_From_DriverRegistry);
MATCHES_BINDING(WLAN_Write_Setting_To_DriverRegistry);
MATCHES_BINDING(WLAN_Get_Version_Info);
MATCHES_BINDING(WLAN_DLL_Initialize);
MATCHES_BINDING(WLAN_Read_Setting_From_Registry);
MATCHES_BINDING(WLAN_Write_Setting_To_Registry);
