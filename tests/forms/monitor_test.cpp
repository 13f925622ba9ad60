// The status poll and the tray icon of the real main window over the
// stand-in chipset library: the poll's timing and first pass, the tray
// state, picture and tip for each link state, the connected icon cycle,
// stopping and starting monitoring, hiding to and showing from the tray,
// and the sparing link-detail refresh while the window is hidden.
#include "mainfrm_harness.h"
#include "vantra/drivers/bindings.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>

namespace {

using Harness::CallCount;

const char* const TarvaneTip = "  Connect to:tarvane  \n  02-0F-3D-4A-11-20  \n  Infrastructure  \n  Channel: 11  \n"
                               "  Speed: 54.0 Mbps";
const char* const ScanningTip = "\n    Scanning.....\n";
const char* const DisabledTip = "\n    Disabled   \n";

class Monitor : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        Harness::Reset();
    }
    void Tick() { Form->UpdateTimerTimer(nullptr); }
    const TrayCall& LastTray()
    {
        static TrayCall none;
        return Harness::Seam().Tray.empty() ? none : Harness::Seam().Tray.back();
    }
    std::vector<TrayCall>& Tray() { return Harness::Seam().Tray; }
    bool Armed(TTimer* Timer, UINT Interval) { return Timer->Enabled() && Timer->Interval() == Interval; }
    // Connected, with the first pass done.
    void Connected()
    {
        Harness::JoinNetwork("tarvane");
        Tick();
        Harness::Seam().Clear();
    }

    TMainFrm* Form = nullptr;
};

// Pumps messages until the stand-in has seen Count more calls of Name; the
// time it took, or UINT_MAX on a time-out.
DWORD WaitForCalls(const char* Name, size_t Count)
{
    const size_t want = CallCount(Name) + Count;
    const DWORD start = ::GetTickCount();
    while (CallCount(Name) < want) {
        if (::GetTickCount() - start > 20000) return UINT_MAX;
        Application->ProcessMessages();
        ::Sleep(10);
    }
    return ::GetTickCount() - start;
}

TEST_F(Monitor, FirstTickComesAfter500msThenEvery2000ms)
{
    Form->Link.AdapterOpened = false;
    Form->DeviceCheckTimerTimer(nullptr);
    ASSERT_TRUE(Form->Link.AdapterOpened);
    EXPECT_TRUE(Armed(Form->UpdateTimer, 500));
    Tick();
    EXPECT_TRUE(Armed(Form->UpdateTimer, 2000));
    Form->Timer1->SetEnabled(false); // it reads the link too

    // The same on the real timer: never early. (No upper bound: a slow
    // machine may be late.)
    Form->UpdateTimer->SetInterval(500);
    const DWORD first = WaitForCalls("WLAN_Get_Info", 1);
    ASSERT_NE(first, UINT_MAX);
    EXPECT_GE(first, 450u);
    EXPECT_TRUE(Armed(Form->UpdateTimer, 2000));
    const DWORD second = WaitForCalls("WLAN_Get_Info", 1);
    ASSERT_NE(second, UINT_MAX);
    EXPECT_GE(second, 1950u);
    Form->UpdateTimer->SetEnabled(false);
}

TEST_F(Monitor, PollStaysOffWithoutAnOpenAdapterOrWhileQuitting)
{
    Form->CheckTimer->SetEnabled(true);
    Form->ConnectCheckTimer->SetEnabled(true);
    Form->Link.AdapterOpened = false;
    Tick();
    EXPECT_FALSE(Form->UpdateTimer->Enabled());
    EXPECT_FALSE(Form->CheckTimer->Enabled());
    EXPECT_FALSE(Form->ConnectCheckTimer->Enabled());
    EXPECT_EQ(CallCount("WLAN_Get_Info"), 0u);

    Form->Link.AdapterOpened = true;
    Form->Program.Quitting = true;
    Tick();
    Form->Program.Quitting = false;
    EXPECT_FALSE(Form->UpdateTimer->Enabled());
    EXPECT_EQ(CallCount("WLAN_Get_Info"), 0u);
    EXPECT_TRUE(Tray().empty());
}

TEST_F(Monitor, FirstPassLoadsProfilesAndStartsMarkingOnce)
{
    ASSERT_TRUE(Form->MessageThread->Suspended());
    Tick();
    EXPECT_TRUE(Form->Poll.FirstPollDone);
    // Read to make sure of the profile "Default", then for the list.
    EXPECT_EQ(CallCount("WLAN_Read_ProfileList"), 2u);
    EXPECT_TRUE(Armed(Form->CheckTimer, 5000));
    EXPECT_TRUE(Form->Survey.ConnectPending);
    EXPECT_FALSE(Form->MessageThread->Suspended());
    Form->MessageThread->Suspend();

    Tick();
    EXPECT_EQ(CallCount("WLAN_Read_ProfileList"), 2u);
    EXPECT_TRUE(Armed(Form->UpdateTimer, 2000));
}

TEST_F(Monitor, ReadyLinkShowsConnectedPictureAndTip)
{
    Harness::JoinNetwork("tarvane");
    Tick();
    ASSERT_FALSE(Tray().empty());
    const TrayCall& call = LastTray();
    EXPECT_EQ(call.Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(call.Id, 9999u);
    EXPECT_EQ(call.Flags, static_cast<UINT>(NIF_ICON | NIF_TIP));
    EXPECT_EQ(call.Window, Form->Handle());
    EXPECT_EQ(call.Image, 3);
    EXPECT_EQ(call.Tip, TarvaneTip);
    EXPECT_EQ(Form->Tray.LastTrayState, TrayState::Connected);
    EXPECT_TRUE(Form->Tray.ConnectedShown);
    EXPECT_TRUE(Form->Poll.LinkInfoValid);
    // The first connected display asks the connect check to run soon.
    EXPECT_TRUE(Armed(Form->ConnectCheckTimer, 100));
    EXPECT_TRUE(Form->Restore->Enabled);
}

TEST_F(Monitor, OnWindows98TheTipNamesOnlyTheNetwork)
{
    Form->Program.WinVersionCode = 2;
    Harness::JoinNetwork("tarvane");
    Tick();
    EXPECT_EQ(LastTray().Tip, "  Connect to:tarvane");
}

int32_t __stdcall AbsurdSpeed() { return INT_MAX; }

TEST_F(Monitor, TipIsCutToItsFieldWhateverTheLibraryReports)
{
    const std::string ssid(32, 'W');
    Harness::SetWorld("Cell7", "SSID", ssid.c_str());
    Harness::SetWorld("Cell7", "BSSID", "02-55-55-55-55-55");
    Harness::SetWorld("Cell7", "Mode", "1");
    Harness::SetWorld("Cell7", "Channel", "1");
    Harness::SetWorld("Cell7", "Signal", "90");
    const WLAN_Get_Link_Speed_t speed = Chipset.WLAN_Get_Link_Speed;
    Chipset.WLAN_Get_Link_Speed = AbsurdSpeed;
    Harness::JoinNetwork(ssid.c_str());
    Tick();
    Chipset.WLAN_Get_Link_Speed = speed;
    Harness::SetWorld("Cell7", nullptr, nullptr);

    const std::string whole = "  Connect to:" + ssid + "  \n  02-55-55-55-55-55  \n  Infrastructure  \n"
                              "  Channel: 1  \n  Speed: 214748364.7 Mbps";
    ASSERT_EQ(LastTray().Image, 3);
    EXPECT_EQ(LastTray().Tip, whole.substr(0, 127));
}

TEST_F(Monitor, LinkDownOrUnreadableShowsScanning)
{
    Tick();
    EXPECT_EQ(LastTray().Image, 2);
    EXPECT_EQ(LastTray().Tip, ScanningTip);
    EXPECT_EQ(Form->Tray.LastTrayState, TrayState::Scanning);
    EXPECT_TRUE(Form->Survey.ConnectPending);

    Harness::JoinNetwork("tarvane");
    Harness::SetWorld("World", "Fail", "WLAN_Get_Info");
    Tick();
    EXPECT_FALSE(Form->Poll.LinkInfoValid);
    EXPECT_EQ(LastTray().Image, 2);
    EXPECT_EQ(LastTray().Tip, ScanningTip);
    EXPECT_TRUE(Armed(Form->UpdateTimer, 2000)); // the poll goes on
}

TEST_F(Monitor, FirstStartShowsScanningUntilTheDefaultProfileIsApplied)
{
    const std::string ini = Form->Program.ProgramFolder + "WLAN.INI";
    ::WritePrivateProfileStringA("DefaultSetting", "First", "1", ini.c_str());
    Form->Defaults.First = 1;
    Harness::JoinNetwork("tarvane");
    Tick();
    EXPECT_EQ(LastTray().Image, 2);
    EXPECT_EQ(Form->Defaults.First, 0);
    EXPECT_EQ(::GetPrivateProfileIntA("DefaultSetting", "First", -1, ini.c_str()), 0);
    // "Default" went to the driver and the card restarts to take it: busy
    // until the device check has opened the adapter again.
    EXPECT_EQ(CallCount("NIC_PropertyChange"), 1u);
    ASSERT_TRUE(Form->Link.ApplyingTcpIp);
    Tick();
    EXPECT_EQ(LastTray().Image, 2);
    ASSERT_TRUE(Harness::PumpUntil([this] { return !Form->Link.ApplyingTcpIp; }, 10000));
    Form->UpdateTimer->SetEnabled(false);
    Harness::JoinNetwork("tarvane");
    Tick();
    EXPECT_EQ(LastTray().Image, 3);
}

TEST_F(Monitor, WhileTcpIpIsAppliedTheLinkIsNotReadAndTheTrayIsBusy)
{
    Harness::JoinNetwork("tarvane");
    Form->Link.ApplyingTcpIp = true;
    Tick();
    Form->Link.ApplyingTcpIp = false;
    EXPECT_EQ(CallCount("WLAN_Get_Info"), 0u);
    EXPECT_EQ(LastTray().Image, 2);
    EXPECT_EQ(Form->Poll.GifResumeLimit, 10);
    EXPECT_TRUE(Armed(Form->UpdateTimer, 2000));
}

TEST_F(Monitor, SurveyKeepsTheLastStateWhileTheLinkIsDown)
{
    Connected();
    Harness::DropNetwork();
    Form->Survey.SurveyInProgress = true;
    Form->Poll.LastPollState = TrayState::Connected;
    Tick();
    Form->Survey.SurveyInProgress = false;
    EXPECT_EQ(Form->Poll.LastPollState, TrayState::Connected);
    EXPECT_EQ(Form->Tray.LastTrayState, TrayState::Connected);
}

TEST_F(Monitor, ConnectedIconCyclesAndRestartsAfterScanning)
{
    std::vector<int> images;
    Tick();
    images.push_back(LastTray().Image);
    Harness::JoinNetwork("tarvane");
    for (int i = 0; i < 8; ++i) {
        Tick();
        images.push_back(LastTray().Image);
    }
    Harness::DropNetwork();
    Tick();
    images.push_back(LastTray().Image);
    Harness::JoinNetwork("tarvane");
    for (int i = 0; i < 3; ++i) {
        Tick();
        images.push_back(LastTray().Image);
    }
    EXPECT_EQ(images, (std::vector<int>{2, 3, 3, 4, 5, 3, 3, 4, 5, 2, 3, 3, 4}));
}

TEST_F(Monitor, TrayIconIsAddedOnceAUserIsLoggedOnAndRemovedOnClose)
{
    Form->Tray.TrayIconAdded = false;
    Form->DetectIconTimer(nullptr);
    ASSERT_EQ(Tray().size(), 1u);
    const TrayCall& add = Tray()[0];
    EXPECT_EQ(add.Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.Size, static_cast<UINT>(NOTIFYICONDATAA_V2_SIZE));
    EXPECT_EQ(add.Id, 9999u);
    EXPECT_EQ(add.Flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.CallbackMessage, 1124u);
    EXPECT_EQ(add.Image, 1);
    EXPECT_EQ(add.Tip, "\n    Start here\n");
    EXPECT_TRUE(Form->Tray.TrayIconAdded);
    EXPECT_TRUE(Form->DetectIcon->Enabled());
    Form->DetectIconTimer(nullptr); // the tick after: the icon exists, the timer stops
    EXPECT_FALSE(Form->DetectIcon->Enabled());
    EXPECT_EQ(Tray().size(), 1u);

    Form->Show();
    Form->HideMainWindow();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(LastTray().Message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(LastTray().Id, 9999u);
    EXPECT_FALSE(Form->Tray.TrayIconAdded);
    EXPECT_FALSE(Form->Poll.LinkInfoValid);
}

TEST_F(Monitor, FailedAddIsTriedAgainByTheNextTick)
{
    Form->Tray.TrayIconAdded = false;
    Harness::Seam().TrayAnswer = FALSE;
    Form->DetectIconTimer(nullptr);
    EXPECT_FALSE(Form->Tray.TrayIconAdded);
    EXPECT_TRUE(Form->DetectIcon->Enabled());
    Harness::Seam().TrayAnswer = TRUE;
    Tick();
    ASSERT_GE(Tray().size(), 3u);
    EXPECT_EQ(Tray()[1].Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Tray()[2].Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_TRUE(Form->Tray.TrayIconAdded);
}

TEST_F(Monitor, StopAndStartMonitorFromTheTrayMenu)
{
    Connected();
    Form->Show();
    Form->MonitorState->Click();
    EXPECT_FALSE(Form->Link.MonitoringOn);
    EXPECT_EQ(Form->MonitorState->Caption, "Start Monitor");
    EXPECT_FALSE(Form->Restore->Enabled);
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(Form->Link.AdapterOpened);
    EXPECT_FALSE(Form->UpdateTimer->Enabled());
    EXPECT_EQ(Form->UpdateTimer->Interval(), 0u);
    EXPECT_EQ(CallCount("WLAN_Close_Adapter"), 1u);
    EXPECT_EQ(LastTray().Image, 1);
    EXPECT_EQ(LastTray().Tip, DisabledTip);
    EXPECT_EQ(Form->Tray.LastTrayState, TrayState::Disabled);
    EXPECT_FALSE(Form->Connections_ConnectBtn->Enabled());
    EXPECT_FALSE(Form->Status_Img_SignalStreng->Visible());
    EXPECT_FALSE(Form->Poll.FirstPollDone);

    // A double click on the icon does nothing while monitoring is off.
    ::SendMessageA(Form->Handle(), WM_TRAY_CALLBACK, 9999, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(Form->Visible());

    Form->MonitorState->Click();
    EXPECT_TRUE(Form->Link.MonitoringOn);
    EXPECT_EQ(Form->MonitorState->Caption, "Stop Monitor");
    EXPECT_TRUE(Form->Restore->Enabled);
    EXPECT_EQ(CallCount("WLAN_Open_Adapter"), 1u); // the device check ran at once
    EXPECT_TRUE(Form->Link.AdapterOpened);
    EXPECT_TRUE(Armed(Form->UpdateTimer, 500));
    Harness::JoinNetwork("tarvane"); // the card restarted from its saved setting
    Tick();
    EXPECT_EQ(LastTray().Image, 3);
}

// A link read on a worker that stays Ms inside the chipset library, and
// the call log's length as it went in and as it came out.
struct TSlowWorkerRead {
    WLAN_Get_Info_t Real = nullptr;
    DWORD Ms = 0;
    std::atomic<bool> Inside{false}, Left{false};
    std::atomic<size_t> LogAtEntry{0}, LogAtExit{0};
} SlowRead;

uint8_t __stdcall ReadSlowlyOnAWorker(WlanInfo* Info)
{
    if (::GetCurrentThreadId() != MainThreadID() && !SlowRead.Left) {
        SlowRead.LogAtEntry = Harness::CallNames().size();
        SlowRead.Inside = true;
        ::Sleep(SlowRead.Ms); // the library's own time
        SlowRead.LogAtExit = Harness::CallNames().size();
        SlowRead.Inside = false;
        SlowRead.Left = true;
    }
    return SlowRead.Real(Info);
}

// Puts the status-picture thread inside a link read of Ms. Resumed until a
// pass reads the link: a resume may first finish a pass that an earlier
// park cut short, and a new pass comes a period (5 s) after the last.
void StartSlowWorkerRead(TMainFrm* Form, DWORD Ms)
{
    SlowRead.Left = false;
    SlowRead.Ms = Ms;
    SlowRead.Real = Chipset.WLAN_Get_Info;
    Chipset.WLAN_Get_Info = ReadSlowlyOnAWorker;
    ASSERT_TRUE(Harness::PumpUntil(
        [Form] {
            if (!SlowRead.Inside && Form->GifThread->Suspended()) Form->GifThread->Resume();
            return SlowRead.Inside.load();
        },
        20000));
}

// Stop Monitor cannot park the status-picture thread while it is inside the
// chipset library: the adapter is closed once the thread has left, and
// Start Monitor meanwhile opens it only after that close; no chipset call
// is made on the main thread while the worker is inside.
TEST_F(Monitor, StopMonitorDuringALongLinkReadOnAWorkerClosesTheAdapterOnceItLeaves)
{
    Connected();
    Harness::ClearCalls();
    ASSERT_NO_FATAL_FAILURE(StartSlowWorkerRead(Form, 5000));
    Form->MonitorState->Click(); // Stop Monitor: the worker does not park within the limit
    ASSERT_FALSE(Form->Link.MonitoringOn);
    ASSERT_TRUE(SlowRead.Inside);
    Form->MonitorState->Click(); // Start Monitor, the worker still inside
    EXPECT_TRUE(SlowRead.Inside); // nothing waited for it to leave the library
    EXPECT_TRUE(Harness::PumpUntil([this] { return SlowRead.Left && Form->Link.AdapterOpened; }, 20000));
    Chipset.WLAN_Get_Info = SlowRead.Real; // unless the adapter's start bound it again

    const std::vector<std::string> names = Harness::CallNames();
    int whileInside = 0;
    for (size_t i = SlowRead.LogAtEntry; i < SlowRead.LogAtExit && i < names.size(); ++i)
        whileInside += names[i].compare(0, 5, "WLAN_") == 0;
    const auto count = [&names](const char* Name) { return std::count(names.begin(), names.end(), Name); };
    const auto at = [&names](const char* Name) { return std::find(names.begin(), names.end(), Name) - names.begin(); };
    std::printf("Stop and Start Monitor during a 5 s link read on a worker: %d chipset calls on the main thread "
                "while it was inside, %d closes, %d opens\n",
                whileInside, static_cast<int>(count("WLAN_Close_Adapter")), static_cast<int>(count("WLAN_Open_Adapter")));
    EXPECT_EQ(whileInside, 0);
    EXPECT_EQ(count("WLAN_Close_Adapter"), 1);
    EXPECT_EQ(count("WLAN_Open_Adapter"), 1);
    EXPECT_LT(at("WLAN_Close_Adapter"), at("WLAN_Open_Adapter"));
    EXPECT_TRUE(Form->Link.MonitoringOn);
}

// While the status-picture thread is 8 s inside the chipset library, the
// status poll does not wait for it: it skips its pass at once and comes
// again in 2 seconds, and a message sent to the window meanwhile is answered.
TEST_F(Monitor, PollWhileAWorkerIsLongInsideTheLibrarySkipsItsPassAndTheWindowAnswers)
{
    Connected();
    Harness::ClearCalls();
    ASSERT_NO_FATAL_FAILURE(StartSlowWorkerRead(Form, 8000));
    std::atomic<bool> sent{false}, answered{false};
    std::thread sender([&] {
        DWORD_PTR result;
        answered = ::SendMessageTimeoutA(Form->Handle(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) != 0;
        sent = true;
    });
    const DWORD start = ::GetTickCount();
    Tick();
    const DWORD pollMs = ::GetTickCount() - start;
    const bool rearmed = Armed(Form->UpdateTimer, 2000);
    // The main thread's longest time away from its messages while the worker is inside.
    DWORD longestStall = pollMs, last = ::GetTickCount();
    while (SlowRead.Inside) {
        Application->ProcessMessages();
        const DWORD now = ::GetTickCount();
        longestStall = std::max(longestStall, now - last);
        last = now;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    EXPECT_TRUE(Harness::PumpUntil([&] { return sent.load(); }, 5000));
    sender.join();
    EXPECT_TRUE(Harness::PumpUntil([] { return SlowRead.Left.load(); }, 20000));
    Chipset.WLAN_Get_Info = SlowRead.Real;
    std::printf("Status poll during an 8 s link read on a worker: it took %lu ms; the main thread's longest "
                "stall %lu ms; a message sent meanwhile %s\n",
                static_cast<unsigned long>(pollMs), static_cast<unsigned long>(longestStall),
                answered ? "answered" : "not answered in 2 s");
    EXPECT_LT(pollMs, 1000u);
    EXPECT_TRUE(rearmed);
    EXPECT_TRUE(answered);
    EXPECT_LT(longestStall, 1000u);
}

// A status-picture pass that comes to the chipset library while the main
// thread is inside it does not wait there, so it cannot go in after an
// exit that began meanwhile.
TEST_F(Monitor, AWorkerThatFindsTheLibraryInUseNeverEntersItAfterTheExitBegan)
{
    Connected();
    Form->HideLinkPictures();
    Harness::ClearCalls();
    bool passWentOn;
    {
        // The main thread inside the library, as in a long call of its own.
        const std::lock_guard<std::recursive_mutex> inside(ChipsetLibraryLock());
        Form->GifThread->Resume();
        // The pass shows its picture once past its link read.
        passWentOn = Harness::PumpUntil(
            [this] { return Form->Img_Infrastrcture->Visible() || Form->Img_MissInternet->Visible(); }, 10000);
        Form->Program.Quitting = true; // an exit begins
    }
    EXPECT_TRUE(Harness::PumpUntil([this] { return Form->GifThread->Suspended(); }, 20000));
    Form->Program.Quitting = false;
    EXPECT_TRUE(passWentOn);
    EXPECT_EQ(CallCount("WLAN_Get_Info"), 0u);
}

TEST_F(Monitor, EscAndTheClosePictureHideToTheTrayAndTheTrayBringsItBack)
{
    Form->ShowFromTray();
    ASSERT_TRUE(Form->Visible());
    EXPECT_TRUE(::IsWindowVisible(Application->Handle()));
    ::SendMessageA(Form->Handle(), WM_CHAR, 27, 0);
    EXPECT_FALSE(Form->Visible());
    EXPECT_FALSE(::IsWindowVisible(Form->Handle()));
    EXPECT_FALSE(::IsWindowVisible(Application->Handle()));

    ::SendMessageA(Form->Handle(), WM_TRAY_CALLBACK, 9999, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(::IsWindowVisible(Form->Handle()));
    Form->Image7->OnClick(Form->Image7);
    EXPECT_FALSE(::IsWindowVisible(Form->Handle()));

    Form->Restore->Click();
    EXPECT_TRUE(::IsWindowVisible(Form->Handle()));
    EXPECT_EQ(Harness::Seam().Sounds, std::vector<std::string>{"Sound\\start.wav"});
    // The tray keeps its icon throughout.
    for (const TrayCall& call : Tray()) EXPECT_NE(call.Message, static_cast<DWORD>(NIM_DELETE));
    Form->HideToTray();
}

TEST_F(Monitor, HiddenWindowRefreshesDetailsAfter2Then5Then10Then15Minutes)
{
    Harness::JoinNetwork("tarvane");
    Tick(); // the first refresh at once
    EXPECT_EQ(Form->Poll.HiddenRefreshStep, 1);
    EXPECT_EQ(Form->Poll.DetailTickCount, 0);
    EXPECT_EQ(CallCount("WLAN_Read_ProfileList"), 2u); // the first pass

    const uint32_t minutes[] = {2, 5, 10, 15, 15};
    const int32_t stepBefore[] = {1, 2, 3, 4, 4}, stepAfter[] = {2, 3, 4, 4, 4};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        Form->Poll.HiddenSince = ::GetTickCount() - minutes[i] * 60000u + 3000u;
        Tick();
        EXPECT_EQ(Form->Poll.DetailTickCount, 2) << "skipped"; // kept high so that showing refreshes at once
        EXPECT_EQ(Form->Poll.HiddenRefreshStep, stepBefore[i]);
        EXPECT_TRUE(Armed(Form->UpdateTimer, 2000));
        Form->Poll.HiddenSince = ::GetTickCount() - minutes[i] * 60000u - 1000u;
        Tick();
        EXPECT_EQ(Form->Poll.DetailTickCount, 0) << "refreshed";
        EXPECT_EQ(Form->Poll.HiddenRefreshStep, stepAfter[i]);
        EXPECT_LE(::GetTickCount() - Form->Poll.HiddenSince, 1000u);
    }
}

TEST_F(Monitor, VisibleWindowRefreshesDetailsEveryThirdTick)
{
    Harness::JoinNetwork("tarvane");
    Tick();
    Form->Poll.HiddenRefreshStep = 3;
    Form->Show();
    std::vector<int32_t> counts;
    for (int i = 0; i < 6; ++i) {
        Tick();
        counts.push_back(Form->Poll.DetailTickCount);
    }
    Form->Hide();
    EXPECT_EQ(Form->Poll.HiddenRefreshStep, 1);
    EXPECT_EQ(counts, (std::vector<int32_t>{1, 2, 0, 1, 2, 0}));
}

TEST_F(Monitor, StatusPictureThreadResumesAfterItsTickLimit)
{
    Connected();
    Form->Show(); // showing the link page resumes the thread once already
    Form->GifThread->Suspend();
    for (DWORD start = ::GetTickCount(); !Form->GifThread->Suspended() && ::GetTickCount() - start < 5000;)
        Harness::Pump();
    Form->Poll.PollTickCount = 59;
    Tick();
    EXPECT_EQ(Form->Poll.PollTickCount, 60);
    EXPECT_TRUE(Form->GifThread->Suspended());
    Tick();
    EXPECT_EQ(Form->Poll.PollTickCount, 0);
    EXPECT_FALSE(Form->GifThread->Suspended());
    Form->GifThread->Suspend();
    Form->Hide();
}

TEST_F(Monitor, ScrolledSurveyListRestartsTheMarkingTimer)
{
    Connected();
    for (int i = 0; i < 3; ++i) Form->Connections_LstV_APs->Items()->Add()->SetCaption("cell");
    Form->Connections_ConnectBtn->SetEnabled(false);
    Form->CheckTimer->SetEnabled(false);
    Form->Survey.LastTopIndex = 2;
    Form->Poll.HiddenRefreshStep = 0; // a detail refresh is due
    Tick();
    EXPECT_EQ(Form->Survey.LastTopIndex, 0);
    EXPECT_TRUE(Armed(Form->CheckTimer, 5000));
    EXPECT_TRUE(Form->Connections_ConnectBtn->Enabled());
    Form->Connections_LstV_APs->Items()->Clear();
}

} // namespace
