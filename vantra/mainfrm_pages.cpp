#include "mainfrm.h"
#include "toolkit/application.h"
#include "wzc_service.h"

#include <initializer_list>
#include <utility>

namespace {

void SetShown(std::initializer_list<TControl*> Controls, bool Show)
{
    if (Show)
        for (TControl* c : Controls) c->BringToFront();
    for (TControl* c : Controls) c->SetVisible(Show);
}

} // namespace

TPageSwitch::TPageSwitch(TPageState& State, SwitchScope Scope)
    : Entered(Scope == SwitchScope::Handler ? !State.Busy() : !State.Entering), State(State),
      Held(Scope == SwitchScope::Handler ? State.Switching : State.Entering)
{
    if (Entered) Held = true;
}

TPageSwitch::~TPageSwitch()
{
    if (!Entered) return;
    Held = false;
    if (!State.Busy() && State.PressedMeanwhile) Application->Queue(std::exchange(State.PressedMeanwhile, nullptr));
}

// A page button pressed while pages switch is pressed again once they have:
// the page the user chose last is the one shown.
bool TMainFrm::PressLaterWhileSwitching(void (TMainFrm::*Click)(TObject*))
{
    if (!Pages.Busy()) return false;
    Pages.PressedMeanwhile = [this, Click] {
        if (!Program.Quitting) (this->*Click)(this);
    };
    return true;
}

// The link page is current and no switch is under way: its pictures and
// bars may show.
bool TMainFrm::LinkPageSettled() const { return Pages.CurrentPage == Page::Link && !Pages.Busy(); }

// The link page's large pictures and its More Info button.
void TMainFrm::HideLinkSummary()
{
    HideLinkPictures();
    Pal_MoreInfo->Hide();
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
// elsewhere for an open adapter; and always for a refresh of the list to end.
void TMainFrm::UpdateConnectButton()
{
    Connections_ConnectBtn->SetEnabled(Survey.ListUse != SurveyListUse::Refresh &&
                                       (Program.WinVersionCode == 6 ? !ControlWzcService(2) : Link.AdapterOpened.load()));
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

// Leaving the link page takes its summary away too, before anything of the
// next page shows.
void TMainFrm::HidePreviousPage(Page Next)
{
    switch (Pages.PreviousPage) {
    case Page::Link:
        if (Next != Page::Link) HideLinkSummary();
        ShowLinkControls(false);
        break;
    case Page::SiteSurvey: ShowSurveyControls(false); break;
    case Page::Profiles: ShowProfileControls(false); break;
    default: ShowWizardControls(Pages.PreviousPage, false); break;
    }
}

void TMainFrm::ShowMainMenu()
{
    if (!Pages.WizardClosed) {
        SetMenuImage(MenuImageId());
        Img_View->BringToFront();
        Img_View->Show();
        Pages.WizardClosed = true;
        Img_SaveTip->Hide();
    }
    for (TImage* button : {Img_Next, Img_Yes, Img_No, Img_Back, Img_ActnewNow, Img_ActnewLater}) button->Hide();
}

void TMainFrm::ShowLinkPage()
{
    const TPageSwitch entering(Pages, SwitchScope::Page);
    if (!entering.Entered) return;
    HidePreviousPage(Page::Link);
    Pages.CurrentPage = Page::Link;
    // Filled before anything of the page shows: details and bars kept from
    // an earlier pass may be of another state of the link.
    ShowLinkAtHand();
    MainPanelSet(Page::Link);
    if (Link.AdapterOpened) ShowLinkControls(!Pages.MoreInfoHidden);
    ShowMainMenu();
    Pages.PreviousPage = Page::Link;
    ShowLinkBars();
    ResumeGifThreadIfIdle();
}

// The two bars and their captions, while an adapter is open.
void TMainFrm::ShowLinkBars()
{
    SetShown({Status_Img_SignalStreng, Status_Img_LinkQuality, Status_Lbl_SignalStrength, Status_Lbl_LinkQuality},
             Link.AdapterOpened);
}

void TMainFrm::ShowSurveyPage()
{
    const TPageSwitch entering(Pages, SwitchScope::Page);
    if (!entering.Entered) return;
    HidePreviousPage(Page::SiteSurvey);
    Pages.CurrentPage = Page::SiteSurvey;
    MainPanelSet(Page::SiteSurvey);
    ShowSurveyControls(true);
    Survey.SelectedRowIndex = -1;
    Survey.LastTopIndex = -1;
    ShowMainMenu();
    Pages.PreviousPage = Page::SiteSurvey;
    Application->ProcessMessages();
}

void TMainFrm::ShowProfilePage()
{
    const TPageSwitch entering(Pages, SwitchScope::Page);
    if (!entering.Entered) return;
    HidePreviousPage(Page::Profiles);
    Pages.CurrentPage = Page::Profiles;
    Pages.SavedWizardPage = Page::Profiles;
    Pages.WizardEditMode = false;
    MainPanelSet(Page::Profiles);
    ShowProfileControls(true);
    ShowMainMenu();
    Pages.PreviousPage = Page::Profiles;
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
    switch (Pages.CurrentPage) {
    case Page::WizardNetwork:
    case Page::WizardChannel:
    case Page::WizardTcpIp:
    case Page::WizardWep:
        show(Img_Next, 0, IDB_BUTTON_NEXT);
        show(Img_Back, 34, IDB_BUTTON_BACK);
        Img_Yes->Hide();
        Img_No->Hide();
        place(447, 320, 68, Img_Next);
        break;
    case Page::WizardConfirm:
        show(Img_Yes, 0, IDB_BUTTON_YES);
        show(Img_No, 34, IDB_BUTTON_NO);
        show(Img_Back, 68, IDB_BUTTON_BACK);
        Img_Next->Hide();
        place(447, 290, 102, Img_Yes);
        break;
    case Page::WizardActivate:
        show(Img_ActnewNow, 0, IDB_BUTTON_NOW);
        show(Img_ActnewLater, 34, IDB_BUTTON_LATER);
        for (TImage* b : {Img_Yes, Img_No, Img_Back}) b->Hide();
        place(447, 320, 68, Img_ActnewNow);
        break;
    default: break; // the main pages have no wizard buttons
    }
}

void TMainFrm::Img_LinkClick(TObject*)
{
    if (PressLaterWhileSwitching(&TMainFrm::Img_LinkClick)) return;
    const TPageSwitch switching(Pages);
    ShowMainMenu();
    if (Pages.SelectedPageButton != PageButton::Link) {
        if (Pal_Search->Visible()) Pal_Search->Hide();
        ShowLinkPage();
        if (Program.Quitting) return;
    }
    Pages.SelectedPageButton = PageButton::Link;
    PlaySoundThenStop("click.wav");
}

void TMainFrm::Img_SiteSurveyClick(TObject*)
{
    if (PressLaterWhileSwitching(&TMainFrm::Img_SiteSurveyClick)) return;
    {
        // The survey that may follow is not part of the switch: the other
        // page buttons stay usable while it runs.
        const TPageSwitch switching(Pages);
        for (TControl* c :
             std::initializer_list<TControl*>{Pal_MoreInfo, Status_Img_LinkQuality, Status_Img_SignalStreng})
            c->Hide();
        ConnectCheckTimer->SetInterval(300);
        ConnectCheckTimer->SetEnabled(true);
        ShowMainMenu();
        ShowSurveyPage();
        if (Program.Quitting) return;
        Pages.SelectedPageButton = PageButton::SiteSurvey;
    }
    if (Connections_LstV_APs->Items()->Count() == 0) RefreshSiteSurvey();
    else CheckTimerTimer(this);
    if (Program.Quitting) return;
    PlaySoundThenStop("click.wav");
}

void TMainFrm::Img_ProfilesClick(TObject*)
{
    if (PressLaterWhileSwitching(&TMainFrm::Img_ProfilesClick)) return;
    const TPageSwitch switching(Pages);
    HideLinkSummary();
    if (WzcServiceBlocks(Program.WinVersionCode)) return;
    if (Pages.SelectedPageButton != PageButton::Profiles) {
        if (!Pages.WizardEditMode) ShowProfilePage();
        else if (IsWizardPage(Pages.SavedWizardPage)) ShowWizardPage(Pages.SavedWizardPage);
        if (Program.Quitting) return;
    }
    Pages.SelectedPageButton = PageButton::Profiles;
    PlaySoundThenStop("click.wav");
}

void TMainFrm::Image7Click(TObject*) { HideToTray(); }
