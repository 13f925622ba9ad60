#include "globals.h"
#include "mainfrm.h"
#include "nic_detect.h"
#include "toolkit/application.h"

#include <initializer_list>

namespace {

void SetShown(std::initializer_list<TControl*> Controls, bool Show)
{
    if (Show)
        for (TControl* c : Controls) c->BringToFront();
    for (TControl* c : Controls) c->SetVisible(Show);
}

} // namespace

// The link page's large pictures and its More Info button.
void TMainFrm::HideLinkSummary()
{
    for (TControl* c : std::initializer_list<TControl*>{Img_Infrastrcture, Img_MissInternet, Img_Adhoc, Img_MissAP,
                                                        Pal_MoreInfo})
        c->Hide();
}

void TMainFrm::ShowLinkControls(bool Show)
{
    ShowLinkInfoImage();
    SetShown({Img_LinkInfo, IPAddr, SubNet, Gateway, DNS, DHCPEnable, Status_Lbl_State, Status_Lbl_Connected,
              Status_Lbl_NetworkType, Status_Lbl_TransmitRate, Status_Lbl_Channel, Status_Lbl_Encryption,
              Status_Lbl_MAC, Status_Img_SignalStreng, Status_Img_LinkQuality, Status_Lbl_SignalStrength,
              Status_Lbl_LinkQuality},
             Show);
    DNS1->Hide();
    if (Show) {
        Img_GifTitle->Hide();
        Img_Title->BringToFront();
        Img_Title->Show();
    } else {
        Img_LinkInfo->Picture()->Assign(nullptr);
    }
    Application->ProcessMessages();
}

void TMainFrm::ShowSurveyControls(bool Show)
{
    if (Show != Survey_Lbl_NetworkType->Visible())
        SetShown({Survey_Lbl_NetworkType, Survey_Lbl_Channel, Survey_Lbl_WEP, Survey_Lbl_MAC, Survey_Lbl_STime,
                  Connections_LstV_APs, Connections_ConnectBtn, Connections_RefreshBtn},
                 Show);
    UpdateConnectButton();
    Application->ProcessMessages();
}

// On XP the Connect button waits for Windows' own wireless service to stop;
// elsewhere for an open adapter.
void TMainFrm::UpdateConnectButton()
{
    Connections_ConnectBtn->SetEnabled(WinVersionCode == 6 ? !ControlWzcService(2) : AdapterOpened != 0);
}

void TMainFrm::ShowProfileControls(bool Show)
{
    if (Show != Profile_Lbl_NetworkType->Visible())
        SetShown({Profile_Lbl_NetworkType, Profile_Lbl_TxRate, Profile_Lbl_Channel, Profile_Lbl_WEP,
                  Profile_LstV_Profile1, Profile_NewBtn, Profile_EditBtn, Profile_DelBtn, Profile_ConnectBtn,
                  ProfileSet_ImportBtn, ProfileSet_ExportBtn},
                 Show);
    Application->ProcessMessages();
}

void TMainFrm::ShowWizardActivateControls(bool) { Application->ProcessMessages(); }

void TMainFrm::HidePreviousPage()
{
    switch (PreviousPage) {
    case 0: ShowLinkControls(false); break;
    case 1: ShowSurveyControls(false); break;
    case 2: ShowProfileControls(false); break;
    }
}

void TMainFrm::ShowMainMenu()
{
    if (!WizardClosed) {
        SetMenuImage(AdapterOpened ? 1029 : 1027);
        Img_View->BringToFront();
        Img_View->Show();
        WizardClosed = 1;
        Img_SaveTip->Hide();
    }
    for (TImage* button : {Img_Next, Img_Yes, Img_No, Img_Back, Img_ActnewNow, Img_ActnewLater}) button->Hide();
}

void TMainFrm::ShowLinkPage()
{
    HidePreviousPage();
    CurrentPage = 0;
    MainPanelSet(0);
    if (AdapterOpened) ShowLinkControls(!MoreInfoHidden);
    ShowMainMenu();
    PreviousPage = 0;
    SetShown({Status_Img_SignalStreng, Status_Img_LinkQuality, Status_Lbl_SignalStrength, Status_Lbl_LinkQuality},
             AdapterOpened != 0);
    ResumeGifThreadIfIdle();
}

void TMainFrm::ShowSurveyPage()
{
    HidePreviousPage();
    CurrentPage = 1;
    MainPanelSet(1);
    ShowSurveyControls(true);
    ShowMainMenu();
    PreviousPage = 1;
    HideLinkSummary();
    Application->ProcessMessages();
}

void TMainFrm::ShowProfilePage()
{
    HidePreviousPage();
    CurrentPage = 2;
    SavedWizardPage = 2;
    WizardEditMode = 0;
    MainPanelSet(2);
    ShowProfileControls(true);
    ShowMainMenu();
    PreviousPage = 2;
    HideLinkSummary();
    Application->ProcessMessages();
}

void TMainFrm::ShowWizardButtons()
{
    if (Img_View->Visible()) {
        Img_View->Picture()->Assign(nullptr);
        Img_View->Hide();
    }
    auto show = [this](TImage* Button, int Top, int32_t NormalId) {
        if (!Button->Visible()) {
            SetWizardButtonImage(NormalId);
            Button->BringToFront();
        }
        Button->SetBounds(0, Top, Button->Width(), Button->Height());
        Button->Show();
    };
    auto place = [this](int Left, int Top, int Height, TImage* WidthFrom) {
        Pal_Menu->SetBounds(Left, Top, WidthFrom->Picture()->Width() - 2, Height);
    };
    if (CurrentPage >= 4 && CurrentPage <= 8) {
        show(Img_Next, 0, 1035);
        show(Img_Back, 34, 1032);
        Img_Yes->Hide();
        Img_No->Hide();
        place(447, 320, 68, Img_Next);
    } else if (CurrentPage == 12) {
        show(Img_Yes, 0, 1044);
        show(Img_No, 34, 1041);
        show(Img_Back, 68, 1032);
        Img_Next->Hide();
        place(447, 290, 102, Img_Yes);
    } else if (CurrentPage == 13) {
        show(Img_ActnewNow, 0, 1050);
        show(Img_ActnewLater, 34, 1053);
        for (TImage* b : {Img_Yes, Img_No, Img_Back}) b->Hide();
        place(447, 320, 68, Img_ActnewNow);
    }
}

void TMainFrm::Img_LinkClick(TObject*)
{
    ShowMainMenu();
    if (SelectedPageButton != 0) {
        if (Pal_Search->Visible()) Pal_Search->Hide();
        SetPageButtonImages(1081, 1084, 1086);
        ShowLinkPage();
    }
    PlaySoundThenStop("click.wav");
    SelectedPageButton = 0;
}

void TMainFrm::Img_SiteSurveyClick(TObject*)
{
    for (TControl* c : std::initializer_list<TControl*>{Pal_MoreInfo, Status_Img_LinkQuality, Status_Img_SignalStreng})
        c->Hide();
    ConnectCheckTimer->SetInterval(300);
    ConnectCheckTimer->SetEnabled(true);
    ShowMainMenu();
    SetPageButtonImages(1082, 1083, 1086);
    ShowSurveyPage();
    if (Connections_LstV_APs->Items()->Count() == 0) RefreshSiteSurvey();
    else CheckTimerTimer(this);
    PlaySoundThenStop("click.wav");
    SelectedPageButton = 1;
}

void TMainFrm::Img_ProfilesClick(TObject*)
{
    HideLinkSummary();
    if (WzcServiceBlocks()) return;
    if (SelectedPageButton != 2) {
        SetPageButtonImages(1082, 1084, 1085);
        if (WizardEditMode < 1) ShowProfilePage();
        // Resuming an interrupted wizard comes with the wizard's pages.
    }
    PlaySoundThenStop("click.wav");
    SelectedPageButton = 2;
}

void TMainFrm::Image7Click(TObject*) { HideToTray(); }
