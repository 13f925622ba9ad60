// Drives the real Vantra.exe, in a sandbox as the end-to-end tests do,
// through three phases of ten seconds: hidden at start, shown with the
// missing-access-point animation playing, hidden again in the tray (its
// painters parked). Wine tells no other process's CPU time, so
// bench/animation_cpu_bench.sh reads it from the system at the phase
// marks this program prints, and prints the figures.
#include "tests/e2e/sandbox.h"

#include <cstdio>

namespace {

// A phase of ten seconds between two marks on standard output.
void Phase(const char* Name)
{
    std::printf("phase %s begins\n", Name);
    std::fflush(stdout);
    Sleep(10000);
    std::printf("phase %s ends\n", Name);
    std::fflush(stdout);
}

} // namespace

int main()
{
    Sandbox box("animation-cpu");
    box.WriteFile("WLAN.INI", "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n");
    WritePrivateProfileStringA("Adapter", "Present", "0", box.Path("standins.ini").c_str());
    HANDLE process = box.Start("Vantra.exe");
    HWND window = box.WaitWindow(process, "TMainFrm", 15000);
    if (!window) {
        std::printf("Vantra.exe made no main window\n");
        return 1;
    }
    std::printf("process %s\n", box.Folder.c_str());
    Sleep(2000); // the start settles
    Phase("hidden-at-start");
    PostMessageA(window, 0xCA02, 0, 1);
    if (!WaitFor([&] { return IsWindowVisible(window) != FALSE; }, 5000)) return 1;
    Sleep(1000);
    Phase("shown-playing");
    PostMessageA(window, WM_CHAR, VK_ESCAPE, 0); // hides the window to the tray
    if (!WaitFor([&] { return IsWindowVisible(window) == FALSE; }, 5000)) return 1;
    Sleep(1000);
    Phase("hidden-again");
    PostMessageA(window, 0xCA01, 0, 1);
    box.WaitExit(process, 15000);
    return 0;
}
