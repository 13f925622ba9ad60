#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "globals.h"
#include "mainfrm.h"
#include "nic_detect.h"
#include "toolkit/application.h"
#include "wlan_ini.h"

#include <dbt.h>

#include <cstring>

void TMainFrm::OnDeviceChange(TMessage& Message)
{
    if (Quitting) return;
    switch (Message.WParam) {
    case DBT_DEVNODES_CHANGED:
        UpdateTimer->SetEnabled(false);
        ConnectCheckTimer->SetEnabled(false);
        CheckTimer->SetEnabled(false);
        DeviceCheckTimer->SetInterval(1000);
        DeviceCheckTimer->SetEnabled(true);
        break;
    case DBT_DEVICEQUERYREMOVEFAILED:
    case DBT_DEVICEREMOVECOMPLETE:
        AdapterOpened = 0;
        break;
    }
}

// The adapter was lost, or could not be started.
static void LoseAdapter()
{
    if (!AdapterPresent) return;
    AdapterPresent = 0;
    MainFrm->StopMonitoring();
    if (Quitting) return;
    AdapterOpened = 0;
    ConnectedShown = 0;
}

void TMainFrm::DeviceCheckTimerTimer(TObject*)
{
    if (!TcpIpThread->Suspended() || ApplyingTcpIp) {
        // The TCP/IP thread has just restarted the card: open it again.
        DeviceCheckTimer->SetEnabled(false);
        ApplyingTcpIp = 0;
        if (WlanCloseAdapter()) {
            WlanCall(Chipset.WLAN_Open_Adapter, &TheAdapter);
            Timer1->SetEnabled(true);
        }
        AdapterOpened = DetectAdapterNic();
        if (MonitoringOn) {
            UpdateTimer->SetInterval(500);
            UpdateTimer->SetEnabled(true);
        }
        return;
    }
    UpdateTimer->SetEnabled(false);
    DeviceCheckTimer->SetEnabled(false);
    Application->ProcessMessages();
    if (Quitting || !MonitoringOn) return;
    ::Sleep(100);
    if (!FindNicByDescription(AdapterDescriptionPrefix)) {
        LoseAdapter();
        return;
    }
    const bool ok = StartAdapter();
    if (Quitting) return; // the chipset library was missing, or an exit ran inside
    EnableConnectControls(ok);
    if (!ok) {
        LoseAdapter();
        return;
    }
    if (AdapterPresent) {
        AdapterOpened = 1;
    } else {
        Profile_LstV_Profile1->Items()->Clear();
        std::memset(ProfileListBuffer, 0, sizeof ProfileListBuffer);
        if (Quitting) return;
        WlanCall(Chipset.WLAN_Read_ProfileList, ProfileListBuffer);
        FillProfileList();
        AdapterOpened = 1;
        FirstPollDone = 0;
        LinkInfoValid = 1;
        AdapterPresent = 1;
        DeviceCheckTimer->SetInterval(0);
        DeviceCheckTimer->SetEnabled(false);
        HiddenSince = ::GetTickCount();
        ConnectedShown = 0;
    }
    UpdateTimer->SetInterval(500);
    UpdateTimer->SetEnabled(true);
}

bool TMainFrm::StartAdapter()
{
    if (!LoadChipsetLibrary(4)) {
        ExitUtility();
        return false;
    }
    Application->ProcessMessages();
    const bool opened = !Quitting && WlanCall(Chipset.WLAN_Open_Adapter, &TheAdapter);
    Application->ProcessMessages();
    if (Quitting) return false;
    Application->SetTitle(std::string(TheAdapter.Description, strnlen(TheAdapter.Description, sizeof TheAdapter.Description)));
    if (!opened) {
        Application->ProcessMessages();
        return false;
    }
    Timer1->SetEnabled(true);
    const std::string deviceId(TheAdapter.DeviceId, strnlen(TheAdapter.DeviceId, sizeof TheAdapter.DeviceId));
    if (!deviceId.empty()) {
        TIniFile ini(WlanIniPath);
        if (!CheckDeviceId(ini, deviceId)) return false;
    }
    AdapterOpened = 1;
    return WlanCall(Chipset.WLAN_Get_Info, &CurrentLinkInfo);
}

void TMainFrm::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    WlanInfo link{};
    WlanCall(Chipset.WLAN_Get_Info, &link);
    if (link.StationState == WLAN_STATION_STATE_READY || !AdapterOpened) return;
    // Nothing is applied without a saved setting: an empty one would clear
    // the adapter's configuration.
    ProfileSetting saved{};
    if (!WlanCall(Chipset.WLAN_Read_Setting_From_DriverRegistry, &saved)) return;
    if (saved.Wlan.SSID_length > 32) saved.Wlan.SSID_length = 32;
    std::memcpy(saved.SsidText, saved.Wlan.SSID, saved.Wlan.SSID_length);
    saved.Wlan.PreambleType = 0;
    saved.Wep.AuthenticationType = 0;
    saved.Wep.WepMode = 0;
    WlanCall(Chipset.WLAN_Set_Config, &saved.Wlan);
    WlanCall(Chipset.WLAN_Set_WEP_Config, &saved.Wep);
}

// Runs in PowerThread: one device check per power resume.
void TMainFrm::CheckPowerStatus()
{
    SYSTEM_POWER_STATUS status;
    if (::GetSystemPowerStatus(&status)) {
        PowerThread->Synchronize([this] {
            DeviceCheckTimer->SetInterval(1000);
            DeviceCheckTimer->SetEnabled(true);
        });
    }
    PowerThread->Suspend();
}
