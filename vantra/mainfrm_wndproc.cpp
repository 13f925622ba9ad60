#include "mainfrm.h"
#include "skin_window.h"
#include "toolkit/application.h"
#include "toolkit/graphics.h"
#include "toolkit/seam.h"

namespace {

LRESULT OnQueryEndSession(TMainFrm& Form, LPARAM LParam)
{
    if (static_cast<DWORD>(LParam) == ENDSESSION_LOGOFF) {
        Form.Program.EndingSession = true;
        for (TTimer* timer : {Form.UpdateTimer, Form.CheckTimer, Form.ConnectCheckTimer, Form.DeviceCheckTimer})
            timer->SetEnabled(false);
        Platform().WinExec("rondsvc -b", SW_HIDE);
    }
    return TRUE;
}

void OnTrayCallback(TMainFrm& Form, HWND Wnd, LPARAM LParam)
{
    if (LParam == WM_LBUTTONDBLCLK && Form.RestoreEnabled()) {
        Form.ResetHoverImages();
        ::SetForegroundWindow(Wnd);
        Application->ProcessMessages();
        if (Form.Program.Quitting) return;
        ::ShowWindow(Application->Handle(), SW_SHOWNORMAL);
        Form.Show();
    } else if (LParam == WM_RBUTTONDOWN) {
        ::SetForegroundWindow(Wnd);
        POINT at;
        if (::GetCursorPos(&at)) Form.PopupTrayMenu(at);
    }
}

void OnPowerBroadcast(TMainFrm& Form, WPARAM Event)
{
    if ((Event == PBT_APMRESUMESUSPEND || Event == PBT_APMRESUMESTANDBY) && !Form.Program.Quitting &&
        Form.PowerThread && Form.PowerThread->Suspended() && Form.Link.AdapterOpened)
        Form.PowerThread->Resume();
}

} // namespace

// Installed on the main window only, so the window's control is the form.
LRESULT CALLBACK MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMainFrm& form = *static_cast<TMainFrm*>(TWinControl::FromHandle(Wnd));
    switch (Msg) {
    case WM_QUERYENDSESSION:
        return OnQueryEndSession(form, LParam);
    case WM_ERASEBKGND:
        return TileSkin(reinterpret_cast<HDC>(WParam), form.BackgroundBitmap);
    case WM_ENDSESSION:
        // Returns once the exit is complete: Windows may end the process then.
        form.ExitUtility(TMainFrm::EndSessionLimitMs);
        ::PostQuitMessage(0);
        return 0;
    case WM_POWERBROADCAST:
        OnPowerBroadcast(form, WParam);
        return 0;
    case WM_TRAY_CALLBACK:
        OnTrayCallback(form, Wnd, LParam);
        return 0;
    case WM_VANTRA_EXIT:
        if (WParam == 0 && LParam == 1) form.ExitUtility();
        return 0;
    case WM_VANTRA_SHOW:
        if (WParam == 0 && LParam == 1 && !form.Program.Quitting) form.Show(); // never again once the exit began
        return 0;
    case WM_VANTRA_EXIT_ALT:
        if (WParam == 0 || WParam == 1) form.ExitUtility();
        return 0;
    }
    LRESULT result = ::CallWindowProcA(form.OldWndProc, Wnd, Msg, WParam, LParam);
    if (Msg == WM_NCHITTEST && result == HTCLIENT) {
        // The borderless window drags by any bare point.
        form.ClearHover();
        result = HTCAPTION;
    }
    return result;
}
