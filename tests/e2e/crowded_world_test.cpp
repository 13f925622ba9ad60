// The real Vantra.exe in a simulated world of ten thousand cells: its window
// keeps answering messages while the utility calls the stand-in libraries,
// and a second copy's "-q" still ends it.
#include "sandbox.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";

// The default world with a call log and cells of its own after its six, to
// `Cells` in all.
void WriteCrowdedWorld(const Sandbox& Box, int Cells)
{
    const std::string file = Box.Path("standins.ini");
    ::WritePrivateProfileStringA("World", "Log", "calls.log", file.c_str());
    std::string world = Box.ReadFile("standins.ini");
    char cell[128];
    for (int i = 7; i <= Cells; ++i) {
        std::snprintf(cell, sizeof cell, "[Cell%d]\r\nSSID=crowd-%d\r\nBSSID=02-C0-%02X-%02X-00-01\r\nSignal=%d\r\n", i,
                      i, i >> 8 & 0xFF, i & 0xFF, i % 101);
        world += cell;
    }
    Box.WriteFile("standins.ini", world);
}

TEST(CrowdedWorld, WindowKeepsAnsweringThroughEveryCallAndExitsOnRequest)
{
    Sandbox box("CrowdedWorld");
    box.WriteFile("WLAN.INI", WlanIni);
    WriteCrowdedWorld(box, 10000);

    HANDLE process = box.Start("Vantra.exe");
    HWND window = box.WaitWindow(process, "TMainFrm", 15000);
    ASSERT_NE(window, nullptr);
    // Through the device check, the adapter's opening and the first status
    // polls, each of which reads the link from the crowded world. A stand-in
    // that parsed its world on every call kept the window for about a minute;
    // the limit leaves room for a loaded machine.
    const DWORD start = ::GetTickCount();
    while (box.Calls("WLAN_Get_Info") < 4 && ::GetTickCount() - start < 30000) {
        DWORD_PTR result = 0;
        ASSERT_NE(::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result), 0)
            << "no answer within 5 s, " << box.Calls("WLAN_Get_Info") << " link reads after the start";
    }
    EXPECT_GE(box.Calls("WLAN_Open_Adapter"), 1u);
    EXPECT_GE(box.Calls("WLAN_Get_Info"), 4u);

    HANDLE quit = box.Start("Vantra.exe", "-q");
    EXPECT_EQ(box.WaitExit(quit, 15000), 0u);
    EXPECT_EQ(box.WaitExit(process, 15000), 0u);
}

} // namespace
