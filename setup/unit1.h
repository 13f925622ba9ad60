// The setup wizard's window: a borderless, skinned form that walks through
// six pages, collects the network settings, writes them into the system
// folder's WLAN.INI, runs the utility's installer from the disc and awaits it.
// One class, in several files by concern:
//   unit1.cpp             start, creation and closing
//   unit1_components.cpp  the components and their designed properties
//   unit1_skin.cpp        shape, window procedure, dragging and layout
//   unit1_hover.cpp       the hover groups of the image buttons
//   unit1_pages.cpp       the pages and the moves between them
//   unit1_install.cpp     writing WLAN.INI, running and awaiting the installer
#pragma once
#include "hover_group.h"
#include "messagethread.h"
#include "toolkit/form.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/richedit.h"
#include "toolkit/stdctrls.h"
#include "toolkit/timer.h"

#include <cstdint>
#include <string>
#include <vector>

// The pages, as FPage names them.
enum TSetupPage : int32_t {
    pgWelcome = 1,
    pgLicense = 2,
    pgWirelessMode = 3,
    pgAdHoc = 4,
    pgFinalize = 5,
    pgCongratulations = 6, // also while the installer runs, with the window hidden
};

class TForm1 : public TForm {
public:
    CLASS_NAME(TForm1)
    explicit TForm1(TComponent* AOwner);
    ~TForm1() override;

    // Page backgrounds, on the form.
    TImage* Image1;  // Welcome
    TImage* Image19; // Licence
    TImage* Image26; // Wireless Mode
    TImage* Image34; // Ad-Hoc
    TImage* Image33; // Finalize
    TImage* Image11; // Congratulations
    // The ad-hoc step as not done, over the step list of Finalize and
    // Congratulations on the infrastructure path, which skips that page.
    TImage* Image_StepSkipped;
    // Each page's buttons, on a panel of its own.
    TPanel* Welcome_Panel;
    TImage* Image3;  // Setup
    TImage* Image8;  // User Guide
    TImage* Image10; // Exit
    TPanel* License_Panel;
    TImage* Image17; // Next
    TImage* Image18; // Cancel
    TPanel* WirelessMode_Panel;
    TImage* Image28; // Next
    TImage* Image27; // Back
    TPanel* Channel_Panel;
    TImage* Image36; // Next
    TImage* Image35; // Back
    TPanel* Final_Panel;
    TImage* Image31; // Next
    TImage* Image30; // Back
    TPanel* Panel6;
    TImage* Image40; // Exit
    TImage* Image41; // Exit, highlighted
    TImage* Image45; // Exit, normal
    // Title buttons, on the form, and their pictures.
    TImage* Image_X;        // close
    TImage* Image_X_Change; // close, highlighted
    TImage* Image_XX;       // close, normal
    TImage* Image43;        // minimize
    TImage* Image44;        // minimize, highlighted
    TImage* Image42;        // minimize, normal
    // Button pictures (highlighted, normal), hidden on the form.
    TImage* Image4;  // Setup
    TImage* Image12;
    TImage* Image5;  // User Guide
    TImage* Image14;
    TImage* Image7;  // Exit
    TImage* Image15;
    TImage* Image20; // Back
    TImage* Image23;
    TImage* Image21; // Next
    TImage* Image24;
    TImage* Image22; // Cancel
    TImage* Image25;
    // The pages' own controls.
    TRichEdit* RichEdit1;
    TRadioButton* RadioButton1;
    TRadioButton* RadioButton2;
    TEdit* SSID_EDIT;
    TComboBox* Channel_Combo;
    TComboBox* NetworkMode_Combo;
    TLabel* Label1; // review captions
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5; // review values: network type, SSID, channel, network mode
    TLabel* Label6;
    TLabel* Label7;
    TLabel* Label8;
    TTimer* Timer1; // waits for the installer

    TMessageThread* FWatcher = nullptr;
    std::string FSsid;
    int32_t FDefaultMode = 1;    // 1 infrastructure, 0 ad-hoc
    int32_t FDefaultChannel = 6;
    int32_t FDefaultGoo = 0;     // 0 mixed mode, 1 G-only mode
    bool FIsXP = false;          // Windows XP and later 5.x: Setup runs the installer at once
    int32_t FPage = pgWelcome;
    bool FInfrastructure = true;
    // Hover groups: the page buttons, the title buttons, the Congratulations Exit.
    THoverGroup Welcome, License, WirelessMode, Channel, Final, Title, Exit;

    bool Minimized = false;     // hidden by the minimize button, until the application is restored
    bool SetupLaunched = false; // the installer has been started
    std::string SystemIniPath;  // the system folder's wlan.ini

    // Start and end (unit1.cpp).
    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

    // Skin (unit1_skin.cpp).
    void InitComponent();
    void SetWindowShape();
    bool HitTestDrag(int X, int Y); // screen coordinates

    // Hover (unit1_hover.cpp).
    void ButtonMouseMove(THoverGroup& Group, int32_t Code);
    void BackgroundMouseMove(TImage* Background);
    void ResetHoverGroups(); // the pointer has left the window

    // Pages (unit1_pages.cpp).
    void ShowPage(TSetupPage Page);
    void Image3Click(TObject* Sender);
    void Image8Click(TObject* Sender);
    void Image10Click(TObject* Sender);
    void Image17Click(TObject* Sender);
    void Image18Click(TObject* Sender);
    void Image27Click(TObject* Sender);
    void Image28Click(TObject* Sender);
    void Image35Click(TObject* Sender);
    void Image36Click(TObject* Sender);
    void Image30Click(TObject* Sender);
    void Image_XClick(TObject* Sender);
    void Image43Click(TObject* Sender);
    void RadioButton1Click(TObject* Sender);
    void RadioButton2Click(TObject* Sender);

    // Installation (unit1_install.cpp).
    void Image31Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void Image40Click(TObject* Sender);
    void WriteSettingsFile();
    bool StartInstaller();
    bool InstallerRunning();

private:
    void CreateComponents();
    THoverGroup& PageGroup(TImage* Background);
    std::vector<TControl*> PageControls(TSetupPage Page);
    void PlaceReviewRows();
    // The page background whose mouse-move the hit test runs.
    TImage* PageBackground() const;
    HANDLE FInstaller = nullptr; // the installer's process while it may run
    HANDLE FInstanceMutex = nullptr;
};

extern TForm1* Form1;

// Plays one of the wizard's sounds (".\image\<Name>") without waiting for it.
void PlaySetupSound(const char* Name);
