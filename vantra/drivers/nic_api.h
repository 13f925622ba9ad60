// Entry points of the NIC configuration library (Nicorra.dll on the NT
// family, Nicorra9x.dll on Windows 9x), as the utility binds them by name.
// All are __stdcall and exported undecorated. A uint8_t result is 1 for
// success and 0 for failure; NIC_GetNicErrorCode then tells why.
// Windows builds only.
#pragma once
#include "records.h"

#include <cstdint>

using NIC_OpenDeviceMgr_t = uint8_t(__stdcall*)();
using NIC_CloseDeviceMgr_t = uint8_t(__stdcall*)();
using NIC_OpenConfigMgr_t = uint8_t(__stdcall*)();
using NIC_CloseConfigMgr_t = uint8_t(__stdcall*)();

// Fills up to capacity entries and puts their number into *count.
using NIC_GetActiveNICs_t = uint8_t(__stdcall*)(NicEntry* list, int32_t capacity, int32_t* count);
// 1 when the card is disabled, 0 when it is usable.
using NIC_AdapterIsDisable_t = uint8_t(__stdcall*)(NicEntry* card);
// enable: non-zero enables the card, 0 disables it.
using NIC_ChangeNicStatus_t = uint8_t(__stdcall*)(NicEntry* card, int32_t enable);
using NIC_GetMACAddress_t = uint8_t(__stdcall*)(NicEntry* card, uint8_t* mac); // 6 bytes
// Restarts the card so that it takes newly written settings.
using NIC_PropertyChange_t = uint8_t(__stdcall*)(NicEntry* card);
// Names the card that the 9x calls without a card argument work on.
using NIC_SpecifyNicAdapter_t = uint8_t(__stdcall*)(NicEntry* card);

// TCP/IP settings, NT family.
using NIC_SetIpInfo_t = uint8_t(__stdcall*)(NicEntry* card, NicIpInfo* info);
using NIC_EnableDHCP_t = uint8_t(__stdcall*)(NicEntry* card);
using NIC_EnableStaticIP_t = uint8_t(__stdcall*)(NicEntry* card, const char* ip, const char* mask);
using NIC_SetGateways_t = uint8_t(__stdcall*)(NicEntry* card, const char* gateway);
// list: dotted addresses separated by commas.
using NIC_EnableDNS_t = uint8_t(__stdcall*)(NicEntry* card, const char* list);
// Lets DHCP supply the DNS servers.
using NIC_SetAutoConfigDNS_t = uint8_t(__stdcall*)(NicEntry* card);
// Writes the DNS list text, zero-terminated, in at most size bytes.
using NIC_GetConfigDNS_t = uint8_t(__stdcall*)(NicEntry* card, char* list, int32_t size);

// TCP/IP settings, Windows 9x. The DNS call works on the card named last by
// NIC_EnableDHCP9x, NIC_EnableStaticIP9x or NIC_SpecifyNicAdapter; it takes
// *length characters of list; enable 0 clears the list instead.
using NIC_GetDHCPStatusfor9x_t = uint8_t(__stdcall*)(const char* name, int32_t* dhcp);
using NIC_EnableDHCP9x_t = uint8_t(__stdcall*)(NicEntry* card);
using NIC_EnableStaticIP9x_t = uint8_t(__stdcall*)(NicEntry* card, const char* ip, const char* mask,
                                                    const char* gateway);
using NIC_EnableDnsServer9x_t = uint8_t(__stdcall*)(const char* list, int32_t* length, int32_t enable);

// Reading the settings back.
using NIC_GetNicIPAddressDetail_t = uint8_t(__stdcall*)(const uint8_t* mac, NicIpInfo* info);
using NIC_GetNicIPAddressInfo_t = uint8_t(__stdcall*)(NicEntry* card, NicIpInfo* info);
using NIC_GetNicIPAddress_t = uint8_t(__stdcall*)(NicEntry* card, char* ip); // 16 bytes
using NIC_NicIpReleaseAddress_t = uint8_t(__stdcall*)(NicEntry* card);
using NIC_NicIpRenewAddress_t = uint8_t(__stdcall*)(NicEntry* card);

// The error of the last call that failed, 0 after a success.
using NIC_GetNicErrorCode_t = int32_t(__stdcall*)();
// Writes the text of an error code, zero-terminated, in at most size bytes.
using NIC_GetErrorMessage_t = uint8_t(__stdcall*)(int32_t code, char* text, int32_t size);
// The running Windows version as major * 256 + minor.
using NIC_GetWindowsVersion_t = int32_t(__stdcall*)();
