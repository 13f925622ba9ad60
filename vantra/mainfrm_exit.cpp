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
// and no chipset call starts again. The window and the tray icon go at once.
// An apply under way is finished, card restart included, before the
// program ends: it waits for that with a bound of its own, and for nothing
// else longer than a few seconds; a worker that has not parked by then is
// left to end by itself. At logoff and shutdown this runs inside
// WM_ENDSESSION, where Windows lets a program finish its work until the
// system's own time-out.
void TMainFrm::ExitUtility()
{
    if (ExitStarted) return;
    ExitStarted = true;
    Program.Quitting = true;
    for (TTimer* timer : {DeviceCheckTimer, ConnectCheckTimer, UpdateTimer, CheckTimer, Timer1, DetectIcon}) {
        timer->SetEnabled(false);
        timer->SetInterval(0);
    }
    HideMainWindow();
    const bool parked = ParkWorkers(ApplyExitLimitMs);
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
}
