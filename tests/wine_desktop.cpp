// Holds Wine's desktop open for a whole test run. The desktop's process is
// started by the first program of a session that needs it, inherits that
// program's output and closes a second after its last program has gone; so
// ctest waited on whichever test started it until the window tests paused,
// minutes later, and could time that test out. Started first, with no output,
// this keeps one desktop for the run; the run's end stops it.
#include <windows.h>

#include <cstdio>

int main()
{
    if (!::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) return 1;
    std::puts("ready");
    std::fflush(stdout);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    return 0;
}
