// The tray icon of the real Vantra.exe in Wine's notification area: added
// once a user is logged on, following the link's state, and a double click
// on it shows the main window.
#include "sandbox.h"

#include <gtest/gtest.h>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";

// Waits until the seam log holds a line that begins with Prefix.
bool WaitSeamCall(const Sandbox& Box, const std::string& Prefix, DWORD Milliseconds)
{
    for (const DWORD start = ::GetTickCount(); Box.SeamCalls(Prefix).empty(); ::Sleep(50))
        if (::GetTickCount() - start > Milliseconds) return false;
    return true;
}

TEST(Tray, IconFollowsTheLinkAndADoubleClickShowsTheWindow)
{
    Sandbox box("tray");
    box.WriteFile("WLAN.INI", WlanIni);
    HANDLE process = box.Start("Vantra.exe");
    HWND window = box.WaitWindow(process, "TMainFrm", 15000);
    ASSERT_NE(window, nullptr);

    // Added by Wine's tray (the call succeeded), with its start tip.
    ASSERT_TRUE(WaitSeamCall(box, "ShellNotifyIcon\t0\t", 5000));
    EXPECT_EQ(box.SeamCalls("ShellNotifyIcon\t0\t").front(), "ShellNotifyIcon\t0\t9999\t1\t\\n    Start here\\n");
    // Nothing is configured: the poll shows scanning.
    EXPECT_TRUE(WaitSeamCall(box, "ShellNotifyIcon\t1\t9999\t1\t\\n    Scanning.....\\n", 5000));
    EXPECT_FALSE(::IsWindowVisible(window));

    ::PostMessageA(window, 1124, 9999, WM_LBUTTONDBLCLK);
    for (const DWORD start = ::GetTickCount(); !::IsWindowVisible(window) && ::GetTickCount() - start < 5000;)
        ::Sleep(50);
    EXPECT_TRUE(::IsWindowVisible(window));

    // The poll goes on with the window shown, and the icon stays.
    const size_t modifies = box.SeamCalls("ShellNotifyIcon\t1\t").size();
    EXPECT_TRUE(WaitSeamCall(box, "ShellNotifyIcon\t1\t", 5000));
    for (const DWORD start = ::GetTickCount();
         box.SeamCalls("ShellNotifyIcon\t1\t").size() == modifies && ::GetTickCount() - start < 5000;)
        ::Sleep(50);
    EXPECT_GT(box.SeamCalls("ShellNotifyIcon\t1\t").size(), modifies);
    EXPECT_TRUE(box.SeamCalls("ShellNotifyIcon\t2\t").empty());
    EXPECT_TRUE(::IsWindowVisible(window));
}

} // namespace
