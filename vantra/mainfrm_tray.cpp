#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "mainfrm.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr UINT TrayIconId = 9999;

// The window's handle only when it exists: removing the icon of a copy
// that ends before its window is made must not make one.
NOTIFYICONDATAA TrayRecord(TMainFrm* Form, UINT Flags)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE; // room for a 127-character tip
    data.hWnd = Form->HandleAllocated() ? Form->Handle() : nullptr;
    data.uID = TrayIconId;
    data.uFlags = Flags;
    return data;
}

bool UserLoggedOn()
{
    char name[256] = {};
    DWORD size = sizeof name;
    return ::GetUserNameA(name, &size) && name[0];
}

// The tip field holds 127 characters; a long SSID or an odd link speed
// from the library is cut there.
void SetTip(NOTIFYICONDATAA& Data, const std::string& Tip)
{
    const size_t n = std::min(Tip.size(), sizeof Data.szTip - 1);
    std::memcpy(Data.szTip, Tip.data(), n);
    Data.szTip[n] = 0;
}

void SetIcon(TImageList* List, int Index, NOTIFYICONDATAA& Data, TIcon& Icon)
{
    List->GetIcon(Index, &Icon);
    Data.hIcon = Icon.Handle();
}

std::string ConnectedTip(const WlanInfo& Link, int32_t WinVersionCode)
{
    const std::string ssid = SsidToText(Link.SSID, Link.SSID_length);
    if (WinVersionCode == 1 || WinVersionCode == 2) return Format("  Connect to:%s", ssid.c_str());
    char bssid[18];
    MacToText(Link.Bssid, bssid);
    const std::string channel = Format("Channel: %d", Link.Channel);
    const std::string rate = Format("Speed: %4.1f Mbps", WlanLinkSpeed() * 0.1);
    return Format("  Connect to:%s  \n  %s  \n  %s  \n  %s  \n  %s", ssid.c_str(), bssid,
                  Link.OperatingModeID ? "Infrastructure" : "Ad-Hoc", channel.c_str(), rate.c_str());
}
} // namespace

// The link page's summary view shows the missing-access-point picture.
void TMainFrm::ShowMissingAccessPoint(int32_t MenuId)
{
    Pal_MoreInfo->Hide();
    if (Pages.PreviousStatusImageId != IDB_TITLE_NO_LINK) SetStatusPanel(IDB_TITLE_NO_LINK);
    SetMenuImage(MenuId);
    ShowOnlyLinkPicture(Img_MissAP);
}

void TMainFrm::AddTrayIcon()
{
    Tray.TrayIconIndex = TrayImageDisabled;
    NOTIFYICONDATAA data = TrayRecord(this, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    TIcon icon;
    SetIcon(ImageList, TrayImageDisabled, data, icon);
    SetTip(data, "\n    Start here\n");
    Tray.TrayIconAdded = Platform().ShellNotifyIcon(NIM_ADD, &data) != FALSE;
    Poll.LinkInfoValid = false;
}

void TMainFrm::ShowIcon(TrayState State)
{
    if (!UserLoggedOn()) return;
    if (!Tray.TrayIconAdded) AddTrayIcon();
    NOTIFYICONDATAA data = TrayRecord(this, NIF_ICON | NIF_TIP);
    TIcon icon;
    const bool linkPage = LinkPageSettled() && Visible();
    const bool summary = linkPage && Pages.MoreInfoHidden;
    switch (State) {
    case TrayState::Connected:
        if (Tray.TrayIconIndex < Tray.TrayIconFirst || Tray.TrayIconIndex >= Tray.TrayIconLimit) {
            Tray.TrayIconIndex = Tray.TrayIconFirst;
            SetIcon(ImageList, Tray.TrayIconIndex, data, icon);
        } else {
            SetIcon(ImageList, Tray.TrayIconIndex++, data, icon);
        }
        SetTip(data, ConnectedTip(Link.CurrentLinkInfo, Program.WinVersionCode));
        if (Tray.LastTrayState != TrayState::Connected) SetMenuImage(IDB_MENU_ADAPTER);
        if (!Tray.ConnectedShown) {
            ShowConnectNotice();
            Tray.ConnectedShown = true;
        }
        if (linkPage && !Pages.MoreInfoHidden) ShowLinkInfo(true);
        break;
    case TrayState::Scanning: {
        Tray.ConnectedShown = false;
        Tray.TrayIconIndex = TrayImageScanning;
        SetIcon(ImageList, TrayImageScanning, data, icon);
        SetTip(data, "\n    Scanning.....\n");
        ShowLinkInfo(false);
        const int32_t menu = MenuImageId();
        if (summary) ShowMissingAccessPoint(menu);
        if (Tray.LastTrayState != TrayState::Scanning) SetMenuImage(menu);
        if (summary) ShowLinkInfo(false);
        break;
    }
    case TrayState::Disabled:
        Tray.TrayIconIndex = TrayImageDisabled;
        Tray.ConnectedShown = false;
        SetIcon(ImageList, TrayImageDisabled, data, icon);
        SetTip(data, "\n    Disabled   \n");
        if (summary) ShowMissingAccessPoint(IDB_MENU_NO_ADAPTER);
        if (Tray.LastTrayState != TrayState::Disabled) SetMenuImage(IDB_MENU_NO_ADAPTER);
        if (summary) ShowLinkInfo(false);
        break;
    default:
        return;
    }
    Platform().ShellNotifyIcon(NIM_MODIFY, &data);
    Tray.LastTrayState = State;
}

void TMainFrm::ShowConnectNotice()
{
    ConnectCheckTimer->SetInterval(100);
    ConnectCheckTimer->SetEnabled(true);
    SetMenuImage(IDB_MENU_ADAPTER);
    HideLinkPictures();
    if (LinkPageSettled()) {
        ShowLinkPage();
        CheckStatusPage();
    }
}

void TMainFrm::RemoveTrayIcon()
{
    NOTIFYICONDATAA data = TrayRecord(this, 0);
    Platform().ShellNotifyIcon(NIM_DELETE, &data);
    Poll.LinkInfoValid = false;
    Tray.TrayIconAdded = false;
}

void TMainFrm::DetectIconTimer(TObject*)
{
    if (UserLoggedOn()) {
        if (Tray.TrayIconAdded) {
            DetectIcon->SetEnabled(false);
            return;
        }
        AddTrayIcon();
    }
    DetectIcon->SetEnabled(true);
}

void TMainFrm::HideToTray()
{
    if (Visible() && !Application->ShowMainForm) {
        Hide();
        ::ShowWindow(Application->Handle(), SW_HIDE);
    }
}

void TMainFrm::ShowFromTray()
{
    ::ShowWindow(Application->Handle(), SW_SHOWNORMAL);
    Show();
}

// The taskbar button, which showing the window put up, goes with it.
void TMainFrm::HideMainWindow()
{
    Hide();
    ::ShowWindow(Application->Handle(), SW_HIDE);
    RemoveTrayIcon();
}

void TMainFrm::StopMonitoring()
{
    // The timers that reach the adapter stop first: the wait below services
    // messages, and a tick would call the chipset library while a worker may
    // be inside it.
    Survey.SurveyInProgress = false;
    for (TTimer* timer : {UpdateTimer, CheckTimer}) {
        timer->SetInterval(0);
        timer->SetEnabled(false);
    }
    ConnectCheckTimer->SetEnabled(false);
    Timer1->SetEnabled(false);
    // The workers park before the adapter closes under them; an apply under
    // way ends by itself, with the device manager it works with.
    const bool parked = ParkWorkers(WorkerParkLimitMs);
    if (Program.Quitting) return; // an exit ran meanwhile
    if (TcpIpThread->Suspended()) Link.CloseDeviceManager();
    if (Link.AdapterOpened && parked) {
        WlanCall(Chipset.WLAN_Close_Adapter);
    } else if (Link.AdapterOpened) {
        // A worker is still inside the chipset library, where no other
        // thread may go: the device check closes the adapter once the
        // worker has parked, and opens none before.
        Link.AdapterCloseOwed = true;
        DeviceCheckTimer->SetInterval(1000);
        DeviceCheckTimer->SetEnabled(true);
    }
    ShowIcon(TrayState::Disabled);
    EnableConnectControls(false);
    Status_Img_SignalStreng->Hide();
    Status_Img_LinkQuality->Hide();
    Poll.FirstPollDone = false;
    Tray.TrayIconIndex = 0;
    Poll.DetailTickCount = 0;
    Link.AdapterOpened = false;
    CheckStatusPage();
}

bool TMainFrm::SettleAdapterClose()
{
    if (!Link.AdapterCloseOwed) return true;
    if (!WorkersParked()) return false;
    WlanCall(Chipset.WLAN_Close_Adapter);
    Link.AdapterCloseOwed = false;
    return true;
}

void TMainFrm::PopupTrayMenu(POINT At) { PopupMenu->Popup(At.x, At.y); }

void TMainFrm::RestoreClick(TObject*)
{
    PlaySoundThenStop("start.wav");
    ResetHoverImages();
    ShowFromTray();
}

void TMainFrm::MonitorStateClick(TObject*)
{
    Link.MonitoringOn = !Link.MonitoringOn;
    if (!Link.MonitoringOn) {
        HideToTray();
        StopMonitoring();
        if (Program.Quitting) return;
        Link.AdapterOpened = false;
        Tray.ConnectedShown = false;
        MonitorState->Caption = "Start Monitor";
        Img_LinkClick(this);
    } else {
        DeviceCheckTimerTimer(this);
        MonitorState->Caption = "Stop Monitor";
    }
    Restore->Enabled = Link.MonitoringOn;
}
