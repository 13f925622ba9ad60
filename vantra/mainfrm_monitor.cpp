// The status poll: reads the link every 2 seconds, sets the tray state and
// refreshes the link details, sparingly while the window is hidden. Its
// first pass after the adapter is found does the start work that needs an
// open adapter.
#include "debug_trace.h"
#include "drivers/bindings.h"
#include "mainfrm.h"
#include "toolkit/application.h"

#include <algorithm>

namespace {

// Minutes between link-detail refreshes while the window is hidden, by step.
// The step stops at 4, so a hidden window refreshes every 15 minutes at most.
constexpr uint32_t HiddenRefreshMinutes[] = {0, 2, 5, 10, 15, 30};
constexpr int32_t LastHiddenRefreshStep = 4;

// The mark goes whatever the apply gave. A file that cannot be written (a
// read-only copy from the disc) keeps it for the next start; monitoring goes on.
void ClearFirstStart(TWlanIniDefaults& Defaults, const std::string& WlanIniPath)
{
    try {
        TIniFile ini(WlanIniPath);
        Defaults.ClearFirstStartMark(ini);
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
    if (!Link.AdapterOpened) {
        CheckTimer->SetEnabled(false);
        ConnectCheckTimer->SetEnabled(false);
        return;
    }
    // A worker inside the chipset library would keep this thread from its
    // messages for as long as its call takes: the pass is skipped, and the
    // next comes in 2 seconds. This one holds the library to its end.
    TChipsetHold library;
    if (!library.TryEnter()) {
        rearm();
        return;
    }

    if (Poll.PollTickCount > Poll.GifResumeLimit) {
        Poll.PollTickCount = 0;
        if (Pages.CurrentPage == Page::Link) ResumeGifThreadIfIdle();
    } else {
        ++Poll.PollTickCount;
    }

    // While TCP/IP settings are applied the card is restarting: show it busy
    // and leave it alone.
    TrayState state = TrayState::Scanning;
    bool linkRead = false;
    if (Link.ApplyingTcpIp) {
        Poll.GifResumeLimit = 10;
    } else {
        if (Program.Quitting) return;
        linkRead = WlanCall(Chipset.WLAN_Get_Info, &Link.CurrentLinkInfo);
        Poll.LinkInfoValid = linkRead;
        if (linkRead && Link.LinkUp()) {
            Restore->Enabled = true;
            MonitorState->Enabled = true;
            // A first start shows busy until the default profile is applied.
            if (!Defaults.First && !Link.ApplyingTcpIp) state = TrayState::Connected;
        } else if (Survey.SurveyInProgress) {
            state = Poll.LastPollState;
        }
    }
    ShowIcon(state);
    if (Program.Quitting) return; // an exit request came in while the tray took the icon
    Poll.LastPollState = state;
    // The TCP/IP thread is reconfiguring the card: nothing more may reach
    // the adapter this tick, and the poll keeps its rhythm meanwhile.
    if (!TcpIpThread->Suspended()) {
        rearm();
        return;
    }

    if (Poll.LinkInfoValid) {
        if (!Link.LinkUp() && Link.AdapterOpened) Survey.ConnectPending = true;
        Application->ProcessMessages();
        if (Program.Quitting) return; // an exit ran inside
        if (linkRead) {
            const uint32_t now = ::GetTickCount();
            if (!Visible()) {
                if (Poll.HiddenRefreshStep > 0 &&
                    now - Poll.HiddenSince <= HiddenRefreshMinutes[Poll.HiddenRefreshStep] * 60000u) {
                    ++Poll.DetailTickCount;
                    if (Link.LinkUp()) Poll.DetailTickCount = 2;
                    rearm();
                    return;
                }
                Poll.HiddenSince = ::GetTickCount();
                Poll.HiddenRefreshStep = std::min(Poll.HiddenRefreshStep + 1, LastHiddenRefreshStep);
            } else {
                Poll.HiddenRefreshStep = 1;
            }
            if (Poll.DetailTickCount < 2 && Visible()) {
                ++Poll.DetailTickCount;
                rearm();
                return;
            }
            Poll.DetailTickCount = 0;
            Application->ProcessMessages();
            if (Program.Quitting) return;
        }
    }

    if (Link.AdapterOpened) {
        if (!Poll.FirstPollDone) {
            Poll.FirstPollDone = true;
            if (MessageThread->Suspended()) MessageThread->Resume();
            EnsureDefaultProfile();
            const std::string profiles = ReadProfileList();
            if (Program.Quitting) return;
            FillProfileList(profiles);
            if (Program.Quitting) return; // an exit ran inside the list's pumps
            if (Link.AdapterOpened) {
                CheckTimerTimer(this);
                if (Defaults.First == 1) {
                    ApplyDefaultProfile();
                    ClearFirstStart(Defaults, Program.WlanIniPath);
                }
                Defaults.First = 0;
                CheckTimer->SetInterval(5000);
                CheckTimer->SetEnabled(true);
            }
            Survey.ConnectPending = true;
        } else {
            UpdateLinkInfo();
        }
        rearm();
    }

    if (Connections_LstV_APs->Items()->Count() == 0) return;
    UpdateConnectButton();
    const TListItem* top = Connections_LstV_APs->TopItem();
    const int32_t topIndex = top ? top->Index() : -1;
    if (topIndex != Survey.LastTopIndex) {
        Survey.LastTopIndex = topIndex;
        CheckTimer->SetEnabled(false);
        CheckTimer->SetInterval(0);
        CheckTimer->SetInterval(5000);
        CheckTimer->SetEnabled(true);
    }
}
