#include "workers.h"

#include <utility>

TMessageThread::TMessageThread(HWND Window, std::function<void()> PointerLeft)
    : Window(Window), PointerLeft(std::move(PointerLeft))
{
}

void TMessageThread::Execute()
{
    while (!Terminated()) {
        POINT cursor;
        RECT window;
        if (::GetCursorPos(&cursor) && ::GetWindowRect(Window, &window) && !::PtInRect(&window, cursor))
            Synchronize(PointerLeft);
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

TShowGifThread::TShowGifThread(std::function<void()> Pass) : Pass(std::move(Pass)) {}

void TShowGifThread::Execute()
{
    while (!Terminated()) {
        Pass();
        Sleep(5000);
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
