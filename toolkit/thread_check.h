// Only the thread that owns a window may change it, the controls it paints
// or the timers that fire into it. Built with TOOLKIT_THREAD_CHECKS (on in
// every tree this project builds), each such change checks that it runs on
// that thread; one from another thread is a defect and goes to the failure
// handler, which by default reports it on the error output and through the
// platform seam's trace and stops the program there.
#pragma once
#include <windows.h>

#include <string>

class TComponent;

// What failed: the component's class and name, and both threads.
using TThreadCheckFailure = void (*)(const std::string& What);
// Installs a handler (nullptr restores the default); returns the previous one.
TThreadCheckFailure SetThreadCheckFailure(TThreadCheckFailure Handler);

#ifdef TOOLKIT_THREAD_CHECKS
// Window: the window the change lands on; none yet means nothing to check.
void CheckWindowThread(HWND Window, const TComponent* Changed);
#else
inline void CheckWindowThread(HWND, const TComponent*) {}
#endif
