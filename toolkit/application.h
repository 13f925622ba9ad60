// The application object: the message loop, the hidden application window
// that owns every form, message boxes and exception display; and the screen.
//
// The program's entry function owns it: it makes one TApplication on its own
// stack, which points Application and Screen at itself and its screen, and
// frees it, with every form, before it returns. Nothing that outlives the
// entry function may depend on it.
#pragma once
#include "form.h"

#include <exception>
#include <functional>
#include <string>

class TScreen {
public:
    ~TScreen();
    int PixelsPerInch() const;
    // The cursor of a TCursor index; crHandPoint is the system's hand, or the
    // program's cursor resource "CRHANDPOINT" where the system has none.
    HCURSOR Cursors(TCursor Index);
    int Width() const { return ::GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return ::GetSystemMetrics(SM_CYSCREEN); }

private:
    HCURSOR OwnHand = nullptr;
};

class TApplication : public TComponent {
public:
    CLASS_NAME(TApplication)
    TApplication();
    ~TApplication() override;

    // Creates a form, points Reference at it, runs its OnCreate; the first
    // form created becomes the main form.
    template <class T> void CreateForm(T*& Reference)
    {
        Reference = new T(this);
        Reference->AfterConstruction();
        if (!MainForm) MainForm = Reference;
    }

    HWND Handle(); // the hidden application window, made on first use
    std::string Title() const { return TitleText; }
    void SetTitle(const std::string& Value);
    std::string ExeName() const;

    void Run();
    void Terminate();
    void ProcessMessages();
    void HandleMessage(); // waits for one message and dispatches it

    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags);
    void HandleException(TObject* Sender); // call from a catch block
    void ShowException(const std::exception& E);

    // The window of this thread's helpers: timers fire into it and worker
    // threads' synchronised calls run through it.
    HWND UtilityWindow() const { return UtilWnd; }
    // Runs Call from the main thread's message loop, after the messages
    // already waiting there; from any thread.
    void Queue(std::function<void()> Call);

    bool ShowMainForm = true;
    bool Terminated = false;
    TCustomForm* MainForm = nullptr;
    std::function<void(TObject* Sender, const std::exception& E)> OnException;

private:
    static LRESULT CALLBACK AppWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    static LRESULT CALLBACK UtilWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    bool Dispatch(MSG& Msg);
    HWND AppWnd = nullptr;
    HWND UtilWnd = nullptr;
    std::string TitleText;
    TScreen OwnScreen;
};


// Both set while a TApplication exists, null otherwise.
extern TApplication* Application;
extern TScreen* Screen;

// The main thread runs the message loop; synchronised calls run there.
DWORD MainThreadID();

// Private message of the utility window: runs the std::function<void()>*
// in lParam on the main thread.
constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x3F00;
// Private message of the utility window: runs, then frees, the queued
// std::function<void()>* in lParam.
constexpr UINT WM_QUEUED_CALL = WM_APP + 0x3F01;
