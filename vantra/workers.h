// The four worker threads of the main window. Each runs one job in a loop
// until it is terminated; the window resumes them when it has work, and they
// suspend themselves or are suspended when it has none. A worker knows the
// window only through the calls it is given, and hands every change of a
// control to the main thread.
#pragma once
#include "drivers/records.h"
#include "toolkit/thread.h"

#include <windows.h>

#include <functional>

// Watches the pointer; while it is outside the window, runs PointerLeft on
// the main thread.
class TMessageThread : public TThread {
public:
    CLASS_NAME(TMessageThread)
    TMessageThread(HWND Window, std::function<void()> PointerLeft);

protected:
    void Execute() override;

private:
    const HWND Window;
    const std::function<void()> PointerLeft;
};

// Applies the pending TCP/IP record: TakePending copies it on the main
// thread, Apply runs here and suspends the thread when it is done.
class TSetTCPIPThread : public TThread {
public:
    CLASS_NAME(TSetTCPIPThread)
    TSetTCPIPThread(std::function<NicIpInfo()> TakePending, std::function<void(NicIpInfo&)> Apply);

protected:
    void Execute() override;

private:
    const std::function<NicIpInfo()> TakePending;
    const std::function<void(NicIpInfo&)> Apply;
};

// Runs the status-picture pass, then waits Period milliseconds (5 seconds
// in use), while resumed. The pass suspends the thread when it is done, so a
// resume after the first gives one pass a period later.
class TShowGifThread : public TThread {
public:
    CLASS_NAME(TShowGifThread)
    explicit TShowGifThread(std::function<void()> Pass, DWORD Period = 5000);

protected:
    void Execute() override;

private:
    const std::function<void()> Pass;
    const DWORD Period;
};

// After a power resume, runs Check, which re-arms the device check and
// suspends the thread.
class TGetSysPowStatus : public TThread {
public:
    CLASS_NAME(TGetSysPowStatus)
    explicit TGetSysPowStatus(std::function<void()> Check);

protected:
    void Execute() override;

private:
    const std::function<void()> Check;
};
