// Connecting: to an access point or ad-hoc cell of the survey list (asking
// the WEP key dialog for a protected one, and whether a computer with a
// static address should switch to DHCP), to a stored profile, and, once
// after installation, to the profile "Default". The utility never joins a
// network itself: it hands the configuration to the chipset library and
// saves it as the driver's setting; when TCP/IP has to change, the applier
// thread reconfigures the card, and the card's restart makes the driver
// take the setting.
//
// No status poll, survey or connect check calls the chipset library while
// the applier runs: the timers are off before it is resumed, and the
// handlers that a pump could still run leave the adapter alone meanwhile.
#include "debug_trace.h"
#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "mainfrm.h"
#include "sitesurveywep.h"
#include "toolkit/application.h"
#include "toolkit/seam.h"
#include "wzc_service.h"

#include <cstring>

namespace {

const char* const StaticAddressQuestion =
    "Your PC is current using \"Static IP Address\".Do you want to change to\n"
    "\"Obtain IP Address Automatically\" for wireless connection?";

} // namespace

void TMainFrm::Connections_ConnectBtnClick(TObject*)
{
    if (WzcServiceBlocks(Program.WinVersionCode) || Connections_LstV_APs->Items()->Count() == 0) return;
    const int32_t selected = Connections_LstV_APs->ItemIndex();
    Survey.DialogWepOk = false;
    if (selected < 0) return;
    // The network the user chose, taken before the key dialog: a connect
    // check or check-timer tick during it may select the current link's row.
    TListItem* chosen = Connections_LstV_APs->Items()->Item(selected);
    const std::string ssid = chosen->Caption();
    const std::string bssid = chosen->SubItems()->Get(SurveySubItem::Bssid);

    bool connect = true;
    if (chosen->SubItems()->Get(SurveySubItem::Wep) == "1") {
        UpdateTimer->SetEnabled(false);
        Restore->Enabled = false;
        MonitorState->Enabled = false;
        // The window stays up under the dialog, which covers it: hidden, it
        // would leave no window of the program for a window manager to
        // give the focus to the dialog beside, nor back to after it.
        SiteSurveyWEPFrm->ShowModal();
        if (Program.Quitting) return; // the exit ended the dialog
        Restore->Enabled = true;
        MonitorState->Enabled = true;
        Application->ProcessMessages();
        if (Program.Quitting) return;
        Survey.DialogWepOk = SiteSurveyWEPFrm->Result == 1;
        Survey.DialogWepInfo = SiteSurveyWEPFrm->WepInfo;
        connect = Survey.DialogWepOk;
    }
    // Its row selected again, wherever a refresh during the dialog put it;
    // a refresh that dropped it leaves nothing to connect to.
    const int32_t row = connect ? SurveyRowOf(ssid, bssid) : -1;
    if (row >= 0) {
        SelectSurveyRow(row, true);
        DebugTrace(0, "MissAPInfo_ResID--Connections_ConnectBtnClick");
        Pages.StatusImageId = IDB_TITLE_NO_LINK;
        ResetSurveyImages();
        ConnectToAP(ConnectTarget::SurveyRow);
        if (Program.Quitting) return;
        ConnectCheckTimer->SetInterval(300);
        ConnectCheckTimer->SetEnabled(true);
    }
    // The applier turns the poll on again when it has run.
    if (TcpIpThread->Suspended()) UpdateTimer->SetEnabled(true);
}

void TMainFrm::ConnectToAP(ConnectTarget Target)
{
    TChipsetHold library;
    if (!HoldChipsetLibrary(library)) return;
    ++Survey.Connects; // a marking that waits inside a pump leaves the list to this one
    if (Target == ConnectTarget::SurveyRow) ConnectToSurveyRow();
    else ConnectToProfile();
}

// The list's first selected row, which the connect works on. None in an
// empty list; none selected, and the poll runs again.
TListItem* TMainFrm::SelectedConnectRow(TListView* List)
{
    if (List->Items()->Count() == 0) return nullptr;
    Survey.SelectedRowIndex = List->ItemIndex();
    if (Survey.SelectedRowIndex >= 0) return List->Items()->Item(Survey.SelectedRowIndex);
    ResumePoll();
    return nullptr;
}

void TMainFrm::ResumePoll()
{
    UpdateTimer->SetEnabled(true);
    CheckTimer->SetEnabled(true);
}

// The selected row's entry of the survey table, as a configuration.
void TMainFrm::ConnectToSurveyRow()
{
    TListItem* row = SelectedConnectRow(Connections_LstV_APs);
    if (!row) return;
    const std::string ssid = row->Caption();
    uint8_t bssid[6];
    TextToMac(row->SubItems()->Get(SurveySubItem::Bssid).c_str(), bssid);

    const SiteSurveyEntry* entry = nullptr;
    for (int32_t i = 0; i < Survey.SurveyCount && !entry; ++i) {
        const SiteSurveyEntry& e = Survey.SurveyEntries[i];
        if (SsidToText(e.SSID, e.SSID_length) == ssid && std::memcmp(e.Bssid, bssid, 6) == 0) entry = &e;
    }
    if (!entry) return ResumePoll(); // the list no longer matches the table

    ProfileSetting record{};
    CopyText(record.SsidText, SsidToText(entry->SSID, entry->SSID_length));
    WlanInfo& wlan = record.Wlan;
    wlan.SSID_length = entry->SSID_length > 32 ? 32 : entry->SSID_length;
    std::memcpy(wlan.SSID, entry->SSID, wlan.SSID_length);
    wlan.OperatingModeID = entry->OperatingModeID;
    wlan.Channel = entry->Channel;
    std::memcpy(wlan.Bssid, entry->Bssid, 6);
    wlan.RateIndex = 4;
    wlan.PreambleType = 0;
    wlan.PowerMgmtMode = 0;
    wlan.NetBand = 5;
    // Both paths save this record as the driver's setting; the DHCP path
    // saves it before any configuration call, so it gets the thresholds here.
    SetConfigDefaults(&wlan);

    WlanWepInfo& wep = record.Wep;
    if (Survey.DialogWepOk) wep = Survey.DialogWepInfo;
    else wep.EncryptionLevel = 0;
    wep.WepMode = 0;
    wep.AuthenticationType = 0;
    wep.WepKeyToUse = 0;
    ClampKeyIndex(&wep);

    UpdateTimer->SetEnabled(false);
    CheckTimer->SetEnabled(false);
    ReadNicIpInfo();
    if (!Link.CurrentIpInfo.blDhcpEnabled) {
        const int answer =
            Platform().MessageBox(Handle(), StaticAddressQuestion, "Vantra Question?", MB_YESNO | MB_ICONQUESTION);
        if (Program.Quitting) return;
        if (answer == IDYES) return SwitchToDhcp(record);
    }
    ConfigureDirectly(record);
}

// The driver's setting first; the applier switches the card to DHCP and
// restarts it, and the driver takes the setting as the card comes back.
void TMainFrm::SwitchToDhcp(ProfileSetting& Record)
{
    WlanCall(Chipset.WLAN_Write_Setting_To_DriverRegistry, &Record);
    Img_LinkClick(this);
    if (Program.Quitting) return;
    if (Link.AdapterOpened) WlanCall(Chipset.WLAN_Get_Mac_Info, Link.TheAdapter.MacAddress);
    NicIpInfo pending = Link.CurrentIpInfo;
    pending.blDhcpEnabled = 1;
    CopyText(pending.cDhcpServer, "0.0.0.0");
    CopyText(pending.cDnsServer, "");
    std::memcpy(pending.Mac, Link.TheAdapter.MacAddress, 6);
    if (!StopPollForApplier()) return;
    PendingIpInfo = pending;

    const NicIpInfo& p = PendingIpInfo;
    DebugTrace(0, "-------- ConnectToAP() Print Start ----------");
    DebugTrace(0, "cAdapterName:" + FieldText(p.cAdapterName));
    DebugTrace(0, "cDescription:" + FieldText(p.cDescription));
    DebugTrace(0, "cIpAdress:" + FieldText(p.cIpAdress));
    DebugTrace(0, "cNetMask:" + FieldText(p.cNetMask));
    DebugTrace(0, "cGateway:" + FieldText(p.cGateway));
    DebugTrace(0, "cDnsServer:" + FieldText(p.cDnsServer));
    DebugTrace(0, "cDhcpServer:" + FieldText(p.cDhcpServer));
    DebugTrace(0, std::string("blDhcpEnabled:") + (p.blDhcpEnabled ? "TRUE" : "FALSE"));
    DebugTrace(0, "MAC:" + MacToText(p.Mac));
    DebugTrace(0, "-------- ConnectToAP() Print End ----------");
    ResumeApplier();
}

// The configuration straight into the adapter, then saved as the driver's
// setting once the adapter took the WEP setting.
void TMainFrm::ConfigureDirectly(ProfileSetting& Record)
{
    ShowIcon(TrayState::Scanning);
    ShowTcpIpInfo(false);
    Tray.ConnectedShown = false;
    if (Program.Quitting || !Link.AdapterOpened) return;
    WlanCall(Chipset.WLAN_Set_Config, &Record.Wlan); // its answer tells nothing the poll will not
    InitWepSetRecord(&Record.Wep);
    if (Program.Quitting || !Link.AdapterOpened) return;
    if (WlanCall(Chipset.WLAN_Set_WEP_Config, &Record.Wep)) {
        if (Program.Quitting) return;
        ProfileSetting wireless{};
        std::memcpy(&wireless, &Record, ProfileWirelessPartSize);
        WlanCall(Chipset.WLAN_Write_Setting_To_DriverRegistry, &wireless);
    }
    PollAfterConnect();
}

// The selected profile of the profile list, read whole from the profile
// store, saved as the driver's setting; the card restart that follows
// makes the driver take it.
void TMainFrm::ConnectToProfile()
{
    TListItem* row = SelectedConnectRow(Profile_LstV_Profile1);
    if (!row) return;
    const std::string name = row->Caption();

    ProfileSetting record{};
    CopyText(record.ProfileName, name);
    // A profile the store cannot give would go to the driver empty and
    // clear the adapter's configuration.
    if (!WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &record)) return ResumePoll();
    CopyText(record.ProfileNameCopy, name);
    const uint8_t ssidLength = record.Wlan.SSID_length > 32 ? 32 : record.Wlan.SSID_length;
    CopyText(record.SsidText, std::string(reinterpret_cast<const char*>(record.Wlan.SSID), ssidLength));
    record.Wlan.PreambleType = 0;
    record.Wep.AuthenticationType = 0;
    record.Wep.WepMode = 0;
    WlanCall(Chipset.WLAN_Write_Setting_To_DriverRegistry, &record);

    if (record.SetIP != 1) {
        // The profile keeps the computer's TCP/IP settings as they are: the
        // card only restarts, once a former apply is over. Giving the card
        // what it has now would make the DNS servers that DHCP gave its own,
        // and it would no longer follow the DHCP server.
        if (!StopPollForApplier()) return;
        Link.FindAdapterNic();
        return RestartCardForDriverSetting();
    }
    if (Link.AdapterOpened) WlanCall(Chipset.WLAN_Get_Mac_Info, Link.TheAdapter.MacAddress);
    NicIpInfo pending = record.Ip;
    std::memcpy(pending.Mac, Link.TheAdapter.MacAddress, 6);
    if (!StopPollForApplier()) return;
    PendingIpInfo = pending;
    ResumeApplier();
    Poll.DetailTickCount = 3;
    Survey.ConnectPending = true;
}

void TMainFrm::ApplyDefaultProfile()
{
    UpdateTimer->SetEnabled(false);
    ProfileSetting record{};
    CopyText(record.ProfileName, "Default");
    // Without it the driver would get an empty setting.
    if (!WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &record)) return;
    CopyText(record.ProfileNameCopy, "Default");
    ProfileSetting wireless{};
    std::memcpy(&wireless, &record, ProfileWirelessPartSize);
    ReadNicIpInfo();
    WlanCall(Chipset.WLAN_Write_Setting_To_DriverRegistry, &wireless);
    RestartCardForDriverSetting();
}

// The card restarts without a TCP/IP change; the device check opens the
// adapter again once it is back.
void TMainFrm::RestartCardForDriverSetting()
{
    Link.ApplyingTcpIp = true;
    NicCall(Nic.NIC_PropertyChange, &Link.NicDevice);
    PollAfterConnect();
}

// The poll runs at once and shows the new link's details, and the survey
// list is to be marked against it.
void TMainFrm::PollAfterConnect()
{
    Poll.DetailTickCount = 3;
    Survey.ConnectPending = true;
    UpdateTimerTimer(this);
    if (Program.Quitting) return;
    CheckTimer->SetEnabled(true);
}

// The three timers that reach the adapter off, and a former apply over,
// before the applier runs or the card restarts. False when an exit ran
// meanwhile, or when the former apply is still under way after
// ApplyWaitLimitMs: the connect is given up, the user is told the adapter
// is busy, and the poll runs on and shows the card busy until that apply
// ends.
bool TMainFrm::StopPollForApplier()
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        for (TTimer* timer : {UpdateTimer, CheckTimer, ConnectCheckTimer}) timer->SetEnabled(false);
        Application->ProcessMessages();
        if (Program.Quitting) return false;
        if (!UpdateTimer->Enabled() && !CheckTimer->Enabled() && !ConnectCheckTimer->Enabled() &&
            TcpIpThread->Suspended())
            return true;
        if (::GetTickCount() - start >= ApplyWaitLimitMs) {
            ResumePoll();
            SayAdapterBusy();
            return false;
        }
        WaitPumping(100);
        if (Program.Quitting) return false;
    }
}

void TMainFrm::ResumeApplier()
{
    Link.ApplyingTcpIp = true;
    TcpIpThread->Resume();
}

void TMainFrm::ConnectCheckTimerTimer(TObject*)
{
    if (!Link.AdapterOpened) {
        for (TTimer* timer : {UpdateTimer, CheckTimer, ConnectCheckTimer}) timer->SetEnabled(false);
        return;
    }
    if (!GifThread->Suspended() || !TcpIpThread->Suspended()) return; // it ticks again
    UpdateTimer->SetEnabled(false);
    ConnectCheckTimer->SetEnabled(false);
    ConnectCheckTimer->SetInterval(0);
    WlanCall(Chipset.WLAN_Get_Info, &Link.CurrentLinkInfo);
    const bool rows = Connections_LstV_APs->Items()->Count() > 0;
    if (Link.LinkUp()) {
        CheckConnectedApListed();
        if (Program.Quitting) return;
    }
    // A link that does not come up is marked too: after 20 waits its row
    // shows the failure.
    if (Link.LinkUp() || (Survey.ConnectPending && rows)) {
        MarkSurveyEntries();
        if (Program.Quitting) return;
        if (Link.LinkUp() && !Survey.ConnectPending) {
            UpdateTimer->SetEnabled(true);
            return;
        }
    }
    if (Survey.ConnectPending && Connections_LstV_APs->Items()->Count() > 0) {
        ConnectCheckTimer->SetInterval(1000);
        ConnectCheckTimer->SetEnabled(true);
    }
    UpdateTimer->SetEnabled(true);
}
