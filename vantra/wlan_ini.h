// WLAN.INI, the settings file that the setup wizard writes and the utility
// reads from its own folder: the defaults of the profile "Default"
// (section DefaultSetting) and the accepted device identifiers (DeviceID).
#pragma once
#include "toolkit/inifile.h"

#include <string>

// Fills the process-wide defaults; a file without the section leaves them
// as they were.
void ReadDefaultSettings(TCustomIniFile& Ini);

// Whether the adapter's device identifier begins with one of ID1, ID2, ...
// (the search ends at the first missing key). Accepted when the file has no
// section DeviceID.
bool CheckDeviceId(TCustomIniFile& Ini, const std::string& DeviceId);

// After the first start has applied the profile "Default".
void ClearFirstStartMark(TCustomIniFile& Ini);
