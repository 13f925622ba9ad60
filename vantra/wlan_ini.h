// WLAN.INI, the settings file that the setup wizard writes and the utility
// reads from its own folder: the defaults of the profile "Default"
// (section DefaultSetting) and the accepted device identifiers (DeviceID).
#pragma once
#include "toolkit/inifile.h"

#include <cstdint>
#include <string>

// The section DefaultSetting as read at start; the values start as integers
// 0 and texts empty.
struct TWlanIniDefaults {
    int32_t DefaultMode = 0; // 1 infrastructure, 0 ad hoc
    int32_t DefaultChannel = 0;
    int32_t DefaultGoo = 0;  // copied unchanged into the profile's NetBand
    int32_t First = 0;       // 1: the profile "Default" is still to be applied
    std::string DefaultSSID; // at most 32 bytes; empty: the built-in defaults
    std::string DefaultIp, DefaultMask, DefaultGateway, DefaultDns, DefaultDns2;
    int32_t DefaultDhcp = 0;

    // A file without the section leaves the values as they were.
    void Read(TCustomIniFile& Ini);
    // After the first start has applied the profile "Default".
    void ClearFirstStartMark(TCustomIniFile& Ini);
};

// Whether the adapter's device identifier begins with one of ID1, ID2, ...
// (the search ends at the first missing key). Accepted when the file has no
// section DeviceID.
bool CheckDeviceId(TCustomIniFile& Ini, const std::string& DeviceId);
