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
    DuringASlowApply
};

// When the exit request was posted, and when the tray icon went.
struct ExitTimes {
    DWORD Requested = 0, IconRemoved = 0, Ended = 0;
    size_t RestartsWhenIconRemoved = 0;
};

// Runs one life of the utility and tells how often the exit sound played.
size_t Life(Moment When, ExitTimes* Times = nullptr)
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
        case Moment::DuringASlowApply: {
            // A connect hands the applier a record for a card that takes 6 s
            // over it; the exit comes 200 ms into the card's call.
            Harness::ClearCalls();
            for (TTimer* timer : {form->UpdateTimer, form->CheckTimer, form->ConnectCheckTimer})
                timer->SetEnabled(false);
            form->PendingIpInfo = NicIpInfo{};
            form->PendingIpInfo.blDhcpEnabled = 1;
            form->Link.ApplyingTcpIp = true;
            form->TcpIpThread->Resume();
            EXPECT_TRUE(Harness::PumpUntil([] { return Harness::CallCount("NIC_SetIpInfo") == 1; }, 10000));
            const DWORD inCall = ::GetTickCount();
            Harness::PumpUntil([inCall] { return ::GetTickCount() - inCall >= 200; }, 1000);
            Harness::Seam().WhileTrayCall = [Times](DWORD Message) {
                if (Message != NIM_DELETE || Times->IconRemoved) return;
                Times->IconRemoved = ::GetTickCount();
                Times->RestartsWhenIconRemoved = Harness::CallCount("NIC_PropertyChange");
            };
            Times->Requested = ::GetTickCount();
            ::PostMessageA(window, WM_VANTRA_EXIT, 0, 1);
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
    }
    // The quit request that ended this life would end the next one at once.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_FALSE(ChipsetCallsSkipped()); // the window took its quitting flag with it
    EXPECT_EQ(TLiveCount<TTimer>::Alive(), 0);
    EXPECT_EQ(TLiveCount<TWinControl>::Alive(), 0);
    EXPECT_EQ(TLiveCount<TThread>::Alive(), 0);
    size_t exits = 0;
    for (const std::string& sound : Harness::Seam().Sounds) exits += sound == "Sound\\exit.wav";
    return exits;
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

// An exit while the applier waits on a slow card: the window and the icon go
// at once, the card still gets its settings and its restart, and the NIC
// library's device manager is closed only once the applier is done with it.
TEST_F(Exit, DuringASlowApplyFinishesTheApplyBeforeTheEnd)
{
    Harness::SetWorld("World", "ApplyMs", "6000");
    ExitTimes times;
    EXPECT_EQ(Life(Moment::DuringASlowApply, &times), 1u);
    Harness::SetWorld("World", "ApplyMs", "0");

    const std::vector<std::string> names = Harness::CallNames();
    auto at = [&names](const char* Name) { return std::find(names.begin(), names.end(), Name) - names.begin(); };
    EXPECT_EQ(Harness::CallCount("NIC_PropertyChange"), 1u);
    const long set = at("NIC_SetIpInfo"), restart = at("NIC_PropertyChange");
    ASSERT_LT(set, static_cast<long>(names.size()));
    ASSERT_LT(restart, static_cast<long>(names.size()));
    for (long i = set + 1; i < restart; ++i) EXPECT_NE(names[i], "NIC_CloseDeviceMgr") << "while the card takes its settings";
    EXPECT_EQ(std::count(names.begin() + restart, names.end(), "NIC_CloseDeviceMgr"), 1);
    ASSERT_NE(times.IconRemoved, 0u);
    EXPECT_EQ(times.RestartsWhenIconRemoved, 0u); // gone before the apply ended
    std::printf("Exit 200 ms into a 6 s apply: icon gone after %lu ms, program ended after %lu ms; "
                "NIC_PropertyChange %zu, NIC_CloseDeviceMgr while NIC_SetIpInfo ran %d\n",
                static_cast<unsigned long>(times.IconRemoved - times.Requested),
                static_cast<unsigned long>(times.Ended - times.Requested), Harness::CallCount("NIC_PropertyChange"),
                static_cast<int>(std::count(names.begin() + set, names.begin() + restart, "NIC_CloseDeviceMgr")));
    EXPECT_LT(times.Ended - times.Requested, 30000u);
}

} // namespace
