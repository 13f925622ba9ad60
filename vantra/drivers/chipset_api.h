// Entry points of the chipset driver-access library (Belgrin.dll), as the
// utility binds them by name. All are __stdcall and exported undecorated.
// A uint8_t result is non-zero for success; callers test only its low byte.
// Windows builds only.
#pragma once
#include "records.h"

#include <cstdint>

// The survey writes at most this many entries.
constexpr int SurveyMaxEntries = 100;

// Link and configuration.
using WLAN_Open_Adapter_t = uint8_t(__stdcall*)(WlanAdapter* adapter); // fills the 1334-byte record
using WLAN_Close_Adapter_t = uint8_t(__stdcall*)();
using WLAN_Get_Info_t = uint8_t(__stdcall*)(WlanInfo* info);
using WLAN_Get_WEP_Info_t = uint8_t(__stdcall*)(WlanWepInfo* wep);
using WLAN_Set_Config_t = uint8_t(__stdcall*)(WlanInfo* info);
using WLAN_Set_WEP_Config_t = uint8_t(__stdcall*)(WlanWepInfo* wep);
// Writes at most SurveyMaxEntries entries and their number into *count; no
// capacity is passed. mode: 1 scans actively (the only mode the utility uses).
using WLAN_Get_Site_Survey_t = uint8_t(__stdcall*)(SiteSurveyEntry* entries, int32_t* count, uint8_t mode);
using WLAN_Get_Link_Speed_t = int32_t(__stdcall*)(); // 0.1 Mbps units
using WLAN_Get_Mac_Info_t = uint8_t(__stdcall*)(uint8_t* mac);          // 6 bytes
// Writes a zero-terminated version text of at most size bytes.
using WLAN_Get_Version_Info_t = uint8_t(__stdcall*)(char* text, int32_t size);
using WLAN_DLL_Initialize_t = uint8_t(__stdcall*)();

// Profile store: the name list text (at most ProfileListBufferSize bytes with
// its terminating zero) and records keyed by ProfileName (exact bytes).
using WLAN_Read_ProfileList_t = uint8_t(__stdcall*)(char* list); // 1024-byte buffer
using WLAN_Write_ProfileList_t = uint8_t(__stdcall*)(const char* list);
// Wireless part (ProfileWirelessPartSize bytes) of the named profile.
using WLAN_Read_Setting_From_ProfileRegistry_t = uint8_t(__stdcall*)(ProfileSetting* profile);
using WLAN_Write_Setting_To_ProfileRegistry_t = uint8_t(__stdcall*)(ProfileSetting* profile);
// The whole 2049-byte record.
using WLAN_Read_Setting_From_ProfileRegistry_Ex_t = uint8_t(__stdcall*)(ProfileSetting* profile);
using WLAN_Write_Setting_To_ProfileRegistry_Ex_t = uint8_t(__stdcall*)(ProfileSetting* profile);

// The driver's saved setting, joined when the adapter is (re)started. The
// reads fill the wireless part only; the writes take the whole record.
using WLAN_Read_Setting_From_DriverRegistry_t = uint8_t(__stdcall*)(ProfileSetting* profile);
using WLAN_Write_Setting_To_DriverRegistry_t = uint8_t(__stdcall*)(ProfileSetting* profile);
// Older names of the driver-setting calls, with the same behaviour.
using WLAN_Read_Setting_From_Registry_t = uint8_t(__stdcall*)(ProfileSetting* profile);
using WLAN_Write_Setting_To_Registry_t = uint8_t(__stdcall*)(ProfileSetting* profile);
