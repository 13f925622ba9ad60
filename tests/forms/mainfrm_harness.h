// The utility's real main window inside a test program: created once per
// program over the stand-in libraries (a world file of its own, with a call
// log), with a seam recorder that answers message boxes, records sounds and
// notification-area calls, and tells which picture of the tray image list an
// icon shows. Timers are stopped after creation; tests run their handlers.
#pragma once
#include "vantra/mainfrm.h"
#include "vantra/sitesurveywep.h"
#include "toolkit/seam.h"
#include "vantra/drivers/record_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct TrayCall {
    DWORD Message = 0; // NIM_ADD, NIM_MODIFY, NIM_DELETE
    UINT Size = 0, Id = 0, Flags = 0, CallbackMessage = 0;
    HWND Window = nullptr;
    int Image = -1; // index of the tray image list's picture; -1 none
    std::string Tip;
};

class SeamRecorder : public TPlatformSeam {
public:
    std::vector<TrayCall> Tray;
    std::vector<std::string> Boxes, Sounds;
    BOOL TrayAnswer = TRUE;
    int BoxAnswer = IDOK; // the button every message box is answered with

    int MessageBox(HWND, const std::string& Text, const std::string& Caption, UINT) override;
    UINT WaveOutDeviceCount() override { return 1; }
    BOOL PlaySound(const std::string& FileName, DWORD) override;
    MCIERROR MciSendString(const std::string& Command) override;
    BOOL ExitWindowsEx(UINT) override { return FALSE; }
    HINSTANCE ShellExecute(HWND, const std::string&, const std::string&, const std::string&, const std::string&,
                           int) override;
    UINT WinExec(const std::string&, UINT) override { return 33; }
    BOOL ShellNotifyIcon(DWORD Message, NOTIFYICONDATAA* Data) override;
    // Runs inside each notification-area call, as another program's sent
    // message can while the tray takes it.
    std::function<void(DWORD Message)> WhileTrayCall;
    bool ServiceRunning(const std::string&) override { return false; }
    // WinINet for real, with every address opened at the one set here
    // instead (unless it is empty), counting the handles still open. Called
    // from workers too.
    HINTERNET InternetOpen(const std::string& Agent, DWORD AccessType, DWORD Flags) override;
    HINTERNET InternetOpenUrl(HINTERNET Session, const std::string& Url, DWORD Flags) override;
    BOOL InternetCloseHandle(HINTERNET Handle) override;
    void SetInternetAddress(const std::string& Address);
    std::vector<std::string> UrlsAsked();
    std::atomic<int> OpenInternetHandles{0};
    std::function<void()> WhileOpeningUrl; // runs on the opening thread first
    void Clear();

private:
    std::mutex InternetLock;
    std::string InternetAddress;
    std::vector<std::string> Urls;
};

namespace Harness {
SeamRecorder& Seam();
// Installs the recorder and writes the world file and WLAN.INI; Form does
// it before it makes the window.
void PrepareWorld();
// Makes the main window on first use; the adapter is found and open.
TMainFrm* Form();
// The WEP key dialog, made on first use after the main window, as at start.
TSiteSurveyWEPFrm* Dialog();
// The stand-ins' world file, and their call log.
std::string WorldPath();
void SetWorld(const char* Section, const char* Key, const char* Value);
// The call log's lines of Name's calls, and how many there are.
std::vector<std::string> CallLines(const std::string& Name);
size_t CallCount(const std::string& Name);
// The names of the calls in the log, in their order.
std::vector<std::string> CallNames();
void ClearCalls();
// The record a logged call received, from its "Label=hex" field.
template <class Record> Record Logged(const std::string& Line, const std::string& Label)
{
    Record record{};
    const size_t at = Line.find(" " + Label + "=");
    EXPECT_NE(at, std::string::npos) << Line;
    if (at == std::string::npos) return record;
    const std::string hex = Line.substr(at + Label.size() + 2, 2 * sizeof record);
    auto* bytes = reinterpret_cast<uint8_t*>(&record);
    for (size_t i = 0; i < sizeof record && 2 * i + 1 < hex.size(); ++i)
        bytes[i] = HexPairToByte(hex[2 * i], hex[2 * i + 1]);
    return record;
}
// Back to the state right after the device check found the adapter: window
// hidden on the link page, timers stopped, no link configured, records and
// counters as at start.
void Reset();
// Points the stand-in adapter at a cell in range (Mode 1 infrastructure, 0
// ad hoc); it is ready at once.
void JoinNetwork(const char* Ssid, uint8_t Mode = 1);
void DropNetwork();
// The folder under the build folder where screenshots go, made on first use.
std::string ScreenshotFolder();
// The list as it draws itself: the colour at X in the middle of a row.
TColor RowPixel(TListView* List, int Row, int X);
// Runs pending messages a few times.
void Pump();
// Runs pending messages until Done; false when it has not come within Milliseconds.
bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds);
} // namespace Harness
