// The utility's whole life in process, a hundred times over: an application
// object and the main window made over the stand-ins, an exit request that
// arrives while a status poll, the profile list's fill or a device check is
// pumping messages or while the tray takes the icon (at start-up or in a
// poll), and the end of the entry function, after which no timer, window or
// thread of the program may be left. And the exit is one way: once it has
// begun, no timer runs and nothing shows the window again.
#include "gifimage/gif_unit_win32.h"
#include "mainfrm_harness.h"
#include "toolkit/application.h"
#include "toolkit/thread.h"
#include "toolkit/timer.h"
#include "vantra/drivers/bindings.h"

#include <gtest/gtest.h>

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
    ShowAtClose
};

// Runs one life of the utility and tells how often the exit sound played.
size_t Life(Moment When)
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
        case Moment::ShowAtClose:
            // At the exit's last step, the window's close, the workers are
            // freed; another program asks to see the window as the tray
            // takes the icon away.
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
        }
        // The rest of the life is the message loop's; the exit has ended it,
        // or ends it now.
        const DWORD start = ::GetTickCount();
        while (!application.Terminated && ::GetTickCount() - start < 10000) application.HandleMessage();
        EXPECT_TRUE(application.Terminated);
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
    EXPECT_EQ(Life(Moment::ShowAtClose), 1u);
    EXPECT_FALSE(Harness::Seam().WhileTrayCall); // the window's close took the icon away
}

} // namespace
