#include "application.h"
#include "exceptions.h"
#include "seam.h"
#include "timer.h"

#include <commctrl.h>

#include <memory>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
DWORD MainThread = 0;
}

DWORD MainThreadID() { return MainThread; }

TApplication::TApplication() : TComponent(nullptr)
{
    if (Application) throw EInvalidOperation("An application object already exists");
    Application = this;
    Screen = &OwnScreen;
    MainThread = ::GetCurrentThreadId();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path, n);
    size_t dot = exe.find_last_of('.'), slash = exe.find_last_of('\\');
    TitleText = exe.substr(slash + 1, dot == std::string::npos || dot < slash ? std::string::npos : dot - slash - 1);

    WNDCLASSA wc{};
    wc.lpfnWndProc = UtilWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TToolkitUtility";
    ::RegisterClassA(&wc);
    UtilWnd = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

TApplication::~TApplication()
{
    Destroying = true;
    // Forms go first, while the helper windows still exist.
    while (ComponentCount()) delete Components(ComponentCount() - 1);
    if (AppWnd) ::DestroyWindow(AppWnd);
    // Queued calls that never ran are only freed.
    MSG queued;
    while (UtilWnd && ::PeekMessageA(&queued, UtilWnd, WM_QUEUED_CALL, WM_QUEUED_CALL, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(queued.lParam);
    if (UtilWnd) ::DestroyWindow(UtilWnd);
    Application = nullptr;
    Screen = nullptr;
}

HWND TApplication::Handle()
{
    if (!AppWnd) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = AppWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hIcon = ::LoadIconA(wc.hInstance, "MAINICON");
        wc.lpszClassName = "TApplication";
        ::RegisterClassA(&wc);
        AppWnd = ::CreateWindowExA(0, wc.lpszClassName, TitleText.c_str(),
                                   WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                   ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                   nullptr, nullptr, wc.hInstance, nullptr);
    }
    return AppWnd;
}

LRESULT CALLBACK TApplication::AppWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_CLOSE && Application->MainForm) {
        Application->MainForm->Close();
        return 0;
    }
    return ::DefWindowProcA(Wnd, Msg, WParam, LParam);
}

LRESULT CALLBACK TApplication::UtilWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_TIMER:
        if (auto* timer = TTimer::FromId(WParam)) {
            try {
                timer->Fire();
            } catch (...) {
                Application->HandleException(timer);
            }
        }
        return 0;
    case WM_SYNCHRONIZE:
        (*reinterpret_cast<std::function<void()>*>(LParam))();
        return 0;
    case WM_QUEUED_CALL: {
        const std::unique_ptr<std::function<void()>> call(reinterpret_cast<std::function<void()>*>(LParam));
        try {
            (*call)();
        } catch (...) {
            Application->HandleException(Application);
        }
        return 0;
    }
    }
    return ::DefWindowProcA(Wnd, Msg, WParam, LParam);
}

void TApplication::Queue(std::function<void()> Call)
{
    auto* call = new std::function<void()>(std::move(Call));
    if (!::PostMessageA(UtilWnd, WM_QUEUED_CALL, 0, reinterpret_cast<LPARAM>(call))) delete call;
}

void TApplication::SetTitle(const std::string& Value)
{
    TitleText = Value;
    if (AppWnd) ::SetWindowTextA(AppWnd, Value.c_str());
}

std::string TApplication::ExeName() const
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

bool TApplication::Dispatch(MSG& Msg)
{
    if (Msg.message == WM_QUIT) {
        Terminated = true;
        return false;
    }
    ::TranslateMessage(&Msg);
    ::DispatchMessageA(&Msg);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!Dispatch(msg)) break;
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
        Terminated = true;
        return;
    }
    Dispatch(msg);
}

void TApplication::Run()
{
    if (ShowMainForm && MainForm && !Terminated) MainForm->Show();
    while (!Terminated) HandleMessage();
}

void TApplication::Terminate()
{
    Terminated = true;
    ::PostQuitMessage(0);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags)
{
    HWND owner = MainForm && MainForm->HandleAllocated() && ::IsWindowVisible(MainForm->Handle()) ? MainForm->Handle()
                                                                                                    : nullptr;
    return Platform().MessageBox(owner, Text, Caption, Flags);
}

void TApplication::HandleException(TObject* Sender)
{
    try {
        throw;
    } catch (const std::exception& e) {
        if (OnException) OnException(Sender, e);
        else ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception& E)
{
    std::string text = E.what();
    if (!text.empty() && text.back() > '.') text += '.';
    MessageBox(text, TitleText, MB_OK | MB_ICONSTOP);
}

int TScreen::PixelsPerInch() const
{
    HDC dc = ::GetDC(nullptr);
    int ppi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    return ppi;
}

TScreen::~TScreen()
{
    if (OwnHand) ::DestroyCursor(OwnHand);
}

HCURSOR TScreen::Cursors(TCursor Index)
{
    switch (Index) {
    case crCross: return ::LoadCursor(nullptr, IDC_CROSS);
    case crIBeam: return ::LoadCursor(nullptr, IDC_IBEAM);
    case crHourGlass: return ::LoadCursor(nullptr, IDC_WAIT);
    case crNo: return ::LoadCursor(nullptr, IDC_NO);
    case crHandPoint:
        if (HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND)) return hand;
        if (!OwnHand)
            OwnHand = static_cast<HCURSOR>(::LoadImageA(::GetModuleHandleA(nullptr), "CRHANDPOINT", IMAGE_CURSOR, 0, 0,
                                                        LR_DEFAULTSIZE));
        if (OwnHand) return OwnHand;
        break;
    }
    return ::LoadCursor(nullptr, IDC_ARROW);
}
