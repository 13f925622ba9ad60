// The real setup.exe under Wine on a copy of the simulated installation
// disc, driven from outside: its pages, the settings it writes into the
// system folder's wlan.ini, the hand-shake with the installer stand-in, the
// restart prompt, the reader prompt, and screenshots of every page and of
// the three small windows.
#include "sandbox.h"
#include "screen.h"
#include "toolkit/inifile.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <fstream>
#include <functional>
#include <memory>

namespace {

bool WaitFor(const std::function<bool()>& Done, DWORD Milliseconds)
{
    for (const DWORD start = ::GetTickCount(); !Done(); ::Sleep(20))
        if (::GetTickCount() - start > Milliseconds) return false;
    return true;
}

std::string SystemIni()
{
    char folder[MAX_PATH];
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\wlan.ini";
}

// A value under HKEY_LOCAL_MACHINE\Key; "<none>" when it is missing.
std::string MachineValue(const char* Key, const char* Name)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<none>";
    char value[256] = {};
    DWORD size = sizeof value - 1;
    const LONG result = ::RegQueryValueExA(key, Name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(value, strnlen(value, size)) : "<none>";
}

void SetMachineValue(const char* Key, const char* Name, const std::string& Value)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (Value == "<none>") ::RegDeleteValueA(key, Name);
    else ::RegSetValueExA(key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()), Value.size() + 1);
    ::RegCloseKey(key);
}

std::string Software(const char* Name) { return MachineValue("SOFTWARE", Name); }

// Windows 98 and ME keep their version number here; Wine keeps none.
const char* const CurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// The Windows version that Wine reports to the wizard and its installer,
// and the version number in the registry, for the length of a test.
class PretendWindows {
public:
    PretendWindows(const char* WineVersion, const char* VersionNumber)
        : Saved(MachineValue(CurrentVersion, "VersionNumber"))
    {
        SetWineVersion("setup.exe", WineVersion);
        SetMachineValue(CurrentVersion, "VersionNumber", VersionNumber);
    }
    ~PretendWindows()
    {
        SetWineVersion("setup.exe", "");
        SetMachineValue(CurrentVersion, "VersionNumber", Saved);
    }

private:
    const std::string Saved;
};

// No program opens .pdf files, as on a computer without a reader.
void ForgetPdfViewer()
{
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, ".pdf");
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, "VantraStandin.PdfFile");
}

bool PdfViewerKnown()
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".pdf", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

BOOL CALLBACK NotePendingPaint(HWND Child, LPARAM Pending)
{
    *reinterpret_cast<bool*>(Pending) |= ::IsWindowVisible(Child) && ::GetUpdateRect(Child, nullptr, FALSE);
    return TRUE;
}

enum class Page { None, Welcome, License, WirelessMode, AdHoc, Finalize, Congratulations };

const char* const InstallerTitle = "InstallShield Wizard";

class SetupWizard : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* value : {"Open", "Exitkey"}) SetMachineValue("SOFTWARE", value, "<none>");
        ::DeleteFileA(SystemIni().c_str());
        ForgetPdfViewer();
    }
    void TearDown() override
    {
        for (const char* value : {"Open", "Exitkey"}) SetMachineValue("SOFTWARE", value, "<none>");
        ::SetEnvironmentVariableA("VANTRA_INSTALLER_DELAY", nullptr);
        ForgetPdfViewer();
        for (const char* title : {"Reader Setup", "manual.pdf - Reader"})
            if (HWND wnd = ::FindWindowA(nullptr, title)) ::PostMessageA(wnd, WM_CLOSE, 0, 0);
    }

    // A fresh copy of the disc, without the files named in Omit.
    Sandbox& Disc(const std::vector<std::string>& Omit = {})
    {
        Box = std::make_unique<Sandbox>(std::string("setup-") +
                                            testing::UnitTest::GetInstance()->current_test_info()->name(),
                                        Omit);
        return *Box;
    }
    void Start()
    {
        if (!Box) Disc();
        Process = Box->Start("setup.exe");
        ASSERT_NE(Process, nullptr);
        Window = Box->WaitWindow(Process, "TForm1", 20000);
        ASSERT_NE(Window, nullptr);
        ASSERT_TRUE(WaitFor([this] { return ShownPage() == Page::Welcome; }, 10000));
    }
    DWORD WaitExit(DWORD Milliseconds = 15000) { return Box->WaitExit(Process, Milliseconds); }

    // The visible child window of the wizard of that class (and, for a
    // panel, at that top), in client coordinates.
    HWND Child(const char* ClassName, RECT* Place = nullptr, int Top = -1) const
    {
        for (HWND c = ::GetWindow(Window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char name[64] = {};
            ::GetClassNameA(c, name, sizeof name);
            if (lstrcmpiA(name, ClassName) != 0 || !::IsWindowVisible(c)) continue;
            RECT r;
            ::GetWindowRect(c, &r);
            ::MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
            if (Top >= 0 && r.top != Top) continue;
            if (Place) *Place = r;
            return c;
        }
        return nullptr;
    }
    // The page, told by the controls that only it shows; None while hidden.
    Page ShownPage() const
    {
        if (!::IsWindowVisible(Window)) return Page::None;
        if (Child("RichEdit20A")) return Page::License;
        if (Child("Edit")) return Page::WirelessMode;
        if (Child("ComboBox")) return Page::AdHoc;
        RECT panel;
        if (!Child("TPanel", &panel)) return Page::None;
        return panel.top == 344 ? Page::Congratulations : panel.top == 314 ? Page::Finalize : Page::Welcome;
    }
    bool WaitPage(Page Wanted, DWORD Milliseconds = 10000) const
    {
        return WaitFor([&] { return ShownPage() == Wanted; }, Milliseconds);
    }
    // A press and release of the left button, posted: a handler may open a modal window.
    static void Click(HWND Wnd, int X, int Y)
    {
        ::PostMessageA(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
        ::PostMessageA(Wnd, WM_LBUTTONUP, 0, MAKELPARAM(X, Y));
    }
    // Row of Rows image buttons stacked on the visible panel of buttons.
    void ClickButton(int Row, int Rows) const
    {
        RECT panel{};
        HWND wnd = Child("TPanel", &panel);
        ASSERT_NE(wnd, nullptr);
        const int rowHeight = (panel.bottom - panel.top) / Rows;
        Click(wnd, (panel.right - panel.left) / 2, Row * rowHeight + rowHeight / 2);
    }
    void Next() const { ClickButton(0, 2); }
    // From the Welcome page through the licence to the Wireless Mode page.
    bool ToWirelessMode() const
    {
        ClickButton(0, 3); // Setup
        if (!WaitPage(Page::License)) return false;
        Next();
        return WaitPage(Page::WirelessMode);
    }
    // On to the review of an infrastructure network named "tarvane".
    bool ToFinalize() const
    {
        if (!ToWirelessMode()) return false;
        Next();
        return WaitPage(Page::Finalize);
    }
    void TypeSsid(const std::string& Text) const
    {
        HWND edit = Child("Edit");
        ASSERT_NE(edit, nullptr);
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        for (char c : Text) ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    std::string SsidText() const
    {
        char text[64] = {};
        ::SendMessageA(Child("Edit"), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The top-level window of any process with that title, once it is visible.
    static HWND WaitTitled(const char* Title, DWORD Milliseconds = 15000)
    {
        HWND found = nullptr;
        WaitFor([&] { return (found = ::FindWindowA(nullptr, Title)) && ::IsWindowVisible(found); }, Milliseconds);
        return found;
    }
    // A visible window of the wizard's process with that class.
    HWND WaitShown(const char* ClassName, DWORD Milliseconds = 10000) const
    {
        HWND found = nullptr;
        WaitFor(
            [&] {
                for (HWND wnd : WindowsOf(::GetProcessId(Process))) {
                    char name[64] = {};
                    ::GetClassNameA(wnd, name, sizeof name);
                    if (lstrcmpA(name, ClassName) == 0 && ::IsWindowVisible(wnd)) return (found = wnd) != nullptr;
                }
                return false;
            },
            Milliseconds);
        return found;
    }
    static void PressButton(HWND Parent, const char* Caption)
    {
        HWND button = ::FindWindowExA(Parent, nullptr, "Button", Caption);
        ASSERT_NE(button, nullptr) << Caption;
        ::PostMessageA(button, BM_CLICK, 0, 0);
    }
    // The installer ends; with ExitKey it leaves that text as "Exitkey".
    static void EndInstaller(HWND Installer, const char* ExitKey)
    {
        COPYDATASTRUCT data{ExitKey ? 1u : 0u, ExitKey ? static_cast<DWORD>(strlen(ExitKey)) : 0u,
                            const_cast<char*>(ExitKey ? ExitKey : "")};
        ::SendMessageA(Installer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    // Finalize, Next: the installer runs and the waiting window stands in for the wizard.
    HWND Install()
    {
        Next();
        HWND installer = WaitTitled(InstallerTitle);
        EXPECT_NE(installer, nullptr);
        EXPECT_TRUE(WaitFor([this] { return !::IsWindowVisible(Window); }, 5000));
        EXPECT_NE(WaitShown("TForm3"), nullptr);
        EXPECT_EQ(Software("Open"), "Open Setup");
        return installer;
    }
    std::string Setting(const char* Key) const
    {
        TIniFile ini(SystemIni());
        return ini.ReadString("DefaultSetting", Key, "<none>");
    }
    // Once every window of the wizard has painted what it has to, and the
    // screen has settled.
    void Shot(HWND Wnd, const std::string& Name) const
    {
        ASSERT_NE(Wnd, nullptr) << Name;
        EXPECT_TRUE(WaitFor([this] { return !PaintPending(); }, 5000)) << Name;
        EXPECT_TRUE(SaveSettledScreenshot(ScreenshotFolder() + "setup-" + Name + ".bmp"));
    }
    bool PaintPending() const
    {
        for (HWND wnd : WindowsOf(::GetProcessId(Process))) {
            if (!::IsWindowVisible(wnd)) continue;
            bool pending = ::GetUpdateRect(wnd, nullptr, FALSE);
            ::EnumChildWindows(wnd, NotePendingPaint, reinterpret_cast<LPARAM>(&pending));
            if (pending) return true;
        }
        return false;
    }

    std::unique_ptr<Sandbox> Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
};

TEST_F(SetupWizard, InfrastructureInstallWritesItsSettingsAndEndsOnCongratulationsWithoutRestartOn2000)
{
    PretendWindows windows2000("win2k", "<none>");
    Start();
    Shot(Window, "welcome");
    ClickButton(0, 3); // Setup
    ASSERT_TRUE(WaitPage(Page::License));
    Shot(Window, "license");
    Next();
    ASSERT_TRUE(WaitPage(Page::WirelessMode));
    const std::string ssid = "Harbour-Office-Network-5th-Floor"; // 32 characters
    TypeSsid(ssid + "X");
    EXPECT_EQ(SsidText(), ssid); // the edit takes no more
    Shot(Window, "wireless-mode");
    Next();
    ASSERT_TRUE(WaitPage(Page::Finalize));
    Shot(Window, "finalize");

    HWND installer = Install();
    Shot(WaitShown("TForm3"), "waiting");
    // Nothing is decided while the installer runs.
    EXPECT_EQ(Box->WaitExit(Process, 1500), STILL_ACTIVE);
    EXPECT_FALSE(::IsWindowVisible(Window));
    PressButton(installer, "Finish");
    ASSERT_TRUE(WaitPage(Page::Congratulations));
    HWND waiting = Box->WaitWindow(Process, "TForm3", 1000);
    ASSERT_NE(waiting, nullptr);
    EXPECT_FALSE(::IsWindowVisible(waiting));
    Shot(Window, "congratulations");
    EXPECT_EQ(Software("Open"), "<none>");
    EXPECT_EQ(Software("Exitkey"), "<none>");

    EXPECT_EQ(Setting("DefaultMode"), "1");
    EXPECT_EQ(Setting("DefaultChannel"), "6");
    EXPECT_EQ(Setting("First"), "1");
    EXPECT_EQ(Setting("DefaultSSID"), ssid);
    EXPECT_EQ(Setting("DefaultGoo"), "0");
    TIniFile ini(SystemIni());
    EXPECT_EQ(ini.ReadString("DeviceID", "ID1", ""), "PCI\\VEN_1F3A&DEV_0611"); // the rest of the template

    ClickButton(0, 1); // Exit
    EXPECT_EQ(WaitExit(), 0u);
    EXPECT_TRUE(Box->SeamCalls("ExitWindowsEx").empty());
    EXPECT_EQ(Box->SeamCalls("PlaySound\t.\\image\\exit.wav").size(), 1u);
}

TEST_F(SetupWizard, AdHocInGOnlyModeThenTheRestartPromptOnWindows98)
{
    PretendWindows windows98("win98", "4.10.2222");
    Start();
    ASSERT_TRUE(ToWirelessMode());
    PressButton(Window, "Ad-Hoc Mode");
    const std::string ssid(32, 'W'); // the widest: the review shows it in two lines
    TypeSsid(ssid);
    Next();
    ASSERT_TRUE(WaitPage(Page::AdHoc));
    RECT place;
    HWND channel = Child("ComboBox", &place);
    ASSERT_NE(channel, nullptr);
    HWND mode = ::GetWindow(channel, GW_HWNDNEXT);
    EXPECT_EQ(::SendMessageA(channel, CB_GETCURSEL, 0, 0), 5); // channel 6
    ::SendMessageA(mode, CB_SETCURSEL, 1, 0);                  // G-Only Mode
    Shot(Window, "adhoc");
    Next();
    ASSERT_TRUE(WaitPage(Page::Finalize));
    Shot(Window, "finalize-adhoc");

    HWND installer = Install();
    EndInstaller(installer, "EXIT"); // the letter case does not matter
    ASSERT_TRUE(WaitPage(Page::Congratulations));
    EXPECT_EQ(Setting("DefaultMode"), "0");
    EXPECT_EQ(Setting("DefaultChannel"), "6");
    EXPECT_EQ(Setting("DefaultSSID"), ssid);
    EXPECT_EQ(Setting("DefaultGoo"), "1");

    ClickButton(0, 1); // Exit
    HWND prompt = WaitShown("TForm2");
    ASSERT_NE(prompt, nullptr);
    EXPECT_FALSE(::IsWindowVisible(Window));
    Shot(prompt, "restart");
    PressButton(prompt, "Finish"); // restart now: Windows is asked, the prompt stays
    ASSERT_TRUE(WaitFor([this] { return !Box->SeamCalls("ExitWindowsEx").empty(); }, 5000));
    EXPECT_EQ(Box->SeamCalls("ExitWindowsEx"), std::vector<std::string>{"ExitWindowsEx\t2"});
    EXPECT_TRUE(::IsWindowVisible(prompt));
    PressButton(prompt, "No,I will restart my computer later.");
    PressButton(prompt, "Finish");
    EXPECT_EQ(WaitExit(), 0u);
    EXPECT_EQ(Box->SeamCalls("ExitWindowsEx").size(), 1u);
}

TEST_F(SetupWizard, BlankSsidAndNoChannelAreWrittenAsChosenAndACancelledInstallerEndsTheWizard)
{
    Start();
    ASSERT_TRUE(ToWirelessMode());
    TypeSsid("");
    Next();
    ASSERT_TRUE(WaitFor([this] { return !Box->SeamCalls("MessageBox").empty(); }, 5000));
    EXPECT_EQ(Box->SeamCalls("MessageBox")[0],
              "MessageBox\tWireless Network\tPlease key in a SSID to config the wireless network setting\t48");
    EXPECT_EQ(ShownPage(), Page::WirelessMode);

    TypeSsid("   "); // blanks are a name
    PressButton(Window, "Ad-Hoc Mode");
    Next();
    ASSERT_TRUE(WaitPage(Page::AdHoc));
    ::SendMessageA(Child("ComboBox"), CB_SETCURSEL, static_cast<WPARAM>(-1), 0); // no channel
    Next();
    ASSERT_TRUE(WaitPage(Page::Finalize));

    HWND installer = Install();
    PressButton(installer, "Cancel");
    EXPECT_EQ(WaitExit(), 0u);
    EXPECT_FALSE(::IsWindowVisible(Window));
    EXPECT_EQ(Software("Open"), "<none>");
    EXPECT_EQ(Setting("DefaultChannel"), "11");
    EXPECT_EQ(Setting("DefaultSSID"), "   "); // read back whole, as the utility reads it
    EXPECT_EQ(Setting("DefaultMode"), "0");
}

TEST_F(SetupWizard, TemplateWithoutBasicIsCopiedUnchangedAndExitWithATrailingBlankDoesNotCount)
{
    const std::string tmpl = "[DefaultSetting]\r\nDefaultMode=0\r\nDefaultChannel=3\r\nFirst=0\r\nDefaultSSID=Kept\r\n";
    Disc().WriteFile("wlan.ini", tmpl);
    Start();
    ASSERT_TRUE(ToFinalize());
    HWND installer = Install();
    EndInstaller(installer, "exit ");
    EXPECT_EQ(WaitExit(), 0u);
    std::ifstream copy(SystemIni(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), std::istreambuf_iterator<char>()), tmpl);
}

TEST_F(SetupWizard, InstallerThatCannotStartIsReportedThenALateInstallerWindowIsAwaited)
{
    Disc({"Utility"});
    ::SetEnvironmentVariableA("VANTRA_INSTALLER_DELAY", "2500"); // the wizard's installer inherits it
    Start();
    ASSERT_TRUE(ToFinalize());
    Next();
    ASSERT_TRUE(WaitFor([this] { return !Box->SeamCalls("MessageBox").empty(); }, 5000));
    EXPECT_EQ(Box->SeamCalls("MessageBox")[0].rfind("MessageBox\tWireless Network\tThe installer "
                                                   ".\\Utility\\setup.exe could not be started: ",
                                                   0),
              0u)
        << Box->SeamCalls("MessageBox")[0];
    EXPECT_EQ(ShownPage(), Page::Finalize);

    // Now with the installer, whose window comes up only after two ticks of the wait.
    ::CreateDirectoryA(Box->Path("Utility").c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(BIN_DIR "\\Utility\\setup.exe", Box->Path("Utility\\setup.exe").c_str(), FALSE));
    Next();
    ASSERT_TRUE(WaitFor([this] { return !::IsWindowVisible(Window); }, 5000));
    HWND installer = WaitTitled(InstallerTitle);
    ASSERT_NE(installer, nullptr);
    // Still waiting: the hand-shake is cleared only when the wait ends.
    EXPECT_EQ(Software("Open"), "Open Setup");
    EXPECT_EQ(Box->WaitExit(Process, 0), STILL_ACTIVE);
    EndInstaller(installer, "exitexitexit"); // longer than the wizard reads: not completed
    EXPECT_EQ(WaitExit(), 0u);
}

TEST_F(SetupWizard, SecondCopyEndsAtOnceAndLeavesTheFirstOnesHandShake)
{
    Start();
    SetMachineValue("SOFTWARE", "Exitkey", "marker");
    HANDLE second = Box->Start("setup.exe");
    EXPECT_EQ(Box->WaitExit(second, 15000), 0u);
    EXPECT_TRUE(WindowsOf(::GetProcessId(second)).empty());
    EXPECT_EQ(Software("Exitkey"), "marker");
    EXPECT_EQ(Box->WaitExit(Process, 0), STILL_ACTIVE);
    Click(Window, 550, 20); // close
    EXPECT_EQ(WaitExit(), 0u);
    EXPECT_EQ(Software("Open"), "Open Setup"); // leaving early keeps it
}

TEST_F(SetupWizard, ReaderPromptThenTheGuideOpensOnceTheReaderIsInstalled)
{
    Start();
    ClickButton(1, 3); // User Guide
    HWND prompt = WaitShown("TForm4");
    ASSERT_NE(prompt, nullptr);
    RECT frame;
    ::GetWindowRect(prompt, &frame);
    HDC screen = ::GetDC(nullptr);
    const int ppi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (ppi == 96) {
        EXPECT_EQ(frame.right - frame.left, 359);
        EXPECT_EQ(frame.bottom - frame.top, 172);
    }
    Shot(prompt, "reader-prompt");
    PressButton(prompt, "OK");
    HWND reader = WaitTitled("Reader Setup");
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(::IsWindowVisible(prompt));
    // Once the reader has made itself the viewer, the wizard's next try
    // (every second) opens the guide, and the tries stop.
    const auto tries = [this] { return Box->SeamCalls("ShellExecute\topen\t.\\manual\\manual.pdf").size(); };
    PressButton(reader, "Install");
    ASSERT_TRUE(WaitFor(PdfViewerKnown, 10000));
    const size_t known = tries();
    const DWORD installed = ::GetTickCount();
    HWND guide = WaitTitled("manual.pdf - Reader");
    ASSERT_NE(guide, nullptr);
    RecordProperty("guide_opened_ms", static_cast<int>(::GetTickCount() - installed));
    EXPECT_LT(::GetTickCount() - installed, 5000u); // a tick, and the reader's start
    EXPECT_FALSE(WaitFor([&] { return tries() > known + 1; }, 1500));
    ::PostMessageA(guide, WM_CLOSE, 0, 0);
    Click(Window, 550, 20); // close
    EXPECT_EQ(WaitExit(), 0u);
}

TEST_F(SetupWizard, OnWindowsXPSetupRunsTheInstallerAtOnceAndWritesNoSettings)
{
    PretendWindows windowsXP("winxp", "<none>");
    Start();
    ClickButton(0, 3); // Setup
    HWND installer = WaitTitled(InstallerTitle);
    ASSERT_NE(installer, nullptr);
    EXPECT_FALSE(::IsWindowVisible(Window));
    EXPECT_EQ(Software("Open"), "Open Setup");
    PressButton(installer, "Finish");
    ASSERT_TRUE(WaitPage(Page::Congratulations));
    EXPECT_EQ(::GetFileAttributesA(SystemIni().c_str()), INVALID_FILE_ATTRIBUTES);
    ClickButton(0, 1);
    EXPECT_EQ(WaitExit(), 0u);
}

} // namespace
