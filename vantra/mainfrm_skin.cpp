#include "globals.h"
#include "mainfrm.h"

void TMainFrm::SetWindowShape()
{
    HWND wnd = Handle();
    OldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWndProc)));
    ::SetWindowRgn(wnd, ::CreateRoundRectRgn(0, 0, 580, 430, 25, 25), TRUE);
}

void TMainFrm::ClearHover()
{
    HoverIndex2 = -1;
    ResetHoverImages();
    HoverIndex = -1;
}

bool TMainFrm::RestoreEnabled() const { return MonitoringOn != 0; }
