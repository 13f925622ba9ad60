// The three outside libraries, loaded by file name at run time, and their
// entry points looked up by exported name into process-wide tables. A name
// that a library does not export leaves its pointer null. No library is
// unloaded before the process ends.
#pragma once
#include "chipset_api.h"
#include "nic_api.h"
#include "wep_api.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>

struct ChipsetEntryPoints {
    WLAN_Set_Config_t WLAN_Set_Config;
    WLAN_Set_WEP_Config_t WLAN_Set_WEP_Config;
    WLAN_Get_Info_t WLAN_Get_Info;
    WLAN_Get_WEP_Info_t WLAN_Get_WEP_Info;
    WLAN_Get_Site_Survey_t WLAN_Get_Site_Survey;
    WLAN_Read_ProfileList_t WLAN_Read_ProfileList;
    WLAN_Write_ProfileList_t WLAN_Write_ProfileList;
    WLAN_Read_Setting_From_Registry_t WLAN_Read_Setting_From_Registry;
    WLAN_Read_Setting_From_ProfileRegistry_t WLAN_Read_Setting_From_ProfileRegistry;
    WLAN_Read_Setting_From_ProfileRegistry_Ex_t WLAN_Read_Setting_From_ProfileRegistry_Ex;
    WLAN_Read_Setting_From_DriverRegistry_t WLAN_Read_Setting_From_DriverRegistry;
    WLAN_Write_Setting_To_Registry_t WLAN_Write_Setting_To_Registry;
    WLAN_Write_Setting_To_ProfileRegistry_t WLAN_Write_Setting_To_ProfileRegistry;
    WLAN_Write_Setting_To_ProfileRegistry_Ex_t WLAN_Write_Setting_To_ProfileRegistry_Ex;
    WLAN_Write_Setting_To_DriverRegistry_t WLAN_Write_Setting_To_DriverRegistry;
    WLAN_Get_Version_Info_t WLAN_Get_Version_Info;
    WLAN_Get_Mac_Info_t WLAN_Get_Mac_Info;
    WLAN_Get_Link_Speed_t WLAN_Get_Link_Speed;
    WLAN_DLL_Initialize_t WLAN_DLL_Initialize;
    WLAN_Open_Adapter_t WLAN_Open_Adapter;
    WLAN_Close_Adapter_t WLAN_Close_Adapter;
};

struct NicEntryPoints {
    NIC_OpenDeviceMgr_t NIC_OpenDeviceMgr;
    NIC_CloseDeviceMgr_t NIC_CloseDeviceMgr;
    NIC_GetActiveNICs_t NIC_GetActiveNICs;
    NIC_AdapterIsDisable_t NIC_AdapterIsDisable;
    NIC_ChangeNicStatus_t NIC_ChangeNicStatus;
    NIC_GetMACAddress_t NIC_GetMACAddress;
    NIC_PropertyChange_t NIC_PropertyChange;
    NIC_GetDHCPStatusfor9x_t NIC_GetDHCPStatusfor9x;
    NIC_OpenConfigMgr_t NIC_OpenConfigMgr;
    NIC_CloseConfigMgr_t NIC_CloseConfigMgr;
    NIC_SpecifyNicAdapter_t NIC_SpecifyNicAdapter;
    NIC_EnableDHCP_t NIC_EnableDHCP;
    NIC_EnableDHCP9x_t NIC_EnableDHCP9x;
    NIC_EnableStaticIP_t NIC_EnableStaticIP;
    NIC_EnableStaticIP9x_t NIC_EnableStaticIP9x;
    NIC_SetGateways_t NIC_SetGateways;
    NIC_EnableDNS_t NIC_EnableDNS;
    NIC_SetAutoConfigDNS_t NIC_SetAutoConfigDNS;
    NIC_GetConfigDNS_t NIC_GetConfigDNS;
    NIC_EnableDnsServer9x_t NIC_EnableDnsServer9x;
    NIC_SetIpInfo_t NIC_SetIpInfo;
    NIC_GetNicIPAddress_t NIC_GetNicIPAddress;
    NIC_GetNicIPAddressDetail_t NIC_GetNicIPAddressDetail;
    NIC_GetNicIPAddressInfo_t NIC_GetNicIPAddressInfo;
    NIC_NicIpReleaseAddress_t NIC_NicIpReleaseAddress;
    NIC_NicIpRenewAddress_t NIC_NicIpRenewAddress;
    NIC_GetNicErrorCode_t NIC_GetNicErrorCode;
    NIC_GetErrorMessage_t NIC_GetErrorMessage;
    NIC_GetWindowsVersion_t NIC_GetWindowsVersion;
};

struct WepEntryPoints {
    Wep_Init_t Wep_Init;
    Wep_Encrypt_t Wep_Encrypt;
    Wep_Decrypt_t Wep_Decrypt;
    Wep_GenWepKeys_t Wep_GenWepKeys;
};

extern ChipsetEntryPoints Chipset;
extern NicEntryPoints Nic;
extern WepEntryPoints Wep;
extern HMODULE ChipsetLibraryHandle, NicLibraryHandle, WepLibraryHandle;
extern uint8_t NicLibraryLoaded;

// Index 4 (Belgrin.dll) is the adapter's; every load is counted by the
// system and the handle replaced. A failed load shows "Can't Load 802.11g dll.".
bool LoadChipsetLibrary(int Index);
// Nicorra.dll on the NT family, Nicorra9x.dll on Windows 9x; once.
bool LoadNicLibrary();
// KALWEP.DLL, once; a failure shows nothing and leaves the entry points null.
void LoadWepLibrary();

// The utility's quitting flag: while it is set, chipset calls are skipped.
// The main window installs its own for its life; with none, nothing is.
void SkipChipsetCallsWhile(const std::atomic<bool>* Flag);
bool ChipsetCallsSkipped();

// Held by the thread inside the chipset library: the main thread and the
// status-picture thread both call it, and no two threads may be inside it at
// once. Nobody waits for it: a call that finds another thread inside is
// refused at once, so that the main thread never blocks on a worker's slow
// call, nor a worker on the main thread. Re-entrant: the main thread holds
// it across a whole poll or user action, and a sent message may run another
// inside one.
std::recursive_mutex& ChipsetLibraryLock();
class TChipsetHold {
public:
    TChipsetHold() = default;
    TChipsetHold(const TChipsetHold&) = delete;
    TChipsetHold& operator=(const TChipsetHold&) = delete;
    ~TChipsetHold()
    {
        if (Entered) ChipsetLibraryLock().unlock();
    }
    // True when no other thread is inside; held from then on.
    bool TryEnter()
    {
        if (!Entered) Entered = ChipsetLibraryLock().try_lock();
        return Entered;
    }

private:
    bool Entered = false;
};

// Calls a chipset entry point: refused while another thread is inside the
// library and while the utility is quitting (tested once inside, so that no
// call starts after an exit has begun), and a missing entry point counts as
// a failure; only the low byte of the result counts. Closing the adapter is
// the one call the exit itself makes, so it has a function of its own that
// quitting does not stop.
template <class Entry, class... Args> bool WlanCall(Entry Fn, Args... A)
{
    TChipsetHold inside;
    if (!Fn || !inside.TryEnter() || ChipsetCallsSkipped()) return false;
    return static_cast<uint8_t>(Fn(A...)) != 0;
}
bool WlanCloseAdapter();
// The link's transmit rate in 0.1 Mbps; 0 while quitting, while another
// thread is inside the library, or when not bound.
int32_t WlanLinkSpeed();

// Calls a NIC entry point; a missing one gives 0.
template <class Entry, class... Args> auto NicCall(Entry Fn, Args... A) -> decltype(Fn(A...))
{
    return Fn ? Fn(A...) : 0;
}
