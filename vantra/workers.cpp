#include "workers.h"
#include "mainfrm.h"

void TMessageThread::Execute()
{
    while (!Terminated()) {
        POINT cursor;
        RECT window;
        if (::GetCursorPos(&cursor) && ::GetWindowRect(MainFrm->Handle(), &window) &&
            (cursor.x < window.left || cursor.x > window.right || cursor.y < window.top || cursor.y > window.bottom))
            Synchronize([] { MainFrm->ClearHover(); });
        Sleep(200);
    }
}

void TSetTCPIPThread::Execute()
{
    while (!Terminated()) {
        NicIpInfo pending = MainFrm->PendingIpInfo;
        MainFrm->ApplyTcpIpSettings(pending);
        Sleep(200);
    }
}

void TShowGifThread::Execute()
{
    while (!Terminated()) {
        MainFrm->ShowGifStatus();
        Sleep(5000);
    }
}

void TGetSysPowStatus::Execute()
{
    while (!Terminated()) {
        MainFrm->CheckPowerStatus();
        Sleep(100);
    }
}
