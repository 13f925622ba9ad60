#include "drivers/bindings.h"
#include "mainfrm.h"
#include "toolkit/application.h"

#include <dbt.h>

#include <cstring>

void TMainFrm::OnDeviceChange(TMessage& Message)
{
    if (Program.Quitting) return;
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
        Link.AdapterOpened = false;
        break;
    }
}

// The adapter was lost, or could not be started.
void TMainFrm::LoseAdapter()
{
    if (!Link.AdapterPresent) return;
    Link.AdapterPresent = false;
    StopMonitoring();
    if (Program.Quitting) return;
    Link.AdapterOpened = false;
    Tray.ConnectedShown = false;
}

void TMainFrm::DeviceCheckTimerTimer(TObject*)
{
    // Start-up calls this right after adding the tray icon, whose call lets
    // another copy's exit request in: the exit may have freed the workers.
    if (Program.Quitting) return;
    TChipsetHold library;
    if (!library.TryEnter() || !SettleAdapterClose()) {
        // Nothing reaches the adapter until the worker inside the library has left it.
        DeviceCheckTimer->SetInterval(1000);
        DeviceCheckTimer->SetEnabled(true);
        return;
    }
    if (!TcpIpThread->Suspended() || Link.ApplyingTcpIp) {
        // The TCP/IP thread has just restarted the card: open it again.
        DeviceCheckTimer->SetEnabled(false);
        Link.ApplyingTcpIp = false;
        // Stop Monitor closed the adapter: it stays closed until Start Monitor opens it.
        if (!Link.MonitoringOn) return;
        if (WlanCloseAdapter()) {
            WlanCall(Chipset.WLAN_Open_Adapter, &Link.TheAdapter);
            Timer1->SetEnabled(true);
        }
        Link.AdapterOpened = Link.DetectAdapterNic();
        UpdateTimer->SetInterval(500);
        UpdateTimer->SetEnabled(true);
        return;
    }
    UpdateTimer->SetEnabled(false);
    DeviceCheckTimer->SetEnabled(false);
    Application->ProcessMessages();
    if (Program.Quitting || !Link.MonitoringOn) return;
    ::Sleep(100);
    if (!Link.FindNicByDescription(AdapterDescriptionPrefix)) {
        LoseAdapter();
        return;
    }
    const bool ok = StartAdapter();
    if (Program.Quitting) return; // the chipset library was missing, or an exit ran inside
    EnableConnectControls(ok);
    if (!ok) {
        LoseAdapter();
        return;
    }
    if (Link.AdapterPresent) {
        Link.AdapterOpened = true;
    } else {
        Profile_LstV_Profile1->Items()->Clear();
        const std::string profiles = ReadProfileList();
        if (Program.Quitting) return;
        FillProfileList(profiles);
        if (Program.Quitting) return; // an exit ran inside the list's pumps
        Link.AdapterOpened = true;
        Poll.FirstPollDone = false;
        Poll.LinkInfoValid = true;
        Link.AdapterPresent = true;
        DeviceCheckTimer->SetInterval(0);
        DeviceCheckTimer->SetEnabled(false);
        Poll.HiddenSince = ::GetTickCount();
        Tray.ConnectedShown = false;
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
    WlanAdapter& adapter = Link.TheAdapter;
    const bool opened = !Program.Quitting && WlanCall(Chipset.WLAN_Open_Adapter, &adapter);
    Application->ProcessMessages();
    if (Program.Quitting) return false;
    Application->SetTitle(std::string(adapter.Description, strnlen(adapter.Description, sizeof adapter.Description)));
    if (!opened) {
        Application->ProcessMessages();
        return false;
    }
    Timer1->SetEnabled(true);
    const std::string deviceId(adapter.DeviceId, strnlen(adapter.DeviceId, sizeof adapter.DeviceId));
    if (!deviceId.empty()) {
        TIniFile ini(Program.WlanIniPath);
        if (!CheckDeviceId(ini, deviceId)) return false;
    }
    Link.AdapterOpened = true;
    return WlanCall(Chipset.WLAN_Get_Info, &Link.CurrentLinkInfo);
}

void TMainFrm::Timer1Timer(TObject*)
{
    // It ticks again once the TCP/IP thread has reconfigured the card, and
    // once no worker is inside the chipset library.
    TChipsetHold library;
    if (!TcpIpThread->Suspended() || !library.TryEnter()) return;
    Timer1->SetEnabled(false);
    WlanInfo link{};
    WlanCall(Chipset.WLAN_Get_Info, &link);
    if (link.StationState == WLAN_STATION_STATE_READY || !Link.AdapterOpened) return;
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
    TThread& self = *TThread::Current();
    SYSTEM_POWER_STATUS status;
    if (::GetSystemPowerStatus(&status)) {
        self.Synchronize([this] {
            DeviceCheckTimer->SetInterval(1000);
            DeviceCheckTimer->SetEnabled(true);
        });
    }
    self.Suspend();
}
