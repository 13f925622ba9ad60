// The components of the main window and their designed properties; the
// positions that start-up sets itself are in LayoutControls.
#include "mainfrm.h"
#include "toolkit/formdata.h"
#include "toolkit/make_control.h"

namespace {

// A tick that comes once the exit has begun does nothing: the handlers use
// the workers, which the exit frees.
TTimer* NewTimer(TMainFrm* Form, UINT Interval, TNotifyEvent Handler)
{
    auto* timer = new TTimer(Form);
    timer->SetEnabled(false);
    timer->SetInterval(Interval);
    timer->OnTimer = [Form, Handler = std::move(Handler)](TObject* Sender) {
        if (!Form->Program.Quitting) Handler(Sender);
    };
    return timer;
}

// Points of the labels that stand in tight rows.
constexpr int SmallLabelSize = 7;

TLabel* NewLabel(TMainFrm* Form, const char* Name, int Left, int Top, int Width = 120)
{
    auto* label = MakeControl<TLabel>(Form, Form, Name, Left, Top, Width, 13);
    // Taking the form's font sized the label to its empty caption.
    label->SetAutoSize(false);
    label->SetBounds(Left, Top, Width, 13);
    label->SetTransparent(true);
    label->Font()->SetName("Tahoma");
    label->Font()->SetSize(8);
    label->Font()->SetColor(0x3D2D1E); // the skin's ink
    return label;
}

TPanel* NewPanel(TMainFrm* Form, const char* Name, int Left, int Top, int Width, int Height)
{
    auto* panel = MakeControl<TPanel>(Form, Form, Name, Left, Top, Width, Height);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(0xF2EBE4); // the skin's body colour
    return panel;
}

TImage* NewImage(TMainFrm* Form, TWinControl* Parent, const char* Name, int Left, int Top, int Width = 0,
                 int Height = 0)
{
    auto* image = MakeControl<TImage>(Form, Parent, Name, Left, Top, Width, Height);
    image->SetAutoSize(Width == 0);
    return image;
}

TButton* NewButton(TMainFrm* Form, const char* Name, const char* Caption, TWinControl* Parent = nullptr)
{
    auto* button = MakeControl<TButton>(Form, Parent ? Parent : Form, Name, 0, 0, 60, 22);
    button->SetCaption(Caption);
    return button;
}

TListView* NewList(TMainFrm* Form, const char* Name, std::initializer_list<std::pair<const char*, int>> Columns)
{
    auto* list = MakeControl<TListView>(Form, Form, Name, 0, 0, 180, 100);
    list->RowSelect = true;
    list->HideSelection = false;
    for (const auto& column : Columns) list->AddColumn(column.first, column.second);
    return list;
}

} // namespace

void TMainFrm::CreateComponents()
{
    BorderStyle = bsNone;
    KeyPreview = true;
    SetColor(0xF0E6E1);
    // The skin's size, in the middle of the work area: clear of the taskbar
    // and the notification area, where the user expects such a window.
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetBounds((work.left + work.right - 580) / 2, (work.top + work.bottom - 435) / 2, 580, 435);

    UpdateTimer = NewTimer(this, 0, [this](TObject* s) { UpdateTimerTimer(s); });
    CheckTimer = NewTimer(this, 0, [this](TObject* s) { CheckTimerTimer(s); });
    ConnectCheckTimer = NewTimer(this, 0, [this](TObject* s) { ConnectCheckTimerTimer(s); });
    DeviceCheckTimer = NewTimer(this, 0, [this](TObject* s) { DeviceCheckTimerTimer(s); });
    Timer1 = NewTimer(this, 500, [this](TObject* s) { Timer1Timer(s); });
    DetectIcon = NewTimer(this, 3000, [this](TObject* s) { DetectIconTimer(s); });

    PopupMenu = new TPopupMenu(this);
    Restore = new TMenuItem(this);
    Restore->Caption = "Open ZERA Verirez";
    Restore->Default = true;
    // The tray menu can still come up while the exit runs: its items would
    // show the window again or reach the freed workers.
    Restore->OnClick = [this](TObject* s) {
        if (!Program.Quitting) RestoreClick(s);
    };
    N1 = new TMenuItem(this);
    N1->Caption = "-";
    MonitorState = new TMenuItem(this);
    MonitorState->Caption = "Stop Monitor";
    MonitorState->OnClick = [this](TObject* s) {
        if (!Program.Quitting) MonitorStateClick(s);
    };
    for (TMenuItem* item : {Restore, N1, MonitorState}) PopupMenu->Items()->Add(item);
    ImageList = new TImageList(this);

    // Status panel, titles and the large link pictures, on the form itself.
    Img_Status = NewImage(this, this, "Img_Status", 9, 152);
    Img_Title = NewImage(this, this, "Img_Title", 170, 160);
    Img_GifTitle = NewImage(this, this, "Img_GifTitle", 120, 192);
    Img_LinkInfo = NewImage(this, this, "Img_LinkInfo", 30, 190);
    Img_Adhoc = NewImage(this, this, "Img_Adhoc", 70, 220);
    Img_Infrastrcture = NewImage(this, this, "Img_Infrastrcture", 70, 220);
    Img_MissAP = NewImage(this, this, "Img_MissAP", 70, 220);
    Img_MissInternet = NewImage(this, this, "Img_MissInternet", 70, 220);
    for (TImage* picture : {Img_Adhoc, Img_Infrastrcture, Img_MissInternet}) picture->Hide();

    // Page buttons and the title button, each in a panel of its own.
    Pal_Link = NewPanel(this, "Pal_Link", 10, 124, 118, 28);
    Pal_SiteSurvey = NewPanel(this, "Pal_SiteSurvey", 129, 124, 118, 28);
    Pal_Profiles = NewPanel(this, "Pal_Profiles", 250, 124, 118, 28);
    Img_Link = NewImage(this, Pal_Link, "Img_Link", 0, 0);
    Img_SiteSurvey = NewImage(this, Pal_SiteSurvey, "Img_SiteSurvey", 0, 0);
    Img_Profiles = NewImage(this, Pal_Profiles, "Img_Profiles", 0, 0);
    Img_Link->OnClick = [this](TObject* s) { Img_LinkClick(s); };
    Img_SiteSurvey->OnClick = [this](TObject* s) { Img_SiteSurveyClick(s); };
    Img_Profiles->OnClick = [this](TObject* s) { Img_ProfilesClick(s); };
    Img_Link->OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverPageButton(HoverItem::LinkButton); };
    Img_SiteSurvey->OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverPageButton(HoverItem::SurveyButton); };
    Img_Profiles->OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverPageButton(HoverItem::ProfilesButton); };
    for (TImage* button : {Img_Link, Img_SiteSurvey, Img_Profiles}) button->Cursor = crHandPoint;

    Pal_SysBtn = NewPanel(this, "Pal_SysBtn", 536, 6, 35, 37);
    Pal_SysBtn->SetColor(0x5E3A12); // the header's blue, under the title button
    Image7 = NewImage(this, Pal_SysBtn, "Image7", 0, 0);
    Image7->Cursor = crHandPoint;
    Image7->OnClick = [this](TObject* s) { Image7Click(s); };
    Image7->OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverButton(HoverItem::TitleButton, Image7, 0); };

    // The menu area: the menu picture, or the wizard's buttons.
    Pal_Menu = NewPanel(this, "Pal_Menu", 455, 260, 117, 132);
    Img_Menu = NewImage(this, Pal_Menu, "Img_Menu", 0, 0);
    Img_View = NewImage(this, Pal_Menu, "Img_View", 0, 0);
    Img_SaveTip = NewImage(this, Pal_Menu, "Img_SaveTip", 0, 0);
    for (TImage* picture : {Img_Menu, Img_View, Img_SaveTip})
        picture->OnMouseMove = [this](TObject*, TShiftState, int, int) { ClearHover(); };
    struct WizardButton {
        TImage*& Field;
        const char* Name;
        int Top;
        HoverItem Code;
        int32_t HotId;
    } wizardButtons[] = {
        {Img_Yes, "Img_Yes", 145, HoverItem::Yes, IDB_BUTTON_YES_HOT},
        {Img_No, "Img_No", 179, HoverItem::No, IDB_BUTTON_NO_HOT},
        {Img_Next, "Img_Next", 179, HoverItem::Next, IDB_BUTTON_NEXT_HOT},
        {Img_ActnewNow, "Img_ActnewNow", 179, HoverItem::ActivateNow, IDB_BUTTON_NOW_HOT},
        {Img_Back, "Img_Back", 213, HoverItem::Back, IDB_BUTTON_BACK_HOT},
        {Img_ActnewLater, "Img_ActnewLater", 213, HoverItem::ActivateLater, IDB_BUTTON_LATER_HOT},
    };
    for (WizardButton& b : wizardButtons) {
        b.Field = NewImage(this, Pal_Menu, b.Name, 2, b.Top, 126, 34);
        b.Field->Cursor = crHandPoint;
        b.Field->Hide();
        TImage* image = b.Field;
        const HoverItem code = b.Code;
        const int32_t hot = b.HotId;
        image->OnMouseMove = [this, image, code, hot](TObject*, TShiftState, int, int) { HoverButton(code, image, hot); };
    }
    // Enter moves the wizard on: Next, Yes on the confirmation, and Later on
    // the last page, which applies nothing. Esc hides the window, as ever.
    DefaultButtons = {Img_Next, Img_Yes, Img_ActnewLater};
    Pal_Search = NewPanel(this, "Pal_Search", 20, 200, 100, 20);
    Img_Search = NewImage(this, Pal_Search, "Img_Search", 0, 0);
    Pal_Search->Hide();

    // Link page.
    Pal_MoreInfo = NewPanel(this, "Pal_MoreInfo", 23, 156, 93, 25);
    Btn_MoreInfo = NewButton(this, "Btn_MoreInfo", "More Info", Pal_MoreInfo);
    Btn_Back = NewButton(this, "Btn_Back", "Back", Pal_MoreInfo);
    Btn_Back->Hide();
    Btn_MoreInfo->OnClick = [this](TObject* s) { Btn_MoreInfoClick(s); };
    Btn_Back->OnClick = [this](TObject* s) { Btn_BackClick(s); };
    Status_Img_SignalStreng = NewImage(this, this, "Status_Img_SignalStreng", 129, 361, 82, 13);
    Status_Img_LinkQuality = NewImage(this, this, "Status_Img_LinkQuality", 312, 361, 82, 13);
    for (TImage* bar : {Status_Img_SignalStreng, Status_Img_LinkQuality}) {
        bar->OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverPageButton(HoverItem::ProfilesButton); };
        bar->OnClick = [this](TObject* s) { Img_ProfilesClick(s); };
    }
    Status_Lbl_SignalStrength = NewLabel(this, "Status_Lbl_SignalStrength", 27, 361, 100);
    Status_Lbl_SignalStrength->SetCaption("Signal Strength:");
    Status_Lbl_LinkQuality = NewLabel(this, "Status_Lbl_LinkQuality", 229, 361, 80);
    Status_Lbl_LinkQuality->SetCaption("Link Quality:");
    Status_Lbl_State = NewLabel(this, "Status_Lbl_State", 312, 243);
    Status_Lbl_Connected = NewLabel(this, "Status_Lbl_Connected", 312, 253, 108);
    Status_Lbl_NetworkType = NewLabel(this, "Status_Lbl_NetworkType", 312, 263);
    Status_Lbl_TransmitRate = NewLabel(this, "Status_Lbl_TransmitRate", 312, 273);
    Status_Lbl_Channel = NewLabel(this, "Status_Lbl_Channel", 312, 282);
    Status_Lbl_Encryption = NewLabel(this, "Status_Lbl_Encryption", 312, 291);
    Status_Lbl_MAC = NewLabel(this, "Status_Lbl_MAC", 312, 301, 108);
    IPAddr = NewLabel(this, "IPAddr", 152, 243);
    SubNet = NewLabel(this, "SubNet", 152, 253);
    Gateway = NewLabel(this, "Gateway", 152, 263);
    DNS = NewLabel(this, "DNS", 152, 273);
    DNS1 = NewLabel(this, "DNS1", 152, 283);
    DHCPEnable = NewLabel(this, "DHCPEnable", 152, 283);
    // The detail rows stand 9 or 10 pixels apart, and an address of 15
    // characters has 72 pixels before the frame's divider: one point less
    // than the other labels keeps rows apart and addresses whole.
    for (TLabel* detail : {IPAddr, SubNet, Gateway, DNS, DNS1, DHCPEnable, Status_Lbl_State, Status_Lbl_Connected,
                           Status_Lbl_NetworkType, Status_Lbl_TransmitRate, Status_Lbl_Channel, Status_Lbl_Encryption,
                           Status_Lbl_MAC})
        detail->Font()->SetSize(SmallLabelSize);

    // Site survey page.
    // Columns in the order of the rows' texts (SSID, band, signal, ...): the
    // signal takes the client width that the SSID and band leave, so that
    // no title is cut and the signal reads without scrolling.
    Connections_LstV_APs = NewList(this, "Connections_LstV_APs", {{"SSID", 97}, {"Band", 44}});
    Connections_LstV_APs->AddColumn("Signal", 0, true);
    Connections_LstV_APs->OnMouseMove = [this](TObject*, TShiftState, int, int) {
        HoverIndex2 = HoverItem::SurveyList;
        ResetHoverImages();
        Pages.SelectedPageButton = PageButton::SiteSurvey;
        HoverIndex = HoverItem::SurveyList;
    };
    // Row pictures, 16 x 16 side by side on a magenta mask (survey_table.h).
    ImgLst_OpratingMode = new TImageList(this);
    {
        TBitmap rows;
        rows.LoadFromResourceID(::GetModuleHandleA(nullptr), IDB_SURVEY_ROWS);
        ImgLst_OpratingMode->AddMasked(&rows, 0xFF00FF);
    }
    Connections_LstV_APs->SmallImages = ImgLst_OpratingMode;
    Connections_LstV_APs->OnClick = [this](TObject* s) { Connections_LstV_APsClick(s); };
    Connections_LstV_APs->OnDblClick = [this](TObject* s) { Connections_LstV_APsDblClick(s); };
    Connections_LstV_APs->OnChange = [this](TObject* s, TListItem* item, TItemChange change) {
        Connections_LstV_APsChange(s, item, change);
    };
    Connections_LstV_APs->OnInfoTip = [this](TObject* s, TListItem* item, std::string& tip) {
        Connections_LstV_APsInfoTip(s, item, tip);
    };
    Connections_RefreshBtn = NewButton(this, "Connections_RefreshBtn", "Refresh");
    Connections_RefreshBtn->OnClick = [this](TObject* s) { Connections_RefreshBtnClick(s); };
    Connections_ConnectBtn = NewButton(this, "Connections_ConnectBtn", "Connect");
    Connections_ConnectBtn->OnClick = [this](TObject* s) { Connections_ConnectBtnClick(s); };
    Survey_Lbl_NetworkType = NewLabel(this, "Survey_Lbl_NetworkType", 316, 242);
    Survey_Lbl_Channel = NewLabel(this, "Survey_Lbl_Channel", 315, 258);
    Survey_Lbl_WEP = NewLabel(this, "Survey_Lbl_WEP", 315, 273);
    Survey_Lbl_MAC = NewLabel(this, "Survey_Lbl_MAC", 315, 288);
    Survey_Lbl_STime = NewLabel(this, "Survey_Lbl_STime", 312, 303);

    // Profiles page.
    Profile_LstV_Profile1 = NewList(this, "Profile_LstV_Profile1", {{"Profile", 95}, {"SSID", 80}});
    Profile_ConnectBtn = NewButton(this, "Profile_ConnectBtn", "Connect");
    Profile_EditBtn = NewButton(this, "Profile_EditBtn", "Edit");
    Profile_NewBtn = NewButton(this, "Profile_NewBtn", "New");
    ProfileSet_ImportBtn = NewButton(this, "ProfileSet_ImportBtn", "Import");
    ProfileSet_ExportBtn = NewButton(this, "ProfileSet_ExportBtn", "Export");
    Profile_DelBtn = NewButton(this, "Profile_DelBtn", "Delete");
    Profile_Lbl_NetworkType = NewLabel(this, "Profile_Lbl_NetworkType", 335, 239);
    Profile_Lbl_TxRate = NewLabel(this, "Profile_Lbl_TxRate", 335, 257);
    Profile_Lbl_Channel = NewLabel(this, "Profile_Lbl_Channel", 335, 272);
    Profile_Lbl_WEP = NewLabel(this, "Profile_Lbl_WEP", 335, 287);
    Profile_LstV_Profile1->SortedByCaption = true;
    Profile_LstV_Profile1->ShowColumnHeaders = false;
    Profile_LstV_Profile1->OnChange = [this](TObject* s, TListItem* i, TItemChange c) {
        Profile_LstV_Profile1Change(s, i, c);
    };
    Profile_LstV_Profile1->OnDblClick = [this](TObject* s) { Profile_LstV_Profile1DblClick(s); };
    Profile_LstV_Profile1->OnKeyPress = [this](TObject* s, char& k) { Profile_LstV_Profile1KeyPress(s, k); };
    Profile_ConnectBtn->OnClick = [this](TObject* s) { Profile_ConnectBtnClick(s); };
    Profile_EditBtn->OnClick = [this](TObject* s) { Profile_EditBtnClick(s); };
    Profile_NewBtn->OnClick = [this](TObject* s) { Profile_NewBtnClick(s); };
    Profile_DelBtn->OnClick = [this](TObject* s) { Profile_DelBtnClick(s); };

    // Profile wizard.
    ProfileSet_ProfileName = MakeControl<TEdit>(this, this, "ProfileSet_ProfileName", 100, 308, 140, 24);
    ProfileSet_ProfileName->Hide();
    CreateAddressFields();
    CreateWizardComponents();
    CreateProfileFileDialogs();

    // Confirmation page of the wizard.
    TLabel** confirm[] = {&ConfirmNew_ssid,   &ConfirmNew_network, &ConfirmNew_channel,
                          &ConfirmNew_wep,    &ConfirmNew_ipaddr,  &ConfirmNew_subnet,
                          &ConfirmNew_gateway, &ConfirmNew_dns,    &ConfirmNew_dns1};
    const char* confirmNames[] = {"ConfirmNew_ssid",   "ConfirmNew_network", "ConfirmNew_channel",
                                  "ConfirmNew_wep",    "ConfirmNew_ipaddr",  "ConfirmNew_subnet",
                                  "ConfirmNew_gateway", "ConfirmNew_dns",    "ConfirmNew_dns1"};
    // 92 pixels hold an address of 15 characters in the smaller size.
    for (size_t i = 0; i < 9; ++i) {
        *confirm[i] = NewLabel(this, confirmNames[i], 340, 274, 92);
        (*confirm[i])->Font()->SetSize(SmallLabelSize);
    }

    // Every page but the link page starts hidden.
    for (TControl* c : std::initializer_list<TControl*>{
             Connections_LstV_APs, Connections_RefreshBtn, Connections_ConnectBtn, Survey_Lbl_NetworkType,
             Survey_Lbl_Channel, Survey_Lbl_WEP, Survey_Lbl_MAC, Survey_Lbl_STime, Profile_LstV_Profile1,
             Profile_ConnectBtn, Profile_EditBtn, Profile_NewBtn, ProfileSet_ImportBtn, ProfileSet_ExportBtn,
             Profile_DelBtn, Profile_Lbl_NetworkType, Profile_Lbl_TxRate, Profile_Lbl_Channel, Profile_Lbl_WEP,
             ConfirmNew_ssid, ConfirmNew_network, ConfirmNew_channel, ConfirmNew_wep, ConfirmNew_ipaddr,
             ConfirmNew_subnet, ConfirmNew_gateway, ConfirmNew_dns, ConfirmNew_dns1, Img_LinkInfo, IPAddr, SubNet,
             Gateway, DNS, DNS1, DHCPEnable, Status_Lbl_State, Status_Lbl_Connected, Status_Lbl_NetworkType,
             Status_Lbl_TransmitRate, Status_Lbl_Channel, Status_Lbl_Encryption, Status_Lbl_MAC,
             Status_Img_SignalStreng, Status_Img_LinkQuality, Status_Lbl_SignalStrength, Status_Lbl_LinkQuality})
        c->Hide();

    LoadFormPictures(this);
}
