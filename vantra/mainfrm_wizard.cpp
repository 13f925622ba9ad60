// The profile wizard: it edits Profiles.NewProfile page by page on the main
// window (network name and type, channel and network mode, TCP/IP, WEP, a
// confirmation that stores the profile, then activate now or later).
// Everything runs on the main thread; only activating a profile that was
// not stored hands work to the TCP/IP applier.
#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "ip_address.h"
#include "mainfrm.h"
#include "profile_rules.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"
#include "wep_key_controls.h"
#include "wizard_rules.h"
#include "toolkit/make_control.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <tuple>

namespace {

// Wizard controls start hidden; each page shows its own.
template <class T> T* Make(TMainFrm* Form, TWinControl* Parent, const char* Name, int Left, int Top, int Width,
                           int Height)
{
    T* control = MakeControl<T>(Form, Parent, Name, Left, Top, Width, Height);
    control->Hide();
    return control;
}

void SetShown(std::initializer_list<TControl*> Controls, bool Show)
{
    if (Show)
        for (TControl* c : Controls) c->BringToFront();
    for (TControl* c : Controls) c->SetVisible(Show);
}

WepKeyForm KeyFormOf(const ProfileSetting& Profile)
{
    return Profile.ProfileMode == 0 ? WepKeyForm::Hexadecimal : WepKeyForm::Text;
}

// A picture's panel takes the picture's size at Left, Top.
void PlacePicture(TPanel* Panel, TImage* Picture, int Left, int Top)
{
    Panel->SetBounds(Left, Top, Picture->Picture()->Width(), Picture->Picture()->Height());
}

} // namespace

void TMainFrm::CreateWizardComponents()
{
    ProfileSet_SSID = Make<TEdit>(this, this, "ProfileSet_SSID", 100, 308, 140, 24);
    ProfileSet_SSID->SetMaxLength(sizeof WlanInfo::SSID);
    // Each as wide as the room before its picture, which stands 16 to the
    // right: the system draws the circle 13 wide from the left.
    Rdb_InfrastructureMode = Make<TRadioButton>(this, this, "Rdb_InfrastructureMode", 32, 194, 16, 14);
    Rdb_AdhocMode = Make<TRadioButton>(this, this, "Rdb_AdhocMode", 32, 238, 16, 14);
    Rdb_DHCP = Make<TRadioButton>(this, this, "Rdb_DHCP", 30, 206, 16, 14);
    Rdb_StaticIP = Make<TRadioButton>(this, this, "Rdb_StaticIP", 30, 246, 16, 14);
    for (TRadioButton* choice : {Rdb_InfrastructureMode, Rdb_AdhocMode, Rdb_DHCP, Rdb_StaticIP})
        choice->SetColor(clWhite); // the card's
    struct {
        TPanel*& Panel;
        TImage*& Picture;
        const char* PanelName;
        const char* PictureName;
    } const choices[] = {
        {Pal_InfrastructureMode, Img_InfrastructureMode, "Pal_InfrastructureMode", "Img_InfrastructureMode"},
        {Pal_AdhocMode, Img_AdhocMode, "Pal_AdhocMode", "Img_AdhocMode"},
        {Pal_DHCP, Img_DHCP, "Pal_DHCP", "Img_DHCP"},
        {Pal_StaticIP, Img_StaticIP, "Pal_StaticIP", "Img_StaticIP"},
    };
    for (const auto& c : choices) {
        c.Panel = Make<TPanel>(this, this, c.PanelName, 0, 0, 0, 0);
        c.Panel->SetBevelOuter(bvNone);
        c.Picture = new TImage(this);
        c.Picture->Name = c.PictureName;
        c.Picture->SetAutoSize(true);
        c.Picture->Cursor = crHandPoint;
        c.Picture->SetParent(c.Panel);
    }
    ProfileSet_Channel = Make<TComboBox>(this, this, "ProfileSet_Channel", 112, 261, 80, 24);
    ProfileSet_TxRate = Make<TComboBox>(this, this, "ProfileSet_TxRate", 146, 355, 110, 24);
    for (TComboBox* list : {ProfileSet_Channel, ProfileSet_TxRate}) list->Style = csDropDownList;
    for (const char* mode : NetBandNames) ProfileSet_TxRate->Items()->Add(mode);
    WEPSet_WEP = Make<TComboBox>(this, this, "WEPSet_WEP", 106, 242, 110, 24);
    WEPSet_Passphrase = Make<TEdit>(this, this, "WEPSet_Passphrase", 106, 274, 110, 24);
    WEPSet_WEPKey1 = Make<TMaskEdit>(this, this, "WEPSet_WEPKey1", 93, 347, 238, 25);
    WEPSet_WEPKey1->Font()->SetName("MS Sans Serif");
    WEPSet_WEPKey1->Font()->SetSize(7); // sixteen pairs fit the field
    WizardKeys = std::make_unique<TWepKeyControls>(WEPSet_WEP, WEPSet_Passphrase, WEPSet_WEPKey1);

    Img_InfrastructureMode->OnClick = [this](TObject* s) { Img_InfrastructureModeClick(s); };
    Img_AdhocMode->OnClick = [this](TObject* s) { Img_AdhocModeClick(s); };
    Rdb_InfrastructureMode->OnClick = [this](TObject* s) { Rdb_InfrastructureModeClick(s); };
    Rdb_AdhocMode->OnClick = [this](TObject* s) { Rdb_AdhocModeClick(s); };
    ProfileSet_TxRate->OnChange = [this](TObject* s) { ProfileSet_TxRateChange(s); };
    Img_DHCP->OnClick = [this](TObject* s) { Img_DHCPClick(s); };
    Img_StaticIP->OnClick = [this](TObject* s) { Img_StaticIPClick(s); };
    Rdb_DHCP->OnClick = [this](TObject* s) { Rdb_DHCPClick(s); };
    Rdb_StaticIP->OnClick = [this](TObject* s) { Rdb_StaticIPClick(s); };
    WEPSet_WEP->OnChange = [this](TObject*) { WizardKeys->LevelChanged(KeyFormOf(Profiles.NewProfile)); };
    WEPSet_Passphrase->OnChange = [this](TObject*) { WizardKeys->PassphraseChanged(); };
    WEPSet_WEPKey1->OnKeyPress = [](TObject*, char& Key) { TWepKeyControls::FilterKeyPress(Key); };
    WEPSet_WEPKey1->OnClick = [this](TObject*) { WizardKeys->SelectKey(); };
    Img_Next->OnClick = [this](TObject* s) { Img_NextClick(s); };
    Img_Back->OnClick = [this](TObject* s) { Img_BackClick(s); };
    Img_Yes->OnClick = [this](TObject* s) { Img_YesClick(s); };
    Img_No->OnClick = [this](TObject* s) { Img_NoClick(s); };
    Img_ActnewNow->OnClick = [this](TObject* s) { Img_ActnewNowClick(s); };
    Img_ActnewLater->OnClick = [this](TObject* s) { Img_ActnewLaterClick(s); };
}

std::array<TIpAddressPanel*, 5> TMainFrm::AddressPanels() const
{
    return {Profile_IPAddr1, Profile_SubNet1, Profile_GateWay1, Profile_DNS1, Profile_DNS2};
}

void TMainFrm::ShowWizardPage(Page P)
{
    const TPageSwitch entering(Pages, SwitchScope::Page);
    if (!entering.Entered) return;
    HidePreviousPage(P);
    Pages.CurrentPage = P;
    Pages.SavedWizardPage = P;
    if (P == Page::WizardNetwork) {
        PlacePicture(Pal_InfrastructureMode, Img_InfrastructureMode, 48, Rdb_InfrastructureMode->Top() - 2);
        PlacePicture(Pal_AdhocMode, Img_AdhocMode, 48, Rdb_AdhocMode->Top() - 2);
    } else if (P == Page::WizardTcpIp) {
        PlacePicture(Pal_DHCP, Img_DHCP, Rdb_DHCP->Left() + 16, Rdb_DHCP->Top() - 2);
        PlacePicture(Pal_StaticIP, Img_StaticIP, Rdb_DHCP->Left() + 16, Rdb_StaticIP->Top());
    }
    if (!MainPanelSet(P) || Program.Quitting) return;
    Pages.WizardClosed = false;
    ShowWizardButtons();
    FillWizardPage(P);
    Pages.PreviousPage = P;
}

void TMainFrm::ShowWizardControls(Page P, bool Show)
{
    switch (P) {
    case Page::WizardNetwork:
        SetShown({ProfileSet_SSID, Rdb_InfrastructureMode, Rdb_AdhocMode, Pal_InfrastructureMode, Pal_AdhocMode}, Show);
        ProfileSet_ProfileName->Hide();
        break;
    case Page::WizardChannel: SetShown({ProfileSet_Channel, ProfileSet_TxRate}, Show); break;
    case Page::WizardTcpIp:
        SetShown({Rdb_DHCP, Rdb_StaticIP, Pal_DHCP, Pal_StaticIP, Profile_IPAddr1, Profile_SubNet1, Profile_GateWay1,
                  Profile_DNS1, Profile_DNS2},
                 Show);
        break;
    case Page::WizardWep: SetShown({WEPSet_WEP, WEPSet_Passphrase, WEPSet_WEPKey1}, Show); break;
    case Page::WizardConfirm:
        SetShown({ConfirmNew_ssid, ConfirmNew_network, ConfirmNew_channel, ConfirmNew_wep, ConfirmNew_ipaddr,
                  ConfirmNew_subnet, ConfirmNew_gateway, ConfirmNew_dns, ConfirmNew_dns1},
                 Show);
        break;
    case Page::WizardActivate: ShowWizardActivateControls(Show); return;
    default: return;
    }
    Application->ProcessMessages();
}

void TMainFrm::FillWizardPage(Page P)
{
    ProfileSetting& profile = Profiles.NewProfile;
    const WlanInfo& wlan = profile.Wlan;
    const bool infrastructure = wlan.OperatingModeID != 0;
    switch (P) {
    case Page::WizardNetwork:
        ProfileSet_SSID->SetText(SsidToText(wlan.SSID, wlan.SSID_length));
        ProfileSet_ProfileName->SetText(FieldText(profile.ProfileName));
        ShowWizardControls(P, true);
        (wlan.OperatingModeID == 1 ? Rdb_InfrastructureMode : Rdb_AdhocMode)->SetChecked(true);
        if (::IsWindowVisible(ProfileSet_SSID->Handle()) && ProfileSet_SSID->Enabled()) ProfileSet_SSID->SetFocus();
        break;
    case Page::WizardChannel:
        ShowWizardControls(P, true);
        for (TComboBox* list : {ProfileSet_Channel, ProfileSet_TxRate}) list->SetEnabled(!infrastructure);
        ProfileSet_TxRate->SetItemIndex(NetBandToTxRateIndex(wlan.NetBand));
        FillChannelList(infrastructure);
        ProfileSet_Channel->SetItemIndex(infrastructure ? 0 : AdhocChannelIndex(wlan.Channel));
        break;
    case Page::WizardTcpIp: {
        // Filled before it shows: showing services messages, and a click or
        // typing on the shown page must not be undone by the rest of the fill.
        profile.SetIP = 1;
        const bool dhcp = profile.Ip.blDhcpEnabled != 0;
        (dhcp ? Rdb_DHCP : Rdb_StaticIP)->SetChecked(true);
        if (dhcp) {
            Rdb_DHCPClick(this);
            ShowWizardControls(P, true);
            break;
        }
        Rdb_StaticIPClick(this);
        // An empty text, or no second server, reads as 0.0.0.0.
        const std::pair<std::string, std::string> dns = SplitDnsServers(FieldText(profile.Ip.cDnsServer));
        const std::pair<TIpAddressPanel*, std::string> addresses[] = {
            {Profile_IPAddr1, FieldText(profile.Ip.cIpAdress)}, {Profile_SubNet1, FieldText(profile.Ip.cNetMask)},
            {Profile_GateWay1, FieldText(profile.Ip.cGateway)}, {Profile_DNS1, dns.first},
            {Profile_DNS2, dns.second}};
        for (const auto& a : addresses) {
            DottedAddress address{};
            CopyText(address.Text, a.second);
            ParseDottedIp(address);
            for (int i = 0; i < 4; ++i) a.first->Fields[i]->SetText(Format("%3d", address.Octets[i]));
        }
        ShowWizardControls(P, true);
        break;
    }
    case Page::WizardWep: {
        const WlanWepInfo& wep = profile.Wep;
        ShowWizardControls(P, true);
        WizardKeys->SetLevel(static_cast<WepLevel>(wep.EncryptionLevel));
        if (!wep.PassphraseUsed) WEPSet_Passphrase->SetText("");
        // The stored key shows as the hexadecimal pairs that collecting the
        // page reads back, whatever form the profile takes a new key in:
        // the text form's single positions would keep half of it.
        WizardKeys->ApplyLevel(WepKeyForm::Hexadecimal);
        const int digits = 2 * WepKeySize(static_cast<WepLevel>(wep.EncryptionLevel));
        WEPSet_WEPKey1->SetText(BytesToHexText(wep.WepKey1).substr(0, digits));
        break;
    }
    case Page::WizardConfirm: {
        ConfirmNew_ssid->SetCaption(SsidToText(wlan.SSID, wlan.SSID_length));
        ConfirmNew_network->SetCaption(wlan.OperatingModeID == 1 ? "Infrastructure" : "Ad-Hoc");
        ConfirmNew_channel->SetCaption(infrastructure ? "Auto" : IntToStr(wlan.Channel));
        ConfirmNew_wep->SetCaption(WepLevelName(profile.Wep.EncryptionLevel));
        const NicIpInfo& ip = profile.Ip;
        std::string address = "Current TCP/IP", mask, gateway, dns1, dns2;
        if (profile.SetIP == 1) {
            address = ip.blDhcpEnabled ? "Use DHCP" : FieldText(ip.cIpAdress);
            if (!ip.blDhcpEnabled) {
                mask = FieldText(ip.cNetMask);
                gateway = FieldText(ip.cGateway);
            }
            std::tie(dns1, dns2) = SplitDnsServers(FieldText(ip.cDnsServer));
            for (std::string* server : {&dns1, &dns2})
                if (*server == "0.0.0.0") server->clear();
        }
        ConfirmNew_ipaddr->SetCaption(address);
        ConfirmNew_subnet->SetCaption(mask);
        ConfirmNew_gateway->SetCaption(gateway);
        ConfirmNew_dns->SetCaption(dns1);
        ConfirmNew_dns1->SetCaption(dns2);
        ShowWizardControls(P, true);
        break;
    }
    case Page::WizardActivate:
        if (Img_View->Visible()) Img_View->Hide();
        ShowWizardControls(P, true);
        break;
    default: break;
    }
    Application->ProcessMessages();
}

void TMainFrm::FillChannelList(bool Infrastructure)
{
    TStrings* items = ProfileSet_Channel->Items();
    items->Clear();
    if (Infrastructure) items->Add("Auto");
    else
        for (int channel = 1; channel <= AdhocChannelCount; ++channel) items->Add(IntToStr(channel));
}

void TMainFrm::CollectWizardPage(Page P)
{
    ProfileSetting& profile = Profiles.NewProfile;
    WlanInfo& wlan = profile.Wlan;
    switch (P) {
    case Page::WizardNetwork: {
        const std::string ssid = ProfileSet_SSID->Text(), name = ProfileSet_ProfileName->Text();
        // An SSID left as the page showed it keeps its bytes: the zero bytes
        // of a hidden network's SSID, which the field cannot show, too.
        if (!ssid.empty() && !name.empty()) {
            CopyText(profile.ProfileName, name);
            if (ssid != SsidToText(wlan.SSID, wlan.SSID_length) || wlan.SSID_length > sizeof wlan.SSID) {
                std::memset(wlan.SSID, 0, sizeof wlan.SSID);
                wlan.SSID_length = static_cast<uint8_t>(std::min(ssid.size(), sizeof wlan.SSID));
                std::memcpy(wlan.SSID, ssid.data(), wlan.SSID_length);
            }
        }
        if (Rdb_InfrastructureMode->Checked() || Rdb_AdhocMode->Checked())
            wlan.OperatingModeID = Rdb_AdhocMode->Checked() ? 0 : 1;
        break;
    }
    case Page::WizardChannel:
        wlan.NetBand = NetBandOfIndex(ProfileSet_TxRate->ItemIndex());
        wlan.RateIndex = 4;
        wlan.Channel = static_cast<uint8_t>(ChannelOfIndex(ProfileSet_Channel->ItemIndex()));
        wlan.Frequency = ChannelFrequency(wlan.Channel);
        break;
    case Page::WizardTcpIp: {
        NicIpInfo& ip = profile.Ip;
        profile.SetIP = 1;
        ip.blDhcpEnabled = Rdb_DHCP->Checked() ? 1 : 0;
        auto text = [](const TIpAddressPanel* Panel) { return std::string(Panel->Address().Text); };
        CopyText(ip.cIpAdress, text(Profile_IPAddr1));
        CopyText(ip.cNetMask, text(Profile_SubNet1));
        CopyText(ip.cGateway, text(Profile_GateWay1));
        CopyText(ip.cDhcpServer, "0.0.0.0");
        CopyText(ip.cDnsServer, text(Profile_DNS1) + "," + text(Profile_DNS2));
        break;
    }
    case Page::WizardWep: {
        WlanWepInfo& wep = profile.Wep;
        wep.EncryptionLevel = static_cast<uint8_t>(WizardKeys->Level());
        wep.PassphraseUsed = !WEPSet_Passphrase->Text().empty();
        if (!WEPSet_WEPKey1->Text().empty()) WizardKeys->ReadKey(wep.WepKey1);
        for (uint8_t* slot : {wep.WepKey2, wep.WepKey3, wep.WepKey4}) std::memset(slot, 0, 16);
        break;
    }
    default: break;
    }
}

void TMainFrm::Img_NextClick(TObject*)
{
    const TPageSwitch switching(Pages);
    if (!switching.Entered) return;
    const Page page = Pages.CurrentPage;
    CollectWizardPage(page);
    switch (page) {
    case Page::WizardNetwork:
        if (!ProfileSet_SSID->Text().empty() && !ProfileSet_ProfileName->Text().empty() &&
            (Rdb_InfrastructureMode->Checked() || Rdb_AdhocMode->Checked()))
            ShowWizardPage(Page::WizardChannel);
        break;
    case Page::WizardChannel: ShowWizardPage(Page::WizardTcpIp); break;
    case Page::WizardTcpIp:
        if (Rdb_DHCP->Checked() || StaticAddressAccepted()) ShowWizardPage(Page::WizardWep);
        break;
    case Page::WizardWep: ShowWizardPage(Page::WizardConfirm); break;
    default: break;
    }
}

// An address and its mask were typed, and they fit together; the user is
// told what is missing or wrong.
bool TMainFrm::StaticAddressAccepted()
{
    auto show = [this](const char* Text) { Platform().MessageBox(Handle(), Text, "Error", MB_OK | MB_ICONWARNING); };
    if (Profile_IPAddr1->Blank()) {
        show("The adapter requires at least one IP address. Please enter one.");
        return false;
    }
    if (Profile_SubNet1->Blank()) {
        show("You have entered an address that is missing its subnet mask. Please add a subnet mask.");
        return false;
    }
    return ValidateIpAndMask(Profile_IPAddr1->Address(), Profile_SubNet1->Address(), show);
}

void TMainFrm::Img_BackClick(TObject*)
{
    const TPageSwitch switching(Pages);
    if (!switching.Entered) return;
    const Page page = Pages.CurrentPage;
    CollectWizardPage(page);
    switch (page) {
    case Page::WizardNetwork: ExitWizard(); break;
    case Page::WizardChannel: ShowWizardPage(Page::WizardNetwork); break;
    case Page::WizardTcpIp: ShowWizardPage(Page::WizardChannel); break;
    case Page::WizardWep: ShowWizardPage(Page::WizardTcpIp); break;
    case Page::WizardConfirm: ShowWizardPage(Page::WizardWep); break;
    default: break;
    }
}

// Only a profile that reached the store counts as saved: activating it
// connects that stored profile.
void TMainFrm::Img_YesClick(TObject*)
{
    const TPageSwitch switching(Pages);
    if (!switching.Entered) return;
    Profiles.NewProfileSaved = Pages.CurrentPage == Page::WizardConfirm && StoreProfile(false);
    if (Program.Quitting) return;
    ShowWizardPage(Page::WizardActivate);
}

void TMainFrm::Img_NoClick(TObject*)
{
    const TPageSwitch switching(Pages);
    if (!switching.Entered) return;
    Profiles.NewProfileSaved = false;
    ShowWizardPage(Page::WizardActivate);
}

// Activates the profile as the wizard built it, taken before leaving the
// wizard pumps messages.
void TMainFrm::Img_ActnewNowClick(TObject*)
{
    ProfileSetting profile = Profiles.NewProfile;
    const bool saved = Profiles.NewProfileSaved;
    {
        const TPageSwitch switching(Pages);
        if (!switching.Entered) return;
        ExitWizard();
    }
    if (Program.Quitting || !Link.AdapterOpened) return;
    const std::string name = FieldText(profile.ProfileName);
    if (saved) {
        // The list may have been filled afresh since Yes selected the row.
        SelectProfileRow(name);
        if (Program.Quitting) return;
        TListItem* row = Profile_LstV_Profile1->Selected();
        if (row && row->Caption() == name) return ConnectToAP(ConnectTarget::Profile);
    }

    // Applied as it stands, without storing it: the driver's setting, and
    // the addresses of the TCP/IP page, which the wizard always collects.
    CopyText(profile.SsidText, SsidToText(profile.Wlan.SSID, profile.Wlan.SSID_length));
    profile.Wlan.PreambleType = 0;
    profile.Wlan.NetBand = 7;
    TChipsetHold library;
    if (!HoldChipsetLibrary(library)) return;
    WlanCall(Chipset.WLAN_Write_Setting_To_DriverRegistry, &profile);
    WlanCall(Chipset.WLAN_Get_Mac_Info, Link.TheAdapter.MacAddress);
    NicIpInfo pending = profile.Ip;
    std::memcpy(pending.Mac, Link.TheAdapter.MacAddress, sizeof pending.Mac);
    if (!StopPollForApplier()) return;
    PendingIpInfo = pending;
    ResumeApplier();
    Poll.DetailTickCount = 3;
    Survey.ConnectPending = true;
}

void TMainFrm::Img_ActnewLaterClick(TObject*)
{
    const TPageSwitch switching(Pages);
    if (switching.Entered) ExitWizard();
}

void TMainFrm::ExitWizard()
{
    ShowProfilePage();
    if (Program.Quitting) return;
    PlaySoundThenStop("click.wav");
    Pages.SelectedPageButton = PageButton::Profiles;
    Pages.WizardClosed = true;
    SetWizardButtonImage(0);
}

void TMainFrm::Img_InfrastructureModeClick(TObject*) { Rdb_InfrastructureMode->SetChecked(true); }
void TMainFrm::Img_AdhocModeClick(TObject*) { Rdb_AdhocMode->SetChecked(true); }

void TMainFrm::Rdb_InfrastructureModeClick(TObject*)
{
    ProfileSet_Channel->SetEnabled(false);
    FillChannelList(true);
}

void TMainFrm::Rdb_AdhocModeClick(TObject*)
{
    ProfileSet_Channel->SetEnabled(true);
    FillChannelList(false);
}

// The network type as page 4 left it: the four radio buttons of pages 4 and
// 6 are one group on the form, so choosing DHCP clears the ad-hoc button.
void TMainFrm::ProfileSet_TxRateChange(TObject*)
{
    ProfileSet_Channel->SetEnabled(Profiles.NewProfile.Wlan.OperatingModeID == 0);
}

void TMainFrm::Img_DHCPClick(TObject*) { Rdb_DHCP->SetChecked(true); }
void TMainFrm::Img_StaticIPClick(TObject*) { Rdb_StaticIP->SetChecked(true); }

void TMainFrm::Rdb_DHCPClick(TObject*)
{
    for (TIpAddressPanel* panel : AddressPanels()) {
        TWepKeyControls::SetUsable(panel, false);
        for (TOctetField* field : panel->Fields) {
            TWepKeyControls::SetUsable(field, false);
            field->SetText("");
        }
    }
}

void TMainFrm::Rdb_StaticIPClick(TObject*)
{
    for (TIpAddressPanel* panel : AddressPanels()) {
        TWepKeyControls::SetUsable(panel, true);
        for (TOctetField* field : panel->Fields) TWepKeyControls::SetUsable(field, true);
    }
}
