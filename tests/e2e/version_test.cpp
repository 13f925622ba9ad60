// The Windows version code that the real Vantra.exe sees under Wine set to
// Windows 98, 2000 and XP: the NIC library it loads and whether it asks
// about the wireless configuration service (which only XP has).
#include "sandbox.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

namespace {

bool Loaded(DWORD ProcessId, const char* Module)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, ProcessId);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = ::Module32First(snapshot, &entry); more && !found; more = ::Module32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szModule, Module) == 0;
    ::CloseHandle(snapshot);
    return found;
}

struct Expectation {
    const char* Version;
    const char* NicLibrary;
    bool AsksForService;
};

class WindowsVersion : public testing::TestWithParam<Expectation> {};

TEST_P(WindowsVersion, ChoosesTheNicLibraryAndTheServiceQuery)
{
    const Expectation e = GetParam();
    Sandbox box(std::string("version-") + e.Version);
    box.WriteFile("WLAN.INI", "[DefaultSetting]\r\nFirst=0\r\n");
    SetWineVersion("Vantra.exe", e.Version);
    HANDLE process = box.Start("Vantra.exe");
    HWND window = box.WaitWindow(process, "TMainFrm", 15000);
    SetWineVersion("Vantra.exe", "");
    ASSERT_NE(window, nullptr);
    // The start sound follows the service question in start-up.
    ASSERT_TRUE(box.WaitSeamCall("MciSendString\tplay Sound\\start.wav", 10000));
    const DWORD pid = ::GetProcessId(process);
    EXPECT_TRUE(Loaded(pid, e.NicLibrary));
    EXPECT_FALSE(Loaded(pid, std::string(e.NicLibrary) == "Nicorra.dll" ? "Nicorra9x.dll" : "Nicorra.dll"));
    EXPECT_EQ(!box.SeamCalls("ServiceRunning\tWZCSVC").empty(), e.AsksForService);
}

INSTANTIATE_TEST_SUITE_P(Wine, WindowsVersion,
                         testing::Values(Expectation{"win98", "Nicorra9x.dll", false},
                                         Expectation{"win2k", "Nicorra.dll", false},
                                         Expectation{"winxp", "Nicorra.dll", true}));

} // namespace
