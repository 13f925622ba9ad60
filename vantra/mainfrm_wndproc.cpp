#include "globals.h"
#include "mainfrm.h"
#include "toolkit/application.h"
#include "toolkit/graphics.h"
#include "toolkit/seam.h"

WNDPROC OldWndProc = nullptr;

namespace {

LRESULT OnQueryEndSession(LPARAM LParam)
{
    if (static_cast<DWORD>(LParam) == ENDSESSION_LOGOFF) {
        EndingSession = 1;
        for (TTimer* timer : {MainFrm->UpdateTimer, MainFrm->CheckTimer, MainFrm->ConnectCheckTimer,
                              MainFrm->DeviceCheckTimer})
            timer->SetEnabled(false);
        Platform().WinExec("rondsvc -b", SW_HIDE);
    }
    return TRUE;
}

// Tiles the background over the screen's size in whole tiles.
LRESULT OnEraseBackground(HDC Dc)
{
    const int w = MainFrm->BackgroundWidth, h = MainFrm->BackgroundHeight;
    if (w <= 0 || h <= 0 || !MainFrm->BackgroundBitmap) return 0;
    HDC source = MainFrm->BackgroundBitmap->Canvas()->Handle();
    const int columns = Screen->Width() / w, rows = Screen->Height() / h;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) ::BitBlt(Dc, x * w, y * h, w, h, source, 0, 0, SRCCOPY);
    return 1;
}

void OnTrayCallback(HWND Wnd, LPARAM LParam)
{
    if (LParam == WM_LBUTTONDBLCLK && MainFrm->RestoreEnabled()) {
        MainFrm->ResetHoverImages();
        ::SetForegroundWindow(Wnd);
        Application->ProcessMessages();
        if (Quitting) return;
        ::ShowWindow(Application->Handle(), SW_SHOWNORMAL);
        MainFrm->Show();
    } else if (LParam == WM_RBUTTONDOWN) {
        ::SetForegroundWindow(Wnd);
        POINT at;
        if (::GetCursorPos(&at)) MainFrm->PopupTrayMenu(at);
    }
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_QUERYENDSESSION:
        return OnQueryEndSession(LParam);
    case WM_ERASEBKGND:
        return OnEraseBackground(reinterpret_cast<HDC>(WParam));
    case WM_ENDSESSION:
        MainFrm->ExitUtility();
        ::PostQuitMessage(0);
        return 0;
    case WM_POWERBROADCAST:
        if ((WParam == PBT_APMRESUMESUSPEND || WParam == PBT_APMRESUMESTANDBY) && !Quitting &&
            MainFrm->PowerThread && MainFrm->PowerThread->Suspended() && AdapterOpened)
            MainFrm->PowerThread->Resume();
        return 0;
    case WM_TRAY_CALLBACK:
        OnTrayCallback(Wnd, LParam);
        return 0;
    case WM_VANTRA_EXIT:
        if (WParam == 0 && LParam == 1) MainFrm->ExitUtility();
        return 0;
    case WM_VANTRA_SHOW:
        if (WParam == 0 && LParam == 1) MainFrm->Show();
        return 0;
    case WM_VANTRA_EXIT_ALT:
        if (WParam == 0 || WParam == 1) MainFrm->ExitUtility();
        return 0;
    }
    LRESULT result = ::CallWindowProcA(OldWndProc, Wnd, Msg, WParam, LParam);
    if (Msg == WM_NCHITTEST && result == HTCLIENT) {
        // The borderless window drags by any bare point.
        MainFrm->ClearHover();
        result = HTCAPTION;
    }
    return result;
}
