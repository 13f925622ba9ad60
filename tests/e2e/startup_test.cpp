// The real Vantra.exe under Wine: single instance, "-q", the private exit
// messages, and the ends that start-up can take.
#include "sandbox.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(first.Box.WaitExit(first.Process, 20000), 0u);
    EXPECT_EQ(first.Box.SeamCalls("PlaySound\tSound\\exit.wav").size(), 1u);
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
}

TEST(Startup, MissingNicLibraryIsReportedAndTheProgramEnds)
{
    Sandbox box("nonic", {"Nicorra.dll", "Nicorra9x.dll"});
    box.WriteFile("WLAN.INI", WlanIni);
    HANDLE process = box.Start("Vantra.exe");
    EXPECT_EQ(box.WaitExit(process, 15000), 0u);
    auto boxes = box.SeamCalls("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "MessageBox\tLoad dll error\tCan't Load Nicorra.dll.\t16");
}

TEST(Startup, MissingWlanIniNamesItsFullPathAndTheProgramEnds)
{
    Sandbox box("noini", {"WLAN.INI"});
    HANDLE process = box.Start("Vantra.exe");
    EXPECT_EQ(box.WaitExit(process, 15000), 0u);
    auto boxes = box.SeamCalls("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "MessageBox\tLoading WLAN.INI Error!\t" + box.Path("WLAN.INI") + " can't found.\t16");
}

} // namespace
