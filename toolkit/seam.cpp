#include "seam.h"
#include "format.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

TPlatformSeam DefaultSeam;
TPlatformSeam* Current = &DefaultSeam;

const char* LogPath()
{
    static const char* path = std::getenv("SEAM_LOG");
    return path && *path ? path : nullptr;
}

int FirstButton(UINT Flags)
{
    switch (Flags & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
    }
}

int EnvInt(const char* Name, int Fallback)
{
    const char* value = std::getenv(Name);
    return value && *value ? StrToIntDef(value, Fallback) : Fallback;
}

} // namespace

TPlatformSeam& Platform() { return *Current; }

TPlatformSeam* SetPlatform(TPlatformSeam* Seam)
{
    TPlatformSeam* previous = Current;
    Current = Seam ? Seam : &DefaultSeam;
    return previous;
}

bool TPlatformSeam::Recording() const { return LogPath() != nullptr; }

void TPlatformSeam::Record(const std::string& Line)
{
    static auto* lock = new std::mutex; // never freed: a worker may record during the program's end
    std::lock_guard<std::mutex> hold(*lock);
    if (std::FILE* f = std::fopen(LogPath(), "ab")) {
        std::fprintf(f, "%s\n", Line.c_str());
        std::fclose(f);
    }
}

int TPlatformSeam::MessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags)
{
    if (!Recording()) return ::MessageBoxA(Owner, Text.c_str(), Caption.c_str(), Flags);
    Record(Format("MessageBox\t%s\t%s\t%u", Caption.c_str(), Text.c_str(), Flags));
    return EnvInt("SEAM_ANSWER", FirstButton(Flags));
}

UINT TPlatformSeam::WaveOutDeviceCount()
{
    if (!Recording()) return ::waveOutGetNumDevs();
    return static_cast<UINT>(EnvInt("SEAM_WAVE_DEVICES", 1));
}

BOOL TPlatformSeam::PlaySound(const std::string& FileName, DWORD Flags)
{
    if (!Recording()) return ::PlaySoundA(FileName.c_str(), nullptr, Flags);
    Record(Format("PlaySound\t%s\t%lu", FileName.c_str(), static_cast<unsigned long>(Flags)));
    return TRUE;
}

MCIERROR TPlatformSeam::MciSendString(const std::string& Command)
{
    if (!Recording()) return ::mciSendStringA(Command.c_str(), nullptr, 0, nullptr);
    Record("MciSendString\t" + Command);
    return 0;
}

BOOL TPlatformSeam::ExitWindowsEx(UINT Flags)
{
    if (!Recording()) return ::ExitWindowsEx(Flags, 0);
    Record(Format("ExitWindowsEx\t%u", Flags));
    return TRUE;
}

HINSTANCE TPlatformSeam::ShellExecute(HWND Owner, const std::string& Verb, const std::string& File,
                                      const std::string& Parameters, const std::string& Directory, int Show)
{
    if (Recording()) Record(Format("ShellExecute\t%s\t%s\t%s\t%d", Verb.c_str(), File.c_str(), Parameters.c_str(), Show));
    auto text = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
    return ::ShellExecuteA(Owner, text(Verb), File.c_str(), text(Parameters), text(Directory), Show);
}

UINT TPlatformSeam::WinExec(const std::string& CommandLine, UINT Show)
{
    if (Recording()) Record(Format("WinExec\t%s\t%u", CommandLine.c_str(), Show));
    return ::WinExec(CommandLine.c_str(), Show);
}

BOOL TPlatformSeam::ShellNotifyIcon(DWORD Message, NOTIFYICONDATAA* Data)
{
    const BOOL done = ::Shell_NotifyIconA(Message, Data);
    if (Recording()) {
        // The tip's line breaks are written as \n to keep one call a line.
        std::string tip;
        for (const char* c = Data->szTip; c < Data->szTip + sizeof Data->szTip && *c; ++c)
            tip += *c == '\n' ? std::string("\\n") : std::string(1, *c);
        Record(Format("ShellNotifyIcon\t%lu\t%u\t%d\t%s", static_cast<unsigned long>(Message), Data->uID,
                      done ? 1 : 0, tip.c_str()));
    }
    return done;
}

bool TPlatformSeam::ServiceRunning(const std::string& ServiceName)
{
    bool running = false;
    if (SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)) {
        if (SC_HANDLE service = ::OpenServiceA(manager, ServiceName.c_str(), SERVICE_QUERY_STATUS)) {
            SERVICE_STATUS status;
            running = ::QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
            ::CloseServiceHandle(service);
        }
        ::CloseServiceHandle(manager);
    }
    if (Recording()) Record(Format("ServiceRunning\t%s\t%d", ServiceName.c_str(), running));
    return running;
}

HINTERNET TPlatformSeam::InternetOpen(const std::string& Agent, DWORD AccessType, DWORD Flags)
{
    return ::InternetOpenA(Agent.c_str(), AccessType, nullptr, nullptr, Flags);
}

HINTERNET TPlatformSeam::InternetOpenUrl(HINTERNET Session, const std::string& Url, DWORD Flags)
{
    if (!Recording()) return ::InternetOpenUrlA(Session, Url.c_str(), nullptr, 0, Flags, 0);
    // A test run has no Internet: the address of a server of its own, or none.
    const char* local = std::getenv("SEAM_INTERNET");
    Record(Format("InternetOpenUrl\t%s\t%s", Url.c_str(), local ? local : ""));
    return local && *local ? ::InternetOpenUrlA(Session, local, nullptr, 0, Flags, 0) : nullptr;
}

BOOL TPlatformSeam::InternetCloseHandle(HINTERNET Handle) { return ::InternetCloseHandle(Handle); }

void TPlatformSeam::Trace(const std::string& Text)
{
    if (Recording()) Record("Trace\t" + Text);
}
