#include "mainfrm.h"
#include "skin_window.h"
#include "toolkit/application.h"
#include "wzc_service.h"

namespace {

HINSTANCE Module() { return ::GetModuleHandleA(nullptr); }

// A picture takes the bitmap resource; the bitmap it held is freed.
void LoadPicture(TImage* Image, int32_t Id)
{
    Image->Picture()->Bitmap()->LoadFromResourceID(Module(), Id);
}

TBitmap* LoadBitmap(int32_t Id)
{
    auto* bitmap = new TBitmap;
    bitmap->LoadFromResourceID(Module(), Id);
    return bitmap;
}

// The link page's title, by network type.
int32_t TitleByMode(const WlanInfo& Link)
{
    return Link.OperatingModeID == 1 ? IDB_TITLE_INFRASTRUCTURE : IDB_TITLE_ADHOC;
}

void FitPanel(TPanel* Panel, TImage* Image)
{
    Panel->SetBounds(Panel->Left(), Panel->Top(), Image->Picture()->Width(), Image->Picture()->Height());
}

bool IsLinkState(int32_t Id)
{
    return Id == IDB_TITLE_ADHOC || Id == IDB_TITLE_INFRASTRUCTURE || Id == IDB_TITLE_NO_LINK;
}

// The status panel of every page but the link page, whose panel tells the
// link's state (0 here).
int32_t PanelOfPage(Page P)
{
    switch (P) {
    case Page::SiteSurvey: return IDB_STATUS_SURVEY;
    case Page::Profiles: return IDB_STATUS_PROFILES;
    case Page::WizardNetwork: return IDB_STATUS_WIZARD_NETWORK;
    case Page::WizardChannel: return IDB_STATUS_WIZARD_CHANNEL;
    case Page::WizardTcpIp: return IDB_STATUS_WIZARD_TCPIP;
    case Page::WizardWep: return IDB_STATUS_WIZARD_WEP;
    case Page::WizardConfirm: return IDB_STATUS_WIZARD_CONFIRM;
    case Page::WizardActivate: return IDB_STATUS_WIZARD_ACTIVATE;
    case Page::Link: break;
    }
    return 0;
}

} // namespace

void TMainFrm::SetWindowShape()
{
    HWND wnd = Handle();
    OldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWndProc)));
    CutSkinRegion(wnd);
    Img_Status->BringToFront();
    Pages.SelectedPageButton = PageButton::Link;
}

void TMainFrm::LayoutControls()
{
    Pal_Link->SetBounds(10, 124, Pal_Link->Width(), Pal_Link->Height());
    Pal_SiteSurvey->SetLeft(Pal_Link->Left() + 119);
    Pal_Profiles->SetLeft(Pal_SiteSurvey->Left() + 121);
    Img_Status->SetBounds(9, 152, Img_Status->Width(), Img_Status->Height());

    Status_Img_LinkQuality->SetBounds(312, 361, 82, 13);
    Status_Img_SignalStreng->SetBounds(129, 361, 82, 13);
    Status_Lbl_LinkQuality->SetBounds(229, 361, Status_Lbl_LinkQuality->Width(), 13);
    Status_Lbl_SignalStrength->SetBounds(27, 361, Status_Lbl_SignalStrength->Width(), 13);
    int top = 243;
    for (TLabel* label : {IPAddr, SubNet, Gateway, DNS}) {
        label->SetBounds(152, top, label->Width(), label->Height());
        top += 10;
    }
    DNS1->SetBounds(152, DNS->Top() + 10, DNS1->Width(), DNS1->Height());
    DHCPEnable->SetBounds(152, DNS->Top() + 10, DHCPEnable->Width(), DHCPEnable->Height());
    struct Step {
        TLabel* Label;
        int Down, Width;
    } details[] = {{Status_Lbl_Connected, 10, 108}, {Status_Lbl_NetworkType, 10, 0}, {Status_Lbl_TransmitRate, 10, 0},
                   {Status_Lbl_Channel, 9, 0},      {Status_Lbl_Encryption, 9, 0},   {Status_Lbl_MAC, 10, 108}};
    Status_Lbl_State->SetBounds(312, 243, Status_Lbl_State->Width(), Status_Lbl_State->Height());
    top = 243;
    for (const Step& s : details) {
        top += s.Down;
        s.Label->SetBounds(312, top, s.Width ? s.Width : s.Label->Width(), s.Label->Height());
    }

    // 30 pixels wider than designed, for the signal column; the details
    // beside it begin 20 further right.
    Connections_LstV_APs->SetBounds(40, 230, 210, 100);
    Connections_RefreshBtn->SetBounds(55, 345, 60, 22);
    Connections_ConnectBtn->SetBounds(135, 345, 60, 22);
    Survey_Lbl_NetworkType->SetBounds(316, 242, Survey_Lbl_NetworkType->Width(), 13);
    top = 242;
    for (TLabel* label : {Survey_Lbl_Channel, Survey_Lbl_WEP, Survey_Lbl_MAC}) {
        top += label == Survey_Lbl_Channel ? 16 : 15;
        label->SetBounds(315, top, label->Width(), 13);
    }
    Survey_Lbl_STime->SetBounds(312, top + 15, Survey_Lbl_STime->Width(), 13);

    Profile_Lbl_NetworkType->SetBounds(335, 239, Profile_Lbl_NetworkType->Width(), 13);
    Profile_Lbl_TxRate->SetBounds(335, 257, Profile_Lbl_TxRate->Width(), 13);
    Profile_Lbl_Channel->SetBounds(335, 272, Profile_Lbl_Channel->Width(), 13);
    Profile_Lbl_WEP->SetBounds(335, 287, Profile_Lbl_WEP->Width(), 13);
    Profile_LstV_Profile1->SetBounds(47, 230, 180, 100);
    // The six buttons stand in one row, 65 pixels apart.
    int left = 47;
    for (TButton* button : {Profile_ConnectBtn, Profile_EditBtn, Profile_NewBtn, ProfileSet_ImportBtn,
                            ProfileSet_ExportBtn, Profile_DelBtn}) {
        button->SetBounds(left, 351, 60, 22);
        left += 65;
    }

    Img_Yes->SetBounds(2, 145, 126, 34);
    for (TImage* button : {Img_No, Img_Next, Img_ActnewNow}) button->SetBounds(2, 179, 126, 34);
    for (TImage* button : {Img_Back, Img_ActnewLater}) button->SetBounds(2, 213, 126, 34);

    Pal_SysBtn->SetBounds(536, 6, 35, 37);
    ConfirmNew_ssid->SetBounds(340, 274, 92, 12);
    top = 274;
    const int confirmSteps[] = {12, 12, 11, 11, 11, 11, 11, 13};
    TLabel* confirm[] = {ConfirmNew_network, ConfirmNew_channel, ConfirmNew_wep, ConfirmNew_ipaddr,
                         ConfirmNew_subnet,  ConfirmNew_gateway, ConfirmNew_dns, ConfirmNew_dns1};
    for (int i = 0; i < 8; ++i) {
        top += confirmSteps[i];
        confirm[i]->SetBounds(340, top, 92, 12);
    }

    // One place for the four: the status panel shows one at a time there.
    for (TImage* picture : LinkPictures())
        picture->SetBounds(70, 220, picture->Picture()->Width(), picture->Picture()->Height());
    Pal_MoreInfo->SetBounds(23, 156, 93, 25);
    Btn_MoreInfo->SetBounds(-2, -2, 93, 25);
    Btn_Back->SetBounds(-2, -2, 93, 25);
}

void TMainFrm::SetControlFonts()
{
    const bool large = Pages.LargeFonts = Screen->PixelsPerInch() > 96;
    const std::string face = large ? "Small Fonts" : "Microsoft Sans Serif";
    const int size = large ? 6 : 8;
    Font()->SetName(face);
    Font()->SetSize(size);
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        const std::string kind = c->ClassName();
        if (kind == "TEdit" || kind == "TListView") {
            auto* control = static_cast<TControl*>(c);
            control->Font()->SetName(face);
            control->Font()->SetSize(size);
        } else if (kind == "TComboBox") {
            auto* control = static_cast<TControl*>(c);
            control->Font()->SetName("Microsoft Sans Serif");
            control->Font()->SetSize(10);
        }
    }
    Connections_LstV_APs->SetColumnWidth(0, large ? 92 : 97);
    Profile_LstV_Profile1->SetColumnWidth(0, large ? 92 : 95);
    Profile_LstV_Profile1->SetColumnWidth(1, large ? 68 : 80);
}

void TMainFrm::LoadSkinBitmaps()
{
    BackgroundBitmap = LoadBitmap(IDB_BACKGROUND);
    TitleButtonExitBitmap = LoadBitmap(IDB_TITLE_BUTTON_EXIT);
    TitleButtonBitmap = LoadBitmap(IDB_TITLE_BUTTON);
    TitleButtonHotBitmap = LoadBitmap(IDB_TITLE_BUTTON_HOT);
    BackgroundWidth = BackgroundBitmap->Width();
    BackgroundHeight = BackgroundBitmap->Height();
    Image7->Picture()->Assign(TitleButtonBitmap);
    SetMenuImage(IDB_MENU_NO_ADAPTER);
    Img_Title->SetBounds(170, 160, Img_Title->Width(), Img_Title->Height());
    Img_Menu->SetBounds(0, 0, Img_Menu->Width(), Img_Menu->Height());
    Img_View->SetBounds(0, 0, Img_View->Width(), Img_View->Height());
    Pal_Menu->SetBounds(455, 260, Img_View->Width(), Img_View->Height());
    Pal_SysBtn->SetBounds(Pal_SysBtn->Left(), Pal_SysBtn->Top(), Image7->Width(), Image7->Height() + 1);
    Image7->SetBounds(0, 0, Image7->Width(), Image7->Height());

    // Tray icons by index: 1 disabled, 2 scanning, 3 to 5 connected.
    ImageList->Clear();
    const char* icons[] = {"ICO00", "ICO02", "ICO01", "ICO00", "ICO00", "ICO00", "ICO00", "ICO00",
                           "ICO00", "ICO02", "ICO02", "ICO02", "ICO02", "ICO02", "ICO02"};
    for (const char* name : icons) {
        TIcon icon;
        icon.LoadFromResourceName(Module(), name);
        ImageList->AddIcon(&icon);
    }
    ResetHoverImages();
}

void TMainFrm::FreeSkinBitmaps()
{
    for (TBitmap** bitmap : {&BackgroundBitmap, &TitleButtonExitBitmap, &TitleButtonBitmap, &TitleButtonHotBitmap}) {
        delete *bitmap;
        *bitmap = nullptr;
    }
}

void TMainFrm::SetMenuImage(int32_t Id)
{
    if (Survey.SurveyInProgress || IsWizardPage(Pages.CurrentPage)) return;
    LoadPicture(Img_View, Id);
    Pal_Menu->SetBounds(454, 255, Img_View->Picture()->Width(), Img_View->Picture()->Height());
}

void TMainFrm::SetPageButtonImages(int32_t LinkId, int32_t SurveyId, int32_t ProfilesId)
{
    LoadPicture(Img_Link, LinkId);
    LoadPicture(Img_SiteSurvey, SurveyId);
    LoadPicture(Img_Profiles, ProfilesId);
    FitPanel(Pal_Link, Img_Link);
    FitPanel(Pal_SiteSurvey, Img_SiteSurvey);
    FitPanel(Pal_Profiles, Img_Profiles);
}

void TMainFrm::ShowLinkInfoImage()
{
    if (Pages.MoreInfoHidden) return;
    LoadPicture(Img_LinkInfo, IDB_LINK_INFO_FRAME);
    Img_LinkInfo->SetBounds(30, 190, 389, 125);
}

void TMainFrm::SetWizardButtonImage(int32_t Id)
{
    struct {
        int32_t Normal, Hot;
        TImage* Button;
    } const buttons[] = {{IDB_BUTTON_BACK, IDB_BUTTON_BACK_HOT, Img_Back},
                         {IDB_BUTTON_NEXT, IDB_BUTTON_NEXT_HOT, Img_Next},
                         {IDB_BUTTON_NO, IDB_BUTTON_NO_HOT, Img_No},
                         {IDB_BUTTON_YES, IDB_BUTTON_YES_HOT, Img_Yes},
                         {IDB_BUTTON_NOW, IDB_BUTTON_NOW_HOT, Img_ActnewNow},
                         {IDB_BUTTON_LATER, IDB_BUTTON_LATER_HOT, Img_ActnewLater}};
    for (const auto& b : buttons)
        if (Id == b.Normal || Id == b.Hot) {
            LoadPicture(b.Button, Id);
            return;
        }
    for (const auto& b : buttons) b.Button->Picture()->Assign(nullptr);
}

void TMainFrm::SetStatusImage(int32_t Id)
{
    const bool linkPage = Pages.CurrentPage == Page::Link;
    const bool summary = linkPage && Pages.MoreInfoHidden;
    // A link state is the link page's panel, with its titles and pictures.
    // Another page keeps its own panel when a connect has chosen the link
    // page's next state and the window's showing puts that up.
    if (IsLinkState(Id) && !linkPage) Id = PanelOfPage(Pages.CurrentPage);
    const bool linkState = IsLinkState(Id);

    Img_Status->Picture()->Assign(nullptr);
    LoadPicture(Img_Status, linkState ? IDB_STATUS_LINK : Id);
    Img_Status->SetBounds(Img_Status->Left(), Img_Status->Top(), Img_Status->Picture()->Width(),
                          Img_Status->Picture()->Height());

    auto place = [](TImage* Image, int Left, int Top, int32_t PictureId) {
        LoadPicture(Image, PictureId);
        Image->SetBounds(Left, Top, Image->Picture()->Width(), Image->Picture()->Height());
    };
    if (!linkPage) {
        Img_Title->Picture()->Assign(nullptr);
        Img_GifTitle->Picture()->Assign(nullptr);
        // The wizard's pages say whether it makes a profile or edits one.
        if (IsWizardPage(Pages.CurrentPage))
            place(Img_Title, 19, 158, Pages.WizardEditMode ? IDB_TITLE_EDIT_PROFILE : IDB_TITLE_NEW_PROFILE);
    } else if (!Pages.MoreInfoHidden) {
        place(Img_Title, Id == IDB_TITLE_INFRASTRUCTURE ? 150 : 170, 160, TitleByMode(Link.CurrentLinkInfo));
        Img_GifTitle->Picture()->Assign(nullptr);
    }

    if (Id == IDB_TITLE_NO_LINK || (!Link.AdapterOpened && summary)) {
        Img_Title->Picture()->Assign(nullptr);
        place(Img_GifTitle, 120, 192, IDB_TITLE_NO_LINK);
        ShowOnlyLinkPicture(Img_MissAP);
    } else if (Id == IDB_TITLE_INFRASTRUCTURE && summary) {
        place(Img_Title, 150, 160, IDB_TITLE_INFRASTRUCTURE);
        place(Img_GifTitle, 35, 192, IDB_CAPTION_INFRASTRUCTURE);
        const bool reached = Pages.LinkPictureState == LinkPicture::Infrastructure;
        ShowOnlyLinkPicture(reached ? Img_Infrastrcture : Img_MissInternet);
        if (!reached) Pages.LinkPictureState = LinkPicture::MissingInternet;
    } else if (Id == IDB_TITLE_ADHOC && summary) {
        place(Img_Title, 170, 160, IDB_TITLE_ADHOC);
        place(Img_GifTitle, 98, 192, IDB_CAPTION_ADHOC);
        ShowOnlyLinkPicture(Img_Adhoc);
        Pages.LinkPictureState = LinkPicture::AdHoc;
    }
    for (TImage* title : {Img_Title, Img_GifTitle}) {
        title->BringToFront();
        title->Show();
    }
}

void TMainFrm::SetStatusPanel(int32_t Id)
{
    Pages.StatusImageId = Id;
    SetStatusImage(Id);
    Pages.PreviousStatusImageId = Id;
}

void TMainFrm::CheckStatusPage()
{
    if (Pages.PreviousPage != Page::Link) return;
    int32_t id;
    if (Link.AdapterOpened) {
        Pal_MoreInfo->Show();
        id = TitleByMode(Link.CurrentLinkInfo);
    } else {
        Pal_MoreInfo->Hide();
        Img_LinkInfo->Hide();
        id = IDB_TITLE_NO_LINK;
    }
    SetStatusPanel(id);
}

int32_t TMainFrm::MenuImageId() const { return Link.AdapterOpened ? IDB_MENU_ADAPTER : IDB_MENU_NO_ADAPTER; }

// The page's tab comes up with its panel, in the same frame: the pumps of a
// switch paint what has changed so far.
bool TMainFrm::MainPanelSet(Page P)
{
    SetMenuImage(MenuImageId());
    int32_t id = PanelOfPage(P);
    switch (P) {
    case Page::Link:
        SetPageButtonImages(IDB_TAB_LINK, IDB_TAB_SURVEY_OFF, IDB_TAB_PROFILES_OFF);
        if (Link.AdapterOpened && (!Pages.MoreInfoHidden || Link.LinkUp())) {
            Pal_MoreInfo->Show();
            id = TitleByMode(Link.CurrentLinkInfo);
        } else {
            Pal_MoreInfo->Hide();
            id = IDB_TITLE_NO_LINK;
        }
        break;
    case Page::SiteSurvey: SetPageButtonImages(IDB_TAB_LINK_OFF, IDB_TAB_SURVEY, IDB_TAB_PROFILES_OFF); break;
    default: SetPageButtonImages(IDB_TAB_LINK_OFF, IDB_TAB_SURVEY_OFF, IDB_TAB_PROFILES); break; // and the wizard's
    }
    SetStatusPanel(id);
    Application->ProcessMessages();
    return true;
}

void TMainFrm::UpdateProfilesButton()
{
    const bool blocked = WzcServiceBlocks(Program.WinVersionCode);
    Img_Profiles->Cursor = blocked ? crDefault : crHandPoint;
    Img_Profiles->SetEnabled(!blocked);
}

void TMainFrm::ClearPageLabels()
{
    for (TLabel* label : {Status_Lbl_State, Status_Lbl_NetworkType, Status_Lbl_TransmitRate, Status_Lbl_Channel,
                          Status_Lbl_Encryption, Status_Lbl_MAC, Profile_Lbl_NetworkType, Profile_Lbl_Channel,
                          Profile_Lbl_WEP, Profile_Lbl_TxRate, ConfirmNew_ssid, ConfirmNew_network,
                          ConfirmNew_channel, ConfirmNew_wep, ConfirmNew_ipaddr, ConfirmNew_subnet, ConfirmNew_gateway,
                          ConfirmNew_dns, ConfirmNew_dns1})
        label->SetCaption("");
    Status_Img_SignalStreng->SetWidth(0);
    Status_Img_LinkQuality->SetWidth(0);
}

void TMainFrm::EnableConnectControls(bool Enabled)
{
    for (TControl* c : std::initializer_list<TControl*>{Connections_LstV_APs, Profile_ConnectBtn,
                                                        Connections_ConnectBtn, Connections_RefreshBtn})
        c->SetEnabled(Enabled);
}
