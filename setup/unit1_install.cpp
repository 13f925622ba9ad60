#include "unit1.h"
#include "handshake.h"
#include "unit2.h"
#include "unit3.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/inifile.h"

namespace {

const char* const InstallerWindow = "InstallShield Wizard";

std::string SystemMessage(DWORD Code)
{
    char* text = nullptr;
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, Code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n ? Trim(std::string(text, n)) : Format("error %lu", static_cast<unsigned long>(Code));
    ::LocalFree(text);
    return message;
}

} // namespace

void TForm1::Image31Click(TObject*)
{
    FPage = pgCongratulations;
    WriteSettingsFile();
    if (!StartInstaller()) FPage = pgFinalize;
}

// The template beside the wizard goes to the system folder; the settings are
// written into it only when it has the section "basic". A copy or write that
// fails is passed over: the installer runs all the same.
void TForm1::WriteSettingsFile()
{
    char folder[261];
    const UINT n = ::GetSystemDirectoryA(folder, sizeof folder);
    if (n == 0 || n >= sizeof folder) return;
    SystemIniPath = std::string(folder, n) + "\\wlan.ini";
    ::CopyFileA(".\\wlan.ini", SystemIniPath.c_str(), FALSE);
    ::SetFileAttributesA(SystemIniPath.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    try {
        TIniFile ini(SystemIniPath);
        if (!ini.SectionExists("basic")) return;
        ini.WriteInteger("DefaultSetting", "DefaultMode", FDefaultMode);
        ini.WriteInteger("DefaultSetting", "DefaultChannel", FDefaultChannel);
        ini.WriteInteger("DefaultSetting", "First", 1);
        ini.WriteStringWhole("DefaultSetting", "DefaultSSID", FSsid);
        ini.WriteInteger("DefaultSetting", "DefaultGoo", FDefaultGoo);
        ini.UpdateFile();
    } catch (const EIniFileException&) {
    }
}

// Runs the installer hidden and waits for it behind the waiting window. The
// wizard holds the installer's process, so that the wait cannot end before
// the installer's window has come up. An installer that cannot be started
// is reported, and the wizard stays where it was.
bool TForm1::StartInstaller()
{
    char command[] = ".\\Utility\\setup.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        Application->MessageBox(Format("The installer %s could not be started: %s", command,
                                       SystemMessage(::GetLastError()).c_str()),
                                Application->Title(), MB_OK | MB_ICONWARNING);
        return false;
    }
    ::CloseHandle(process.hThread);
    FInstaller = process.hProcess;
    Timer1->SetEnabled(true);
    SetupLaunched = true;
    Hide();
    Form3->Show();
    return true;
}

bool TForm1::InstallerRunning()
{
    if (FInstaller && ::WaitForSingleObject(FInstaller, 0) != WAIT_TIMEOUT) {
        ::CloseHandle(FInstaller);
        FInstaller = nullptr;
    }
    return FInstaller || ::FindWindowA(nullptr, InstallerWindow);
}

void TForm1::Timer1Timer(TObject*)
{
    if (InstallerRunning()) return;
    Timer1->SetEnabled(false);
    const bool completed = InstallerCompleted();
    DeleteSoftwareValue("Open");
    DeleteSoftwareValue("Exitkey");
    if (!completed) {
        Close();
        return;
    }
    ShowPage(pgCongratulations);
    Form3->Close();
    Show();
}

void TForm1::Image40Click(TObject*)
{
    PlaySetupSound("exit.wav");
    DeleteSoftwareValue("Open");
    if (IsWindows98OrMe() && SetupLaunched) {
        Hide();
        Form2->ShowModal();
    }
    Close();
}
