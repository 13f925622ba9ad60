// The real Vantra.exe under Wine: single instance, "-q", the private exit
// messages, closing, logoff and shutdown (also while the Internet test
// waits on a server that never answers), and the ends that start-up can
// take. Every way out ends with exit code 0, the exit run once, and nothing
// of the program's left alive when its entry function returns.
#include "sandbox.h"
#include "tests/local_http.h"
#include "vantra/drivers/records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n"
                            "DefaultSSID=Harbour\r\nDefaultGoo=0\r\n";

// One running copy of the utility in a sandbox of its own.
struct Utility {
    explicit Utility(const std::string& Name) : Box(Name) { Box.WriteFile("WLAN.INI", WlanIni); }
    HANDLE StartAndWait()
    {
        Process = Box.Start("Vantra.exe");
        Window = Box.WaitWindow(Process, "TMainFrm", 15000);
        return Process;
    }
    Sandbox Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
};

TEST(Startup, SecondCopyWithoutArgumentsEndsSilentlyAndLeavesTheFirstRunning)
{
    Utility first("single");
    first.StartAndWait();
    ASSERT_NE(first.Window, nullptr);
    HANDLE second = first.Box.Start("Vantra.exe");
    EXPECT_EQ(first.Box.WaitExit(second, 15000), 0u);
    EXPECT_EQ(first.Box.WaitExit(first.Process, 500), STILL_ACTIVE);
    EXPECT_TRUE(first.Box.SeamCalls("MessageBox").empty());
    EXPECT_TRUE(first.Box.EndedClean()); // the second copy's report; the first runs on
}

TEST(Startup, SecondCopyWithQMakesTheFirstExitOnceAndCreatesNoWindow)
{
    Utility first("quit");
    first.StartAndWait();
    ASSERT_NE(first.Window, nullptr);
    HANDLE second = first.Box.Start("Vantra.exe", "-Q");
    const DWORD pid = ::GetProcessId(second);
    size_t windows = 0;
    while (::WaitForSingleObject(second, 5) == WAIT_TIMEOUT) windows += WindowsOf(pid).size();
    EXPECT_EQ(windows, 0u);
    EXPECT_EQ(first.Box.WaitExit(second, 0), 0u);
    EXPECT_EQ(first.Box.WaitExit(first.Process, 20000), 0u);
    EXPECT_EQ(first.Box.SeamCalls("PlaySound\tSound\\exit.wav").size(), 1u);
    // One report from each copy.
    EXPECT_EQ(first.Box.SeamCalls("Trace\tAlive at the end: 0 timers, 0 windows, 0 threads").size(), 2u);
}

TEST(Startup, PrivateExitMessagesNeedTheirExactArguments)
{
    Utility first("messages");
    first.StartAndWait();
    ASSERT_NE(first.Window, nullptr);
    ::PostMessageA(first.Window, 0xCA01, 1, 1);
    ::PostMessageA(first.Window, 0xCA01, 0, 2);
    ::PostMessageA(first.Window, 0xCA49, 2, 0);
    EXPECT_EQ(first.Box.WaitExit(first.Process, 1500), STILL_ACTIVE);
    // Two exit requests in a row: the exit runs once.
    ::PostMessageA(first.Window, 0xCA01, 0, 1);
    ::PostMessageA(first.Window, 0xCA49, 1, 0);
    EXPECT_EQ(first.Box.WaitExit(first.Process, 20000), 0u);
    EXPECT_EQ(first.Box.SeamCalls("PlaySound\tSound\\exit.wav").size(), 1u);
    EXPECT_TRUE(first.Box.EndedClean());
}

// Alt+F4 on the window, Close on the taskbar button (the application
// window's), logoff and Windows shutdown: each ends the utility in order.
struct ExitPath {
    const char* Name;
    void (*Send)(HWND MainWindow, HWND ApplicationWindow);
    bool StartsServiceCommand;
};

class Exits : public testing::TestWithParam<ExitPath> {};

TEST_P(Exits, RunTheOrderedExitOnce)
{
    const ExitPath path = GetParam();
    Utility first(std::string("exit-") + path.Name);
    first.StartAndWait();
    ASSERT_NE(first.Window, nullptr);
    HWND application = first.Box.WaitWindow(first.Process, "TApplication", 5000);
    ASSERT_NE(application, nullptr);
    // After the first status poll (its tray icon change): the pointer watcher runs.
    ASSERT_TRUE(first.Box.WaitSeamCall("ShellNotifyIcon\t1\t", 10000));
    path.Send(first.Window, application);
    EXPECT_EQ(first.Box.WaitExit(first.Process, 20000), 0u);
    EXPECT_EQ(first.Box.SeamCalls("PlaySound\tSound\\exit.wav").size(), 1u);
    EXPECT_EQ(first.Box.SeamCalls("WinExec\trondsvc -b").size(), path.StartsServiceCommand ? 1u : 0u);
    EXPECT_TRUE(first.Box.EndedClean());
}

INSTANTIATE_TEST_SUITE_P(
    Startup, Exits,
    testing::Values(
        ExitPath{"close", [](HWND Main, HWND) { ::PostMessageA(Main, WM_CLOSE, 0, 0); }, false},
        ExitPath{"taskbar", [](HWND, HWND App) { ::PostMessageA(App, WM_CLOSE, 0, 0); }, false},
        ExitPath{"logoff",
                 [](HWND Main, HWND) {
                     DWORD_PTR answer = 0;
                     ::SendMessageTimeoutA(Main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);
                     ::PostMessageA(Main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
                 },
                 true},
        ExitPath{"shutdown", [](HWND Main, HWND) { ::PostMessageA(Main, WM_ENDSESSION, TRUE, 0); }, false}),
    [](const testing::TestParamInfo<ExitPath>& Info) { return std::string(Info.param.Name); });

// The window open on the link page of a connected access point, whose
// status-picture pass tests the Internet at a server that accepts the
// connection and never answers; then an exit request.
struct HungExit {
    const char* Name;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

class ExitsDuringTheInternetTest : public testing::TestWithParam<HungExit> {};

TEST_P(ExitsDuringTheInternetTest, EndWithinSecondsWithTheExitSound)
{
    const HungExit request = GetParam();
    SilentServer server;
    ASSERT_FALSE(server.Address().empty());
    Utility first(std::string("hung-internet-") + request.Name);
    ::WritePrivateProfileStringA("World", "JoinMs", "0", first.Box.Path("standins.ini").c_str());
    ProfileSetting saved{}; // the driver's setting: the open access point "tarvane"
    std::memcpy(saved.Wlan.SSID, "tarvane", 7);
    saved.Wlan.SSID_length = 7;
    saved.Wlan.OperatingModeID = 1;
    ::CreateDirectoryA(first.Box.Path("state").c_str(), nullptr);
    first.Box.WriteFile("state\\driver.bin", std::string(reinterpret_cast<const char*>(&saved), sizeof saved));

    ::SetEnvironmentVariableA("SEAM_INTERNET", server.Address().c_str());
    first.StartAndWait();
    ::SetEnvironmentVariableA("SEAM_INTERNET", nullptr);
    ASSERT_NE(first.Window, nullptr);
    ASSERT_TRUE(first.Box.WaitSeamCall("ShellNotifyIcon\t1\t9999\t1\t  Connect to:tarvane", 20000));
    ::PostMessageA(first.Window, 0xCA02, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return server.Connections() > 0; }, 15000)); // the test waits on it now

    ::PostMessageA(first.Window, request.Message, request.WParam, request.LParam);
    EXPECT_EQ(first.Box.WaitExit(first.Process, 10000), 0u);
    EXPECT_EQ(first.Box.SeamCalls("PlaySound\tSound\\exit.wav").size(), 1u);
    EXPECT_TRUE(first.Box.EndedClean());
}

INSTANTIATE_TEST_SUITE_P(Startup, ExitsDuringTheInternetTest,
                         testing::Values(HungExit{"exit", 0xCA01, 0, 1},
                                         HungExit{"endsession", WM_ENDSESSION, TRUE, 0}),
                         [](const testing::TestParamInfo<HungExit>& Info) { return std::string(Info.param.Name); });

TEST(Startup, MissingNicLibraryIsReportedAndTheProgramEnds)
{
    Sandbox box("nonic", {"Nicorra.dll", "Nicorra9x.dll"});
    box.WriteFile("WLAN.INI", WlanIni);
    HANDLE process = box.Start("Vantra.exe");
    EXPECT_EQ(box.WaitExit(process, 15000), 0u);
    auto boxes = box.SeamCalls("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "MessageBox\tLoad dll error\tCan't Load Nicorra.dll.\t16");
    EXPECT_TRUE(box.EndedClean());
}

TEST(Startup, MissingWlanIniNamesItsFullPathAndTheProgramEnds)
{
    Sandbox box("noini", {"WLAN.INI"});
    HANDLE process = box.Start("Vantra.exe");
    EXPECT_EQ(box.WaitExit(process, 15000), 0u);
    auto boxes = box.SeamCalls("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "MessageBox\tLoading WLAN.INI Error!\t" + box.Path("WLAN.INI") + " can't found.\t16");
    // The workers had started: the exit ran, once.
    EXPECT_EQ(box.SeamCalls("PlaySound\tSound\\exit.wav").size(), 1u);
    EXPECT_TRUE(box.EndedClean());
}

} // namespace
