// Failed GDI and kernel calls as exceptions: a call that returns no handle
// raises the toolkit's out-of-resources error with the system's own text
// for the thread's last error.
#pragma once
#include <windows.h>

[[noreturn]] void RaiseSystemError();

// Handle itself, or raises for none, so a creation can be written in one line.
template <typename THandle>
THandle RaiseSystemError(THandle Handle)
{
    if (!Handle) RaiseSystemError();
    return Handle;
}
