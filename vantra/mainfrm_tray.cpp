#include "drivers/bindings.h"
#include "globals.h"
#include "mainfrm.h"
#include "toolkit/application.h"
#include "toolkit/seam.h"

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
} // namespace

void TMainFrm::AddTrayIcon()
{
    TrayIconIndex = 1;
    NOTIFYICONDATAA data = TrayRecord(this, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    TIcon icon;
    ImageList->GetIcon(1, &icon);
    data.hIcon = icon.Handle();
    std::strcpy(data.szTip, "\n    Start here\n");
    TrayIconAdded = Platform().ShellNotifyIcon(NIM_ADD, &data) ? 1 : 0;
    LinkInfoValid = 0;
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
    for (TThread* worker : {static_cast<TThread*>(MessageThread), static_cast<TThread*>(TcpIpThread),
                            static_cast<TThread*>(GifThread)})
        if (!worker->Suspended()) worker->Suspend();
    SurveyInProgress = 0;
    for (TTimer* timer : {UpdateTimer, CheckTimer}) {
        timer->SetInterval(0);
        timer->SetEnabled(false);
    }
    NicCall(Nic.NIC_CloseDeviceMgr);
    NicDeviceMgrOpen = 0;
    if (AdapterOpened) WlanCall(Chipset.WLAN_Close_Adapter);
    ShowIcon(4);
    EnableConnectControls(false);
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
