#include "mainfrm.h"
#include "drivers/bindings.h"
#include "drivers/win_version.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"
#include "wzc_service.h"

#include <shellapi.h>

namespace {
std::string FirstArgument()
{
    return __argc > 1 ? LowerCase(__argv[1]) : std::string();
}

bool FileExists(const std::string& Path)
{
    DWORD attributes = ::GetFileAttributesA(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

template <class Worker> void FreeWorker(Worker*& Thread)
{
    if (Thread) Thread->Free();
    Thread = nullptr;
}

} // namespace

TMainFrm::TMainFrm(TComponent* AOwner) : TForm(AOwner)
{
    SkipChipsetCallsWhile(&Program.Quitting);
    CreateComponents();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnHide = [this](TObject*) {
        PauseAnimations();
        // The status pictures rest with the window; an Internet test under way is given up.
        if (GifThread && !GifThread->Suspended()) GifThread->Suspend();
    };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnKeyPress = [this](TObject* s, char& k) { FormKeyPress(s, k); };

    const std::string argument = FirstArgument();
    if (argument == "-o") Program.Quitting = false;
    if (argument == "-q") {
        // Every running copy exits on this and answers once its exit is
        // complete, which may wait for an apply as long as the exit allows it;
        // hung windows are skipped, not waited for.
        DWORD_PTR result;
        ::SendMessageTimeoutA(HWND_BROADCAST, WM_VANTRA_EXIT, 0, 1, SMTO_ABORTIFHUNG, ApplyExitLimitMs + 10000,
                              &result);
        Program.Quitting = true;
        Application->Terminate();
        return;
    }
    if (CopyAlreadyRunning() || !LoadNicLibrary()) {
        RemoveTrayIcon();
        Program.Quitting = true;
        Application->Terminate();
    }
}

// Held until the process ends. Opening first finds a copy that runs; the
// create then also reports one that started at the same instant.
bool TMainFrm::CopyAlreadyRunning()
{
    const std::string name = Format("%s", ExtractFileName(Application->ExeName()).c_str());
    if (HANDLE existing = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name.c_str())) {
        ::CloseHandle(existing);
        return true;
    }
    InstanceMutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void TMainFrm::FormCreate(TObject*)
{
    if (FirstArgument() == "-q" || Program.Quitting) return;
    Program.ProgramFolder = ExtractFilePath(Application->ExeName());

    const std::string companion = Format("%s%s", Program.ProgramFolder.c_str(), "Vorlex.exe");
    if (FileExists(companion)) Platform().ShellExecute(nullptr, "open", companion, "", "", SW_HIDE);
    ::Sleep(50);

    Program.WinVersionCode = GetWinVersionCode();
    MessageThread = new TMessageThread(Handle(), [this] { ClearHover(); });
    TcpIpThread = new TSetTCPIPThread([this] { return PendingIpInfo; },
                                      [this](NicIpInfo& Info) { ApplyTcpIpSettings(Info); });
    GifThread = new TShowGifThread([this] { ShowGifStatus(); });
    PowerThread = new TGetSysPowStatus([this] { CheckPowerStatus(); });
    UpdateProfilesButton();

    Program.Quitting = false;
    Program.SoundEnabled = Platform().WaveOutDeviceCount() != 0;
    PlaySoundThenStop("start.wav");

    LayoutControls();
    Application->ShowMainForm = false;
    Tray.TrayIconFirst = 3;
    Tray.TrayIconLimit = 6;
    SetControlFonts();
    LoadSkinBitmaps();
    SetPageButtonImages(IDB_TAB_LINK, IDB_TAB_SURVEY_OFF, IDB_TAB_PROFILES_OFF);
    SetWindowShape();
    AfterSkinSetup();
    Pal_MoreInfo->Hide();
    SetStatusPanel(IDB_TITLE_NO_LINK);
    Img_MissAP->BringToFront();
    Img_MissAP->Show();
    SetBounds(Left(), Top(), BackgroundWidth, BackgroundHeight);

    Program.WlanIniPath = Program.ProgramFolder + "WLAN.INI";
    if (!FileExists(Program.WlanIniPath)) {
        Platform().MessageBox(nullptr, Program.WlanIniPath + " can't found.", "Loading WLAN.INI Error!",
                              MB_ICONERROR);
        ExitUtility(); // the workers and sounds have started: end in order
        return;
    }
    {
        TIniFile ini(Program.WlanIniPath);
        Defaults.Read(ini);
    }
    ClearPageLabels();

    DetectIconTimer(this);
    DeviceCheckTimerTimer(this);
}

void TMainFrm::FormShow(TObject*)
{
    if (Width() != BackgroundWidth || Height() != BackgroundHeight) {
        SetBounds(Left(), Top(), BackgroundWidth, BackgroundHeight);
        Invalidate();
    }
    SetStatusImage(Pages.StatusImageId);
    ResumeAnimations();
    if (Pages.CurrentPage != Page::Link) return;
    // The page the window starts on has not been entered: its bars and
    // their captions come with the adapter as they do when it is.
    if (LinkPageSettled()) ShowLinkBars();
    ResumeGifThreadIfIdle();
}

void TMainFrm::ResumeGifThreadIfIdle()
{
    if (Program.Quitting) return; // the exit has freed the workers
    if (Pages.MoreInfoHidden && Visible() && GifThread->Suspended() && TcpIpThread->Suspended() &&
        Link.AdapterOpened && Tray.ConnectedShown)
        GifThread->Resume();
}

void TMainFrm::FormKeyPress(TObject*, char& Key)
{
    if (Key == VK_ESCAPE) HideToTray();
}

void TMainFrm::FormCloseQuery(TObject*, bool& CanClose)
{
    UpdateTimer->SetInterval(0);
    UpdateTimer->SetEnabled(false);
    CheckTimer->SetInterval(0);
    CheckTimer->SetEnabled(false);
    // Closing the window any other way (Alt+F4, the taskbar button) ends the
    // utility in order too; the exit closes the window itself.
    CanClose = Exit == ExitStage::Finishing;
    if (Exit == ExitStage::NotStarted || Exit == ExitStage::Waiting) ExitUtility();
}

// Runs at the end of the exit, which has hidden the window, removed the
// tray icon and freed the workers: Quitting stays set.
void TMainFrm::FormClose(TObject*, TCloseAction&)
{
    CloseAllSounds();
    BeforeSkinFree();
    FreeSkinBitmaps();
}

void TMainFrm::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_DEVICECHANGE) {
        OnDeviceChange(Message);
        return;
    }
    TForm::Dispatch(Message);
}

bool TMainFrm::WorkersSuspended() const
{
    for (TThread* worker : ResumedWorkers())
        if (worker && !worker->Suspended()) return false;
    return true;
}

bool TMainFrm::WorkersParked() const
{
    for (TThread* worker : ParkableWorkers())
        if (worker && !worker->Suspended()) return false;
    return true;
}

bool TMainFrm::Applying() const { return TcpIpThread && !TcpIpThread->Suspended(); }

bool TMainFrm::ParkWorkers(DWORD ApplyLimitMs)
{
    const ExitStage stage = Exit;
    const DWORD start = ::GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        if (Exit != stage) return false;
        for (TThread* worker : ParkableWorkers())
            if (worker && !worker->Suspended()) worker->Suspend();
        const DWORD waited = ::GetTickCount() - start;
        const bool rested = WorkersParked();
        if ((rested || waited >= WorkerParkLimitMs) && (!Applying() || waited >= ApplyLimitMs)) return rested;
        WaitPumping(100);
        if (Exit != stage) return false;
    }
}

bool TMainFrm::HoldChipsetLibrary(TChipsetHold& Hold)
{
    const DWORD start = ::GetTickCount();
    while (!Hold.TryEnter()) {
        if (::GetTickCount() - start >= ChipsetBusyLimitMs) {
            SayAdapterBusy();
            return false;
        }
        WaitPumping(10);
        if (Program.Quitting) return false; // an exit ran inside
    }
    return !Program.Quitting;
}

void TMainFrm::SayAdapterBusy()
{
    Platform().MessageBox(Handle(), "The adapter is busy. Please try again later.", "Error", MB_OK | MB_ICONWARNING);
}

// A worker that has not parked is not waited for: it frees itself.
void TMainFrm::FreeWorkers()
{
    FreeWorker(MessageThread);
    FreeWorker(TcpIpThread);
    FreeWorker(GifThread);
    FreeWorker(PowerThread);
}

TMainFrm::~TMainFrm()
{
    FreeWorkers(); // when the exit has not run
    // The window outlives this part of the form: its last messages go to the
    // form's own procedure.
    if (OldWndProc && HandleAllocated())
        ::SetWindowLongPtrA(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
    SkipChipsetCallsWhile(nullptr);
    if (InstanceMutex) ::CloseHandle(InstanceMutex); // the window lives as long as the program
}
