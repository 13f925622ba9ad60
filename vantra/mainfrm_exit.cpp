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

// Runs once: the message pumping below can deliver a second exit request
// (another 0xCA01, 0xCA49 or WM_ENDSESSION), which must not free the
// threads again. One way: Quitting stays set from here to the end, so no
// timer, message or handler reaches the freed workers or shows the window,
// and no chipset call starts again. It waits for nothing without bound: a
// worker that has not parked within a few seconds is left to end by itself.
void TMainFrm::ExitUtility()
{
    if (ExitStarted) return;
    ExitStarted = true;
    Program.Quitting = true;
    for (TTimer* timer : {DeviceCheckTimer, ConnectCheckTimer, UpdateTimer, CheckTimer, Timer1, DetectIcon}) {
        timer->SetEnabled(false);
        timer->SetInterval(0);
    }
    const bool parked = ParkWorkers();
    FreeWorkers();

    // Closed only when no worker can call the chipset library any more.
    if (Link.AdapterOpened && parked) WlanCloseAdapter(); // not skipped while quitting
    RestoreTitleButton();
    PlaySoundThenStop("exit.wav");
    Application->Terminate();
    Close();
}
