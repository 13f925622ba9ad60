#include "workers.h"
#include "toolkit/control.h"

#include <utility>

TMessageThread::TMessageThread(HWND Window, std::function<void()> PointerLeft)
    : Window(Window), PointerLeft(std::move(PointerLeft))
{
}

void TMessageThread::Execute()
{
    while (!Terminated()) {
        if (PointerOutside(Window)) Synchronize(PointerLeft);
        Sleep(200);
    }
}

TSetTCPIPThread::TSetTCPIPThread(std::function<NicIpInfo()> TakePending, std::function<void(NicIpInfo&)> Apply)
    : TakePending(std::move(TakePending)), Apply(std::move(Apply))
{
}

void TSetTCPIPThread::Execute()
{
    while (!Terminated()) {
        NicIpInfo pending;
        Synchronize([&] { pending = TakePending(); });
        Apply(pending);
        Sleep(200);
    }
}

TShowGifThread::TShowGifThread(std::function<void()> Pass, DWORD Period) : Pass(std::move(Pass)), Period(Period) {}

// The main thread's own loop processes its messages meanwhile; this thread
// has none, and pumping the main thread's inside a synchronised call could
// run the exit there while this thread waits on it.
void TShowGifThread::Execute()
{
    while (!Terminated()) {
        Pass();
        Sleep(Period);
    }
}

TGetSysPowStatus::TGetSysPowStatus(std::function<void()> Check) : Check(std::move(Check)) {}

void TGetSysPowStatus::Execute()
{
    while (!Terminated()) {
        Check();
        Sleep(100);
    }
}
