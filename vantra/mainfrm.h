// The utility's one main window: a hidden, tray-resident form whose timers
// drive all periodic work and whose worker threads run its own methods.
// One class, in several files by concern:
//   mainfrm.cpp          creation, show, close and keys
//   mainfrm_exit.cpp     the orderly exit
//   mainfrm_wndproc.cpp  the subclassed window procedure
//   mainfrm_device.cpp   device check, adapter start, power resume
//   mainfrm_tray.cpp     tray icon and monitoring
//   mainfrm_sound.cpp    interface sounds
//   mainfrm_skin.cpp     skin, shape and hover
#pragma once
#include "drivers/records.h"
#include "toolkit/form.h"
#include "toolkit/timer.h"
#include "workers.h"

#include <cstdint>
#include <string>

class TMainFrm : public TForm {
public:
    CLASS_NAME(TMainFrm)
    explicit TMainFrm(TComponent* AOwner);

    TTimer* UpdateTimer;
    TTimer* CheckTimer;
    TTimer* ConnectCheckTimer;
    TTimer* DeviceCheckTimer;
    TTimer* Timer1;
    TTimer* DetectIcon;

    TMessageThread* MessageThread = nullptr;
    TSetTCPIPThread* TcpIpThread = nullptr;
    TShowGifThread* GifThread = nullptr;
    TGetSysPowStatus* PowerThread = nullptr;
    NicIpInfo PendingIpInfo{};
    int32_t HoverIndex = -1;
    int32_t HoverIndex2 = -1;

    // Start, show, close and keys.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, char& Key);
    void ExitUtility();
    static void WaitPumping(DWORD Milliseconds);

    // Device check and adapter start.
    void OnDeviceChange(TMessage& Message);
    void DeviceCheckTimerTimer(TObject* Sender);
    bool StartAdapter();
    void Timer1Timer(TObject* Sender);
    void CheckPowerStatus();

    // Tray icon and monitoring.
    void AddTrayIcon();
    void RemoveTrayIcon();
    void DetectIconTimer(TObject* Sender);
    void StopMonitoring();
    void HideToTray();
    void ShowFromTray();
    void HideMainWindow();

    // Sounds.
    bool PlaySoundFile(const std::string& Name);
    bool StopSoundFile(const std::string& Name);
    void CloseAllSounds();
    void PlaySoundThenStop(const std::string& Name);

    // Skin, shape and hover.
    void SetWindowShape();
    void LayoutControls();
    void SetControlFonts();
    void LoadSkinBitmaps();
    void FreeSkinBitmaps();
    void SetStatusImage(int32_t Id);
    void ResetHoverImages();
    void ClearHover(); // HoverIndex2 := -1, reset, HoverIndex := -1
    void RestoreTitleButton();
    int BackgroundWidth = 0;
    int BackgroundHeight = 0;
    HBITMAP BackgroundBitmap = nullptr;

    void ShowIcon(int32_t State);
    void PopupTrayMenu(POINT At);
    HICON TrayIcon(int Index);
    bool RestoreEnabled() const;

    // Work of later pages that the frame already calls.
    void UpdateProfilesButton();
    void ClearPageLabels();
    void ShowCurrentStatusImage();
    void ResumeGifThreadIfIdle();
    void CheckStatusPage();
    void ApplyTcpIpSettings(NicIpInfo& Info);
    void ShowGifStatus();
    void ClearProfileList();
    void FillProfileList();
    void EnableConnectControls(bool Enabled);

    // The three worker threads that the window resumes are all parked.
    bool WorkersSuspended() const;

protected:
    void Dispatch(TMessage& Message) override;

private:
    bool CopyAlreadyRunning();
    bool ExitStarted = false;
    HANDLE InstanceMutex = nullptr;
};

extern TMainFrm* MainFrm;

// The window procedure that the skin installs in place of the form's own.
LRESULT CALLBACK MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
extern WNDPROC OldWndProc;

// Private messages of the utility.
constexpr UINT WM_VANTRA_EXIT = 0xCA01;      // wParam 0, lParam 1: exit
constexpr UINT WM_VANTRA_SHOW = 0xCA02;      // wParam 0, lParam 1: show the main window
constexpr UINT WM_VANTRA_EXIT_ALT = 0xCA49;  // wParam 0 or 1: exit
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 100;
