#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "globals.h"
#include "mainfrm.h"
#include "nic_detect.h"
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

std::string ConnectedTip()
{
    const WlanInfo& link = CurrentLinkInfo;
    const std::string ssid = SsidToText(link.SSID, link.SSID_length);
    if (WinVersionCode == 1 || WinVersionCode == 2) return Format("  Connect to:%s", ssid.c_str());
    char bssid[18];
    MacToText(link.Bssid, bssid);
    const std::string channel = Format("Channel: %d", link.Channel);
    const std::string rate = Format("Speed: %4.1f Mbps", WlanLinkSpeed() * 0.1);
    return Format("  Connect to:%s  \n  %s  \n  %s  \n  %s  \n  %s", ssid.c_str(), bssid,
                  link.OperatingModeID ? "Infrastructure" : "Ad-Hoc", channel.c_str(), rate.c_str());
}

// The link page's summary view shows the missing-access-point picture.
void ShowMissingAccessPoint(TMainFrm* Form, int32_t MenuId)
{
    Form->Pal_MoreInfo->Hide();
    if (PreviousStatusImageId != 1007) {
        StatusImageId = 1007;
        Form->SetStatusImage(1007);
        PreviousStatusImageId = 1007;
    }
    Form->SetMenuImage(MenuId);
    if (!Form->Img_MissAP->Visible()) {
        Form->Img_MissAP->BringToFront();
        Form->Img_MissAP->Show();
        Form->Img_Adhoc->Hide();
        Form->Img_Infrastrcture->Hide();
        Form->Img_MissInternet->Hide();
    }
}
} // namespace

void TMainFrm::AddTrayIcon()
{
    TrayIconIndex = 1;
    NOTIFYICONDATAA data = TrayRecord(this, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    TIcon icon;
    SetIcon(ImageList, 1, data, icon);
    SetTip(data, "\n    Start here\n");
    TrayIconAdded = Platform().ShellNotifyIcon(NIM_ADD, &data) ? 1 : 0;
    LinkInfoValid = 0;
}

void TMainFrm::ShowIcon(int32_t State)
{
    if (!UserLoggedOn()) return;
    if (!TrayIconAdded) AddTrayIcon();
    NOTIFYICONDATAA data = TrayRecord(this, NIF_ICON | NIF_TIP);
    TIcon icon;
    const bool linkPage = CurrentPage == 0 && Visible();
    const bool summary = linkPage && MoreInfoHidden;
    switch (State) {
    case 1:
        if (TrayIconIndex < TrayIconFirst || TrayIconIndex >= TrayIconLimit) {
            TrayIconIndex = TrayIconFirst;
            SetIcon(ImageList, TrayIconIndex, data, icon);
        } else {
            SetIcon(ImageList, TrayIconIndex++, data, icon);
        }
        SetTip(data, ConnectedTip());
        if (LastTrayState != 1) SetMenuImage(1029);
        if (!ConnectedShown) {
            ShowConnectNotice();
            ConnectedShown = 1;
        }
        if (linkPage && !MoreInfoHidden) ShowLinkInfo(1);
        break;
    case 3: {
        ConnectedShown = 0;
        TrayIconIndex = 2;
        SetIcon(ImageList, 2, data, icon);
        SetTip(data, "\n    Scanning.....\n");
        ShowLinkInfo(0);
        const int32_t menu = AdapterOpened ? 1029 : 1027;
        if (summary) ShowMissingAccessPoint(this, menu);
        if (LastTrayState != 3) SetMenuImage(menu);
        if (summary) ShowLinkInfo(0);
        break;
    }
    case 4:
        TrayIconIndex = 1;
        ConnectedShown = 0;
        SetIcon(ImageList, 1, data, icon);
        SetTip(data, "\n    Disabled   \n");
        if (summary) ShowMissingAccessPoint(this, 1027);
        if (LastTrayState != 4) SetMenuImage(1027);
        if (summary) ShowLinkInfo(0);
        break;
    default:
        return;
    }
    Platform().ShellNotifyIcon(NIM_MODIFY, &data);
    LastTrayState = State;
}

void TMainFrm::ShowConnectNotice()
{
    ConnectCheckTimer->SetInterval(100);
    ConnectCheckTimer->SetEnabled(true);
    SetMenuImage(1029);
    for (TImage* picture : {Img_Infrastrcture, Img_Adhoc, Img_MissAP, Img_MissInternet}) picture->Hide();
    if (CurrentPage == 0) {
        ShowLinkPage();
        CheckStatusPage();
    }
}

void TMainFrm::RemoveTrayIcon()
{
    NOTIFYICONDATAA data = TrayRecord(this, 0);
    Platform().ShellNotifyIcon(NIM_DELETE, &data);
    LinkInfoValid = 0;
    TrayIconAdded = 0;
}

void TMainFrm::DetectIconTimer(TObject*)
{
    if (UserLoggedOn()) {
        if (TrayIconAdded) {
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

void TMainFrm::HideMainWindow()
{
    Hide();
    RemoveTrayIcon();
}

void TMainFrm::StopMonitoring()
{
    // The workers park before the adapter closes under them.
    if (!ParkWorkers()) return;
    SurveyInProgress = 0;
    for (TTimer* timer : {UpdateTimer, CheckTimer}) {
        timer->SetInterval(0);
        timer->SetEnabled(false);
    }
    CloseDeviceManager();
    if (AdapterOpened) WlanCall(Chipset.WLAN_Close_Adapter);
    ShowIcon(4);
    EnableConnectControls(false);
    Status_Img_SignalStreng->Hide();
    Status_Img_LinkQuality->Hide();
    FirstPollDone = 0;
    TrayIconIndex = 0;
    DetailTickCount = 0;
    AdapterOpened = 0;
    CheckStatusPage();
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
    MonitoringOn = !MonitoringOn;
    if (!MonitoringOn) {
        HideToTray();
        StopMonitoring();
        if (Quitting) return;
        AdapterOpened = 0;
        ConnectedShown = 0;
        MonitorState->Caption = "Start Monitor";
        Img_LinkClick(this);
    } else {
        DeviceCheckTimerTimer(this);
        MonitorState->Caption = "Stop Monitor";
    }
    Restore->Enabled = MonitoringOn != 0;
}
