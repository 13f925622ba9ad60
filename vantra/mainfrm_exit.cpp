#include "drivers/bindings.h"
#include "mainfrm.h"
#include "toolkit/application.h"

void TMainFrm::WaitPumping(DWORD Milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < Milliseconds) {
        Application->ProcessMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Runs once, however many requests come: another 0xCA01, 0xCA49 or
// WM_ENDSESSION can arrive inside it, while the tray takes the icon away or
// while it waits, and must not free the threads again. One way: Quitting
// stays set from here to the end, so no timer, message or handler reaches
// the freed workers or shows the window, and no chipset call starts again.
// The window, its taskbar button and the tray icon go at once. An apply
// under way is finished, card restart included, before the program ends:
// it waits for that with a bound of its own, and for nothing else longer
// than a few seconds; a worker that has not parked by then is left to end
// by itself.
//
// The exit finishes inside the request that arrives last: one that arrived
// inside another's wait cannot return into that wait before the exit is
// complete, and whoever sent it (another copy's "-q", Windows at the
// session's end) is answered only when it is. The applier never waits for
// a call that could run an exit, so waiting for it from within any call is
// sound. Each request keeps its own bound: the wait ends at the earliest.
void TMainFrm::ExitUtility(DWORD ApplyLimitMs)
{
    const DWORD deadline = ::GetTickCount() + ApplyLimitMs;
    if (Exit == ExitStage::Finishing || Exit == ExitStage::Done) return;
    if (Exit == ExitStage::NotStarted || static_cast<LONG>(deadline - ExitApplyDeadline) < 0)
        ExitApplyDeadline = deadline;
    if (Exit == ExitStage::NotStarted) {
        Exit = ExitStage::Waiting;
        Program.Quitting = true;
        for (TTimer* timer : {DeviceCheckTimer, ConnectCheckTimer, UpdateTimer, CheckTimer, Timer1, DetectIcon}) {
            timer->SetEnabled(false);
            timer->SetInterval(0);
        }
    }
    HideMainWindow();
    if (Exit != ExitStage::Waiting) return; // a request inside the tray's change finished it
    const LONG left = static_cast<LONG>(ExitApplyDeadline - ::GetTickCount());
    const bool parked = ParkWorkers(left > 0 ? static_cast<DWORD>(left) : 0);
    if (Exit != ExitStage::Waiting) return; // a request during the wait finished it
    Exit = ExitStage::Finishing;
    // The applier works with the NIC library's device manager until it is done.
    const bool applying = Applying();
    FreeWorkers();

    // Closed only when no worker can call the chipset library any more.
    if ((Link.AdapterOpened || Link.AdapterCloseOwed) && parked) WlanCloseAdapter(); // not skipped while quitting
    if (Link.NicDeviceMgrOpen && !applying) Link.CloseDeviceManager();
    RestoreTitleButton();
    PlaySoundThenStop("exit.wav");
    Application->Terminate();
    Close();
    Exit = ExitStage::Done;
}
