// The status poll: reads the link every 2 seconds, sets the tray state and
// refreshes the link details, sparingly while the window is hidden. Its
// first pass after the adapter is found does the start work that needs an
// open adapter.
#include "debug_trace.h"
#include "drivers/bindings.h"
#include "globals.h"
#include "mainfrm.h"
#include "nic_detect.h"
#include "toolkit/application.h"
#include "toolkit/inifile.h"
#include "wlan_ini.h"

#include <algorithm>
#include <cstring>

namespace {

// Minutes between link-detail refreshes while the window is hidden, by step.
// The step stops at 4, so a hidden window refreshes every 15 minutes at most.
constexpr uint32_t HiddenRefreshMinutes[] = {0, 2, 5, 10, 15, 30};
constexpr int32_t LastHiddenRefreshStep = 4;

enum TrayState : int32_t { TrayConnected = 1, TrayScanning = 3 };

bool LinkUp() { return CurrentLinkInfo.StationState == WLAN_STATION_STATE_READY; }

// The mark goes whatever the apply gave. A file that cannot be written (a
// read-only copy from the disc) keeps it for the next start; monitoring goes on.
void ClearFirstStart()
{
    try {
        TIniFile ini(WlanIniPath);
        ClearFirstStartMark(ini);
    } catch (const EIniFileException& e) {
        DebugTrace(0, e.what());
    }
}

} // namespace

void TMainFrm::UpdateTimerTimer(TObject*)
{
    UpdateTimer->SetEnabled(false);
    auto rearm = [this] {
        UpdateTimer->SetInterval(2000);
        UpdateTimer->SetEnabled(true);
    };
    if (!AdapterOpened) {
        CheckTimer->SetEnabled(false);
        ConnectCheckTimer->SetEnabled(false);
        return;
    }

    if (PollTickCount > GifResumeLimit) {
        PollTickCount = 0;
        if (CurrentPage == 0) ResumeGifThreadIfIdle();
    } else {
        ++PollTickCount;
    }

    // While TCP/IP settings are applied the card is restarting: show it busy
    // and leave it alone.
    int32_t state = TrayScanning;
    bool linkRead = false;
    if (ApplyingTcpIp) {
        GifResumeLimit = 10;
    } else {
        if (Quitting) return;
        linkRead = WlanCall(Chipset.WLAN_Get_Info, &CurrentLinkInfo);
        LinkInfoValid = linkRead;
        if (linkRead && LinkUp()) {
            Restore->Enabled = true;
            MonitorState->Enabled = true;
            // A first start shows busy until the default profile is applied.
            if (!First && !ApplyingTcpIp) state = TrayConnected;
        } else if (SurveyInProgress) {
            state = LastPollState;
        }
    }
    ShowIcon(state);
    LastPollState = state;

    if (LinkInfoValid) {
        if (!LinkUp() && AdapterOpened) ConnectPending = 1;
        Application->ProcessMessages();
        if (Quitting) return; // an exit ran inside
        if (linkRead) {
            const uint32_t now = ::GetTickCount();
            if (!Visible()) {
                if (HiddenRefreshStep > 0 &&
                    now - HiddenSince <= HiddenRefreshMinutes[HiddenRefreshStep] * 60000u) {
                    ++DetailTickCount;
                    if (LinkUp()) DetailTickCount = 2;
                    rearm();
                    return;
                }
                HiddenSince = ::GetTickCount();
                HiddenRefreshStep = std::min(HiddenRefreshStep + 1, LastHiddenRefreshStep);
            } else {
                HiddenRefreshStep = 1;
            }
            if (DetailTickCount < 2 && Visible()) {
                ++DetailTickCount;
                rearm();
                return;
            }
            DetailTickCount = 0;
            Application->ProcessMessages();
            if (Quitting) return;
        }
    }

    if (AdapterOpened) {
        if (!FirstPollDone) {
            FirstPollDone = 1;
            if (MessageThread->Suspended()) MessageThread->Resume();
            EnsureDefaultProfile();
            std::memset(ProfileListBuffer, 0, sizeof ProfileListBuffer);
            if (Quitting) return;
            WlanCall(Chipset.WLAN_Read_ProfileList, ProfileListBuffer);
            FillProfileList();
            if (AdapterOpened) {
                CheckTimerTimer(this);
                if (First == 1) {
                    ApplyDefaultProfile();
                    ClearFirstStart();
                }
                First = 0;
                CheckTimer->SetInterval(5000);
                CheckTimer->SetEnabled(true);
            }
            ConnectPending = 1;
        } else {
            UpdateLinkInfo();
        }
        rearm();
    }

    if (Connections_LstV_APs->Items()->Count() == 0) return;
    UpdateConnectButton();
    const TListItem* top = Connections_LstV_APs->TopItem();
    const int32_t topIndex = top ? top->Index() : -1;
    if (topIndex != LastTopIndex) {
        LastTopIndex = topIndex;
        CheckTimer->SetEnabled(false);
        CheckTimer->SetInterval(0);
        CheckTimer->SetInterval(5000);
        CheckTimer->SetEnabled(true);
    }
}
