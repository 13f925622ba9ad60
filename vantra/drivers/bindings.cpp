#include "bindings.h"
#include "toolkit/application.h"
#include "win_version.h"

ChipsetEntryPoints Chipset;
NicEntryPoints Nic;
WepEntryPoints Wep;
HMODULE ChipsetLibraryHandle = nullptr, NicLibraryHandle = nullptr, WepLibraryHandle = nullptr;
uint8_t NicLibraryLoaded = 0;

namespace {
std::atomic<const std::atomic<bool>*> SkipFlag{nullptr};
} // namespace

void SkipChipsetCallsWhile(const std::atomic<bool>* Flag) { SkipFlag = Flag; }

bool ChipsetCallsSkipped()
{
    const std::atomic<bool>* flag = SkipFlag;
    return flag && *flag;
}

#define BIND(Library, Table, Name) Table.Name = reinterpret_cast<decltype(Table.Name)>(::GetProcAddress(Library, #Name))

bool LoadChipsetLibrary(int Index)
{
    const char* file;
    switch (Index) {
    case 0: file = "Quelvan.dll"; break;
    case 1: file = "Tessaro.dll"; break;
    case 2: file = "Morvik.dll"; break;
    case 3: file = "Morvikab.dll"; break;
    case 4: file = "Belgrin.dll"; break;
    case 99: file = "Lunmark.dll"; break;
    default: return false;
    }
    ChipsetLibraryHandle = ::LoadLibraryA(file);
    if (!ChipsetLibraryHandle) {
        Application->MessageBox("Can't Load 802.11g dll.", "Load dll error", MB_ICONERROR);
        return false;
    }
    HMODULE h = ChipsetLibraryHandle;
    BIND(h, Chipset, WLAN_Set_Config);
    BIND(h, Chipset, WLAN_Set_WEP_Config);
    BIND(h, Chipset, WLAN_Get_Info);
    BIND(h, Chipset, WLAN_Get_WEP_Info);
    BIND(h, Chipset, WLAN_Get_Site_Survey);
    BIND(h, Chipset, WLAN_Read_ProfileList);
    BIND(h, Chipset, WLAN_Write_ProfileList);
    BIND(h, Chipset, WLAN_Read_Setting_From_Registry);
    BIND(h, Chipset, WLAN_Read_Setting_From_ProfileRegistry);
    BIND(h, Chipset, WLAN_Read_Setting_From_ProfileRegistry_Ex);
    BIND(h, Chipset, WLAN_Read_Setting_From_DriverRegistry);
    BIND(h, Chipset, WLAN_Write_Setting_To_Registry);
    BIND(h, Chipset, WLAN_Write_Setting_To_ProfileRegistry);
    BIND(h, Chipset, WLAN_Write_Setting_To_ProfileRegistry_Ex);
    BIND(h, Chipset, WLAN_Write_Setting_To_DriverRegistry);
    BIND(h, Chipset, WLAN_Get_Version_Info);
    BIND(h, Chipset, WLAN_Get_Mac_Info);
    BIND(h, Chipset, WLAN_Get_Link_Speed);
    BIND(h, Chipset, WLAN_DLL_Initialize);
    BIND(h, Chipset, WLAN_Open_Adapter);
    BIND(h, Chipset, WLAN_Close_Adapter);
    return true;
}

bool LoadNicLibrary()
{
    if (NicLibraryLoaded) return true;
    const bool nt = IsNtFamily(GetWinVersionCode());
    NicLibraryHandle = ::LoadLibraryA(nt ? "Nicorra.dll" : "Nicorra9x.dll");
    if (!NicLibraryHandle) {
        Application->MessageBox(nt ? "Can't Load Nicorra.dll." : "Can't Load Nicorra9x.dll.", "Load dll error",
                                MB_ICONERROR);
        return false;
    }
    NicLibraryLoaded = 1;
    HMODULE h = NicLibraryHandle;
    BIND(h, Nic, NIC_OpenDeviceMgr);
    BIND(h, Nic, NIC_CloseDeviceMgr);
    BIND(h, Nic, NIC_GetActiveNICs);
    BIND(h, Nic, NIC_AdapterIsDisable);
    BIND(h, Nic, NIC_ChangeNicStatus);
    BIND(h, Nic, NIC_GetMACAddress);
    BIND(h, Nic, NIC_PropertyChange);
    BIND(h, Nic, NIC_GetDHCPStatusfor9x);
    BIND(h, Nic, NIC_OpenConfigMgr);
    BIND(h, Nic, NIC_CloseConfigMgr);
    BIND(h, Nic, NIC_SpecifyNicAdapter);
    BIND(h, Nic, NIC_EnableDHCP);
    BIND(h, Nic, NIC_EnableDHCP9x);
    BIND(h, Nic, NIC_EnableStaticIP);
    BIND(h, Nic, NIC_EnableStaticIP9x);
    BIND(h, Nic, NIC_SetGateways);
    BIND(h, Nic, NIC_EnableDNS);
    BIND(h, Nic, NIC_SetAutoConfigDNS);
    BIND(h, Nic, NIC_GetConfigDNS);
    BIND(h, Nic, NIC_EnableDnsServer9x);
    BIND(h, Nic, NIC_SetIpInfo);
    BIND(h, Nic, NIC_GetNicIPAddress);
    BIND(h, Nic, NIC_GetNicIPAddressDetail);
    BIND(h, Nic, NIC_GetNicIPAddressInfo);
    BIND(h, Nic, NIC_NicIpReleaseAddress);
    BIND(h, Nic, NIC_NicIpRenewAddress);
    BIND(h, Nic, NIC_GetNicErrorCode);
    BIND(h, Nic, NIC_GetErrorMessage);
    BIND(h, Nic, NIC_GetWindowsVersion);
    return true;
}

void LoadWepLibrary()
{
    if (WepLibraryHandle) return;
    WepLibraryHandle = ::LoadLibraryA("KALWEP.DLL");
    HMODULE h = WepLibraryHandle;
    if (!h) return;
    BIND(h, Wep, Wep_Init);
    BIND(h, Wep, Wep_Encrypt);
    BIND(h, Wep, Wep_Decrypt);
    BIND(h, Wep, Wep_GenWepKeys);
}

std::recursive_mutex& ChipsetLibraryLock()
{
    // Never destroyed: a worker given up at the exit may still be inside a
    // call while the process ends.
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

bool WlanCloseAdapter()
{
    TChipsetHold inside;
    if (!Chipset.WLAN_Close_Adapter || !inside.TryEnter()) return false;
    return static_cast<uint8_t>(Chipset.WLAN_Close_Adapter()) != 0;
}

int32_t WlanLinkSpeed()
{
    TChipsetHold inside;
    if (!Chipset.WLAN_Get_Link_Speed || !inside.TryEnter() || ChipsetCallsSkipped()) return 0;
    return Chipset.WLAN_Get_Link_Speed();
}

int32_t GetWinVersionCode()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&info)) return 0;
#pragma GCC diagnostic pop
    return WinVersionCodeOf(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}
