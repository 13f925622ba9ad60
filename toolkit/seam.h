// The seam between the programs and the parts of Windows that a test must
// not see happen for real: message boxes, sounds, ending the session,
// starting programs, the service manager, the notification area and the
// Internet.
// Production code calls Platform(); tests install a recorder of their own.
//
// Setting the environment variable SEAM_LOG to a file name makes the
// default seam record every call there, one line each ("Call<TAB>arg..."),
// and stand in for what a test run cannot have: message boxes are answered
// at once (SEAM_ANSWER, else the first button) instead of shown, sounds are
// recorded instead of played, one wave-out device is reported
// (SEAM_WAVE_DEVICES overrides), Windows is never shut down, web addresses
// are opened at SEAM_INTERNET (a web address) instead, or not at all when
// it is not set, and the programs' trace lines are kept.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <wininet.h>

#include <string>

class TPlatformSeam {
public:
    virtual ~TPlatformSeam() = default;
    virtual int MessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags);
    virtual UINT WaveOutDeviceCount();
    virtual BOOL PlaySound(const std::string& FileName, DWORD Flags);
    virtual MCIERROR MciSendString(const std::string& Command);
    virtual BOOL ExitWindowsEx(UINT Flags);
    virtual HINSTANCE ShellExecute(HWND Owner, const std::string& Verb, const std::string& File,
                                   const std::string& Parameters, const std::string& Directory, int Show);
    virtual UINT WinExec(const std::string& CommandLine, UINT Show);
    virtual BOOL ShellNotifyIcon(DWORD Message, NOTIFYICONDATAA* Data);
    // Whether the named Windows service is running; false when it cannot be asked.
    virtual bool ServiceRunning(const std::string& ServiceName);
    // WinINet: a session, an address opened in it, and closing either.
    virtual HINTERNET InternetOpen(const std::string& Agent, DWORD AccessType, DWORD Flags);
    virtual HINTERNET InternetOpenUrl(HINTERNET Session, const std::string& Url, DWORD Flags);
    virtual BOOL InternetCloseHandle(HINTERNET Handle);
    // The programs' trace: prints nothing in use, and is recorded with the
    // rest when the seam records.
    virtual void Trace(const std::string& Text);

protected:
    void Record(const std::string& Line);
    bool Recording() const;
};

TPlatformSeam& Platform();
// Installs a replacement (nullptr restores the default); returns the previous one.
TPlatformSeam* SetPlatform(TPlatformSeam* Seam);
