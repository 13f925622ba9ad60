// The utility's whole life in process, a hundred times over: an application
// object and the main window made over the stand-ins, an exit request that
// arrives while a status poll, the profile list's fill or a device check is
// pumping messages or while the tray takes the icon (at start-up or in a
// poll), and the end of the entry function, after which no timer, window or
// thread of the program may be left. And the exit is one way: once it has
// begun, no timer runs and nothing shows the window again; an apply under
// way when it begins is finished before the end.
#include "gifimage/gif_unit_win32.h"
#include "mainfrm_harness.h"
#include "toolkit/application.h"
#include "toolkit/thread.h"
#include "toolkit/timer.h"
#include "vantra/drivers/bindings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

// Where the exit request lands.
enum class Moment {
    FirstPoll,
    LaterPoll,
    DeviceCheck,
    WorkersRunning,
    TrayAtStart,
    TrayInPoll,
    ProfileListFill,
    ShowDuringExit,
    DuringASlowApply,
    InTheAppliersTrayCall
};

// How the exit is asked for, and what a test looks at on the way: another
// copy's 0xCA01 or Windows' WM_ENDSESSION, and a look some time into the
// exit's wait.
struct ExitRequest {
    UINT Message = WM_VANTRA_EXIT;
    WPARAM WParam = 0;
    LPARAM LParam = 1;
    bool Shown = false;         // the user had opened the window from the tray
    DWORD IntoTheCallMs = 200;  // how long the slow card has had its settings
    DWORD LookAfterMs = 0;
    std::function<void()> Look;
};

// When the exit request was made, when the tray icon went and the program
// ended, and, for a request sent from another thread, when and how its
// sender was answered.
struct ExitTimes {
    DWORD Requested = 0, IconRemoved = 0, Ended = 0, Answered = 0;
    size_t RestartsWhenIconRemoved = 0;
    bool AnswerTimedOut = false;
    size_t ExitSoundsWhenAnswered = 0;
    size_t SetsWhenRequested = 0, RestartsWhenRequested = 0; // inside the applier's tray call
};

// Windows' request at the session's end.
ExitRequest SessionEnd()
{
    ExitRequest request;
    request.Message = WM_ENDSESSION;
    request.WParam = TRUE;
    request.LParam = 0;
    return request;
}

size_t ExitSounds()
{
    const std::vector<std::string>& sounds = Harness::Seam().Sounds;
    return std::count(sounds.begin(), sounds.end(), "Sound\\exit.wav");
}

// The look of a request, from a timer of the main thread's, which the
// exit's wait services.
std::function<void()> PendingLook;
void CALLBACK RunLook(HWND, UINT, UINT_PTR Id, DWORD)
{
    ::KillTimer(nullptr, Id);
    if (PendingLook) std::exchange(PendingLook, nullptr)();
}

struct Sending {
    HWND Window;
    ExitRequest Request;
    ExitTimes* Times;
};

DWORD WINAPI SendAndRecordTheAnswer(void* Param)
{
    auto& s = *static_cast<Sending*>(Param);
    DWORD_PTR result = 0;
    s.Times->AnswerTimedOut = !::SendMessageTimeoutA(s.Window, s.Request.Message, s.Request.WParam, s.Request.LParam,
                                                     SMTO_ABORTIFHUNG, 30000, &result);
    s.Times->Answered = ::GetTickCount();
    s.Times->ExitSoundsWhenAnswered = ExitSounds(); // the main thread waits for this thread
    return 0;
}

// Sends the request from a thread of its own, as another program does,
// with the time-out of a second copy's "-q" at the time; the main thread
// meanwhile takes in sent messages only, as a call to another program's
// window (the tray's) does, until the sender has its answer.
void SendFromAnotherProgram(HWND Window, const ExitRequest& Request, ExitTimes& Times)
{
    Sending sending{Window, Request, &Times};
    Times.Requested = ::GetTickCount();
    HANDLE sender = ::CreateThread(nullptr, 0, SendAndRecordTheAnswer, &sending, 0, nullptr);
    ASSERT_NE(sender, nullptr);
    while (::MsgWaitForMultipleObjects(1, &sender, FALSE, 40000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // delivers the sent messages
    }
    ::CloseHandle(sender);
}

// Runs one life of the utility and tells how often the exit sound played.
size_t Life(Moment When, ExitTimes* Times = nullptr, const ExitRequest& Request = {})
{
    Harness::Seam().Clear();
    {
        TGIFUnit gifUnit; // the window's status pictures are GIF pictures
        TApplication application;
        TMainFrm* form = nullptr;
        // Another copy's exit request, sent while the tray takes the icon.
        auto exitDuring = [&form](DWORD Message) {
            return [&form, Message](DWORD Call) {
                if (Call != Message) return;
                Harness::Seam().WhileTrayCall = nullptr;
                ::SendMessageA(form->Handle(), WM_VANTRA_EXIT, 0, 1);
            };
        };
        if (When == Moment::TrayAtStart) Harness::Seam().WhileTrayCall = exitDuring(NIM_ADD);
        application.CreateForm(form);
        // The first device check found and opened the adapter, unless the
        // exit came before it.
        EXPECT_EQ(form->Link.AdapterOpened, When != Moment::TrayAtStart);
        const HWND window = form->Handle();
        switch (When) {
        case Moment::FirstPoll:
            ::PostMessageA(window, WM_VANTRA_EXIT, 0, 1);
            form->UpdateTimerTimer(nullptr); // its first pump runs the exit
            break;
        case Moment::LaterPoll:
            form->UpdateTimerTimer(nullptr);
            ::PostMessageA(window, WM_VANTRA_EXIT_ALT, 1, 0);
            form->UpdateTimerTimer(nullptr);
            break;
        case Moment::DeviceCheck:
            ::PostMessageA(window, WM_VANTRA_EXIT, 0, 1);
            form->DeviceCheckTimerTimer(nullptr);
            break;
        case Moment::ProfileListFill:
            // Posted as the first poll fills the profile list; a later row's pump runs it.
            WlanCall(Chipset.WLAN_Write_ProfileList, "\"Default\",\"Home\",\"Office\"");
            form->Profile_LstV_Profile1->OnChange = [window](TObject*, TListItem*, TItemChange) {
                ::PostMessageA(window, WM_VANTRA_EXIT, 0, 1);
            };
            form->UpdateTimerTimer(nullptr);
            break;
        case Moment::WorkersRunning:
            form->MessageThread->Resume();
            form->GifThread->Resume();
            ::PostMessageA(window, WM_DEVICECHANGE, 0x0007 /* DBT_DEVNODES_CHANGED */, 0);
            ::PostMessageA(window, WM_VANTRA_EXIT, 0, 1);
            break;
        case Moment::TrayAtStart:
            break;
        case Moment::TrayInPoll:
            Harness::Seam().WhileTrayCall = exitDuring(NIM_MODIFY);
            form->UpdateTimerTimer(nullptr);
            break;
        case Moment::ShowDuringExit:
            // The exit takes the tray icon away first, then parks and frees
            // the workers; another program asks to see the window meanwhile.
            Harness::Seam().WhileTrayCall = [&form](DWORD Message) {
                if (Message != NIM_DELETE) return;
                Harness::Seam().WhileTrayCall = nullptr;
                EXPECT_TRUE(form->Program.Quitting);
                for (TTimer* timer : {form->UpdateTimer, form->CheckTimer, form->ConnectCheckTimer,
                                      form->DeviceCheckTimer, form->Timer1, form->DetectIcon})
                    EXPECT_FALSE(timer->Enabled());
                ::SendMessageA(form->Handle(), WM_VANTRA_SHOW, 0, 1);
                EXPECT_FALSE(form->Visible());
            };
            ::PostMessageA(window, WM_VANTRA_EXIT, 0, 1);
            break;
        case Moment::InTheAppliersTrayCall:
            // The applier has given the card its settings and shows the
            // card busy; the tray's call lets the request in.
            Harness::Seam().WhileTrayCall = [&form, Times, Request](DWORD Message) {
                if (Message != NIM_MODIFY || form->TcpIpThread->Suspended()) return;
                const HWND window = form->Handle();
                ExitTimes& times = *Times;
                const ExitRequest request = Request;
                Harness::Seam().WhileTrayCall = nullptr; // frees this closure: its locals only from here
                times.SetsWhenRequested = Harness::CallCount("NIC_SetIpInfo");
                times.RestartsWhenRequested = Harness::CallCount("NIC_PropertyChange");
                SendFromAnotherProgram(window, request, times);
            };
            [[fallthrough]];
        case Moment::DuringASlowApply: {
            // A connect hands the applier a record for a card that takes 6 s
            // over it; the exit comes 200 ms into the card's call.
            Harness::ClearCalls();
            for (TTimer* timer : {form->UpdateTimer, form->CheckTimer, form->ConnectCheckTimer})
                timer->SetEnabled(false);
            if (Request.Shown) form->ShowFromTray();
            form->PendingIpInfo = NicIpInfo{};
            form->PendingIpInfo.blDhcpEnabled = 1;
            form->Link.ApplyingTcpIp = true;
            form->TcpIpThread->Resume();
            if (When == Moment::InTheAppliersTrayCall) break;
            EXPECT_TRUE(Harness::PumpUntil([] { return Harness::CallCount("NIC_SetIpInfo") == 1; }, 10000));
            const DWORD inCall = ::GetTickCount();
            const DWORD into = Request.IntoTheCallMs;
            Harness::PumpUntil([inCall, into] { return ::GetTickCount() - inCall >= into; }, into + 1000);
            Harness::Seam().WhileTrayCall = [Times](DWORD Message) {
                if (Message != NIM_DELETE || Times->IconRemoved) return;
                Times->IconRemoved = ::GetTickCount();
                Times->RestartsWhenIconRemoved = Harness::CallCount("NIC_PropertyChange");
            };
            if (Request.Look) {
                PendingLook = Request.Look;
                ::SetTimer(nullptr, 0, Request.LookAfterMs, RunLook);
            }
            Times->Requested = ::GetTickCount();
            ::PostMessageA(window, Request.Message, Request.WParam, Request.LParam);
            break;
        }
        }
        // The rest of the life is the message loop's; the exit has ended it,
        // or ends it now.
        const DWORD start = ::GetTickCount();
        while (!application.Terminated && ::GetTickCount() - start < 40000) application.HandleMessage();
        EXPECT_TRUE(application.Terminated);
        if (Times) Times->Ended = ::GetTickCount();
        Harness::Seam().WhileTrayCall = nullptr;
        PendingLook = nullptr;
    }
    // An applier given up on frees itself once the card lets it go.
    for (const DWORD gone = ::GetTickCount(); TLiveCount<TThread>::Alive() != 0 && ::GetTickCount() - gone < 30000;)
        ::Sleep(10);
    // The quit request that ended this life would end the next one at once.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_FALSE(ChipsetCallsSkipped()); // the window took its quitting flag with it
    EXPECT_EQ(TLiveCount<TTimer>::Alive(), 0);
    EXPECT_EQ(TLiveCount<TWinControl>::Alive(), 0);
    EXPECT_EQ(TLiveCount<TThread>::Alive(), 0);
    return ExitSounds();
}

class Exit : public testing::Test {
protected:
    static void SetUpTestSuite() { Harness::PrepareWorld(); }
};

TEST_F(Exit, DuringAPumpingHandlerRunsOnceAndLeavesNothingBehind)
{
    const Moment moments[] = {Moment::FirstPoll,      Moment::LaterPoll,   Moment::DeviceCheck,
                              Moment::WorkersRunning, Moment::TrayAtStart, Moment::TrayInPoll,
                              Moment::ProfileListFill};
    for (int round = 0; round < 105; ++round) {
        const Moment when = moments[round % 7];
        ASSERT_EQ(Life(when), 1u) << "round " << round;
        if (HasFailure()) FAIL() << "round " << round;
    }
}

TEST_F(Exit, IsOneWay)
{
    EXPECT_EQ(Life(Moment::ShowDuringExit), 1u);
    EXPECT_FALSE(Harness::Seam().WhileTrayCall); // the window's close took the icon away
}

// The card got its settings and one restart, and the NIC library's device
// manager was closed once after them, by the exit, and never while the card
// took them.
void ExpectTheApplyFinishedBeforeTheEnd()
{
    const std::vector<std::string> names = Harness::CallNames();
    auto at = [&names](const char* Name) { return std::find(names.begin(), names.end(), Name) - names.begin(); };
    EXPECT_EQ(Harness::CallCount("NIC_PropertyChange"), 1u);
    const long set = at("NIC_SetIpInfo"), restart = at("NIC_PropertyChange");
    ASSERT_LT(set, static_cast<long>(names.size()));
    ASSERT_LT(restart, static_cast<long>(names.size()));
    for (long i = set + 1; i < restart; ++i) EXPECT_NE(names[i], "NIC_CloseDeviceMgr") << "while the card takes its settings";
    EXPECT_EQ(std::count(names.begin() + restart, names.end(), "NIC_CloseDeviceMgr"), 1);
}

// An exit while the applier waits on a slow card: the window and the icon go
// at once, the card still gets its settings and its restart, and the NIC
// library's device manager is closed only once the applier is done with it.
TEST_F(Exit, DuringASlowApplyFinishesTheApplyBeforeTheEnd)
{
    Harness::SetWorld("World", "ApplyMs", "6000");
    ExitTimes times;
    EXPECT_EQ(Life(Moment::DuringASlowApply, &times), 1u);
    Harness::SetWorld("World", "ApplyMs", "0");

    ExpectTheApplyFinishedBeforeTheEnd();
    const std::vector<std::string> names = Harness::CallNames();
    auto at = [&names](const char* Name) { return std::find(names.begin(), names.end(), Name) - names.begin(); };
    const long set = at("NIC_SetIpInfo"), restart = at("NIC_PropertyChange");
    ASSERT_NE(times.IconRemoved, 0u);
    EXPECT_EQ(times.RestartsWhenIconRemoved, 0u); // gone before the apply ended
    std::printf("Exit 200 ms into a 6 s apply: icon gone after %lu ms, program ended after %lu ms; "
                "NIC_PropertyChange %zu, NIC_CloseDeviceMgr while NIC_SetIpInfo ran %d\n",
                static_cast<unsigned long>(times.IconRemoved - times.Requested),
                static_cast<unsigned long>(times.Ended - times.Requested), Harness::CallCount("NIC_PropertyChange"),
                static_cast<int>(std::count(names.begin() + set, names.begin() + restart, "NIC_CloseDeviceMgr")));
    EXPECT_LT(times.Ended - times.Requested, 30000u);
}

// Another copy's "-q" or the session's end, sent while the applier shows the
// card busy in the tray, which lets other programs' messages in: the exit
// runs inside that call, the apply still ends with its restart, and the
// sender is answered once the exit is complete, well within its time-out.
// The applier does not wait for its tray change, so its restart may come
// before the request or after it.
TEST_F(Exit, RequestedInsideTheAppliersTrayCallFinishesTheApplyAndAnswersOnceDone)
{
    for (const ExitRequest& request : {ExitRequest{}, SessionEnd()}) {
        const char* name = request.Message == WM_ENDSESSION ? "WM_ENDSESSION" : "0xCA01";
        ExitTimes times;
        EXPECT_EQ(Life(Moment::InTheAppliersTrayCall, &times, request), 1u) << name;
        ASSERT_NE(times.Answered, 0u) << name << ": the applier's tray call let it in";
        EXPECT_EQ(times.SetsWhenRequested, 1u) << name;
        EXPECT_FALSE(times.AnswerTimedOut) << name;
        EXPECT_EQ(times.ExitSoundsWhenAnswered, 1u) << name << ": answered once the exit was complete";
        EXPECT_LT(times.Answered - times.Requested, 10000u) << name;
        EXPECT_LT(times.Ended - times.Requested, 10000u) << name;
        ExpectTheApplyFinishedBeforeTheEnd();
        std::printf("%s inside the applier's tray call: sender answered after %lu ms, program ended after %lu ms; "
                    "NIC_PropertyChange %zu (%zu when requested), NIC_CloseDeviceMgr after it %zu\n",
                    name, static_cast<unsigned long>(times.Answered - times.Requested),
                    static_cast<unsigned long>(times.Ended - times.Requested), Harness::CallCount("NIC_PropertyChange"),
                    times.RestartsWhenRequested, Harness::CallCount("NIC_CloseDeviceMgr") - 1);
    }
}

// The session ends while the exit waits for a slow card: Windows may end the
// process as soon as WM_ENDSESSION returns, so it returns once the exit is
// complete, the card's settings and restart included.
TEST_F(Exit, SessionEndDuringTheExitsWaitReturnsOnlyOnceTheExitIsComplete)
{
    Harness::SetWorld("World", "ApplyMs", "6000");
    DWORD sent = 0, answered = 0;
    size_t restartsWhenAnswered = 0, soundsWhenAnswered = 0;
    ExitRequest request;
    request.IntoTheCallMs = 1000;
    request.LookAfterMs = 1000;
    request.Look = [&] {
        sent = ::GetTickCount();
        ::SendMessageA(Application->MainForm->Handle(), WM_ENDSESSION, TRUE, 0);
        answered = ::GetTickCount();
        restartsWhenAnswered = Harness::CallCount("NIC_PropertyChange");
        soundsWhenAnswered = ExitSounds();
    };
    ExitTimes times;
    EXPECT_EQ(Life(Moment::DuringASlowApply, &times, request), 1u);
    Harness::SetWorld("World", "ApplyMs", "0");
    ASSERT_NE(sent, 0u);
    EXPECT_EQ(restartsWhenAnswered, 1u);
    EXPECT_EQ(soundsWhenAnswered, 1u);
    EXPECT_LE(answered - sent, TMainFrm::EndSessionLimitMs + 1000);
    ExpectTheApplyFinishedBeforeTheEnd();
    std::printf("WM_ENDSESSION 1 s into the exit's wait for a 6 s apply: answered after %lu ms, "
                "NIC_PropertyChange %zu when answered\n",
                static_cast<unsigned long>(answered - sent), restartsWhenAnswered);
}

// Quitting hides the taskbar button that opening the window from the tray
// put up, with the window, at once: not after the wait for an apply.
TEST_F(Exit, HidesTheTaskbarButtonWithTheWindowAtOnce)
{
    Harness::SetWorld("World", "ApplyMs", "6000");
    bool applicationShown = true, formShown = true, applying = false;
    ExitRequest request;
    request.Shown = true;
    request.LookAfterMs = 2000;
    request.Look = [&] {
        applicationShown = ::IsWindowVisible(Application->Handle()) != FALSE;
        formShown = ::IsWindowVisible(Application->MainForm->Handle()) != FALSE;
        applying = Harness::CallCount("NIC_PropertyChange") == 0;
    };
    ExitTimes times;
    EXPECT_EQ(Life(Moment::DuringASlowApply, &times, request), 1u);
    Harness::SetWorld("World", "ApplyMs", "0");
    EXPECT_TRUE(applying); // the look came during the exit's wait
    EXPECT_FALSE(formShown);
    EXPECT_FALSE(applicationShown);
}

// At the session's end the exit waits for an apply no longer than Windows
// gives a program over WM_ENDSESSION; a card that takes longer is left to
// the applier, which keeps the NIC library's device manager it works with.
TEST_F(Exit, AtTheSessionsEndASlowApplyIsWaitedForNoLongerThanWindowsAllows)
{
    Harness::SetWorld("World", "ApplyMs", "15000");
    ExitRequest request = SessionEnd();
    ExitTimes times;
    EXPECT_EQ(Life(Moment::DuringASlowApply, &times, request), 1u);
    Harness::SetWorld("World", "ApplyMs", "0");
    std::printf("WM_ENDSESSION 200 ms into a 15 s apply: program ended after %lu ms\n",
                static_cast<unsigned long>(times.Ended - times.Requested));
    EXPECT_LE(times.Ended - times.Requested, TMainFrm::EndSessionLimitMs + 1000);
    EXPECT_EQ(Harness::CallCount("NIC_PropertyChange"), 0u);
    const std::vector<std::string> names = Harness::CallNames();
    const auto set = std::find(names.begin(), names.end(), "NIC_SetIpInfo");
    ASSERT_NE(set, names.end());
    EXPECT_EQ(std::count(set, names.end(), "NIC_CloseDeviceMgr"), 0);
}

} // namespace
