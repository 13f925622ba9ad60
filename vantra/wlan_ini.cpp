#include "wlan_ini.h"
#include "toolkit/format.h"

namespace {
const char* const DefaultSection = "DefaultSetting";
const char* const DeviceSection = "DeviceID";
} // namespace

void TWlanIniDefaults::Read(TCustomIniFile& Ini)
{
    if (!Ini.SectionExists(DefaultSection)) return;
    DefaultMode = Ini.ReadInteger(DefaultSection, "DefaultMode", 0);
    DefaultChannel = Ini.ReadInteger(DefaultSection, "DefaultChannel", 11);
    DefaultGoo = Ini.ReadInteger(DefaultSection, "DefaultGoo", 0);
    First = Ini.ReadInteger(DefaultSection, "First", 0);
    // An SSID has at most 32 bytes; a longer value must not reach the record whole.
    DefaultSSID = Ini.ReadString(DefaultSection, "DefaultSSID", "").substr(0, 32);
    DefaultIp = "0.0.0.0";
    DefaultMask = "255.255.255.0";
    DefaultGateway = "0.0.0.0";
    DefaultDns = "0.0.0.0";
    DefaultDns2 = "0.0.0.0";
    DefaultDhcp = 1;
}

void TWlanIniDefaults::ClearFirstStartMark(TCustomIniFile& Ini)
{
    Ini.WriteInteger(DefaultSection, "First", 0);
    First = 0;
}

bool CheckDeviceId(TCustomIniFile& Ini, const std::string& DeviceId)
{
    if (!Ini.SectionExists(DeviceSection)) return true;
    for (int n = 1;; ++n) {
        const std::string key = Format("ID%d", n);
        if (!Ini.ValueExists(DeviceSection, key)) return false;
        const std::string prefix = Ini.ReadString(DeviceSection, key, "");
        if (DeviceId.compare(0, prefix.size(), prefix) == 0) return true;
    }
}
