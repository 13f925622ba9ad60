#include "unit1.h"
#include "handshake.h"
#include "toolkit/application.h"
#include "toolkit/seam.h"

#include <mmsystem.h>

TForm1* Form1 = nullptr;

void PlaySetupSound(const char* Name)
{
    Platform().PlaySound(std::string(".\\image\\") + Name, SND_ASYNC | SND_FILENAME);
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner)
{
    CreateComponents();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

    const DWORD version = ::GetVersion();
    FIsXP = LOBYTE(LOWORD(version)) == 5 && HIBYTE(LOWORD(version)) > 0;

    // One wizard at a time; the mutex is held until the process ends. The
    // create also finds a copy that started at the same instant.
    if (HANDLE running = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "VANTRASETUP")) {
        ::CloseHandle(running);
        Application->Terminate();
        return;
    }
    FInstanceMutex = ::CreateMutexA(nullptr, FALSE, "VANTRASETUP");
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        Application->Terminate();
        return;
    }
    SetupLaunched = false;
    DeleteSoftwareValue("Exitkey");
    WriteOpenValue();
}

TForm1::~TForm1()
{
    delete FWatcher;
    if (FInstaller) ::CloseHandle(FInstaller);
}

void TForm1::FormCreate(TObject*)
{
    if (Application->Terminated) return; // a second copy, ending
    const int ppi = Screen->PixelsPerInch();
    for (TLabel* caption : {Label1, Label2, Label3, Label4})
        caption->Font()->SetSize(caption->Font()->Size() * 96 / ppi);
    Channel_Combo->SetItemIndex(5);
    FWatcher = new TMessageThread(this);
    FWatcher->Resume();
    SetBounds((Screen->Width() - 580) / 2, (Screen->Height() - 435) / 2, 580, 435);
    InitComponent();
    FInfrastructure = true;
    FDefaultMode = 1;
    FDefaultChannel = 6;
    FDefaultGoo = 0;
    SetWindowShape();
    for (THoverGroup* group : {&Welcome, &License, &WirelessMode, &Channel, &Final, &Title, &Exit})
        group->Hover = group->Last = THoverGroup::None;
    FPage = pgWelcome;
    PlaySetupSound("start.wav");
}

void TForm1::FormClose(TObject*, TCloseAction&)
{
    delete FWatcher; // asks it to end and waits for it
    FWatcher = nullptr;
}
