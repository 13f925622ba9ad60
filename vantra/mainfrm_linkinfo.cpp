// The Link Information page: the link's details and the card's TCP/IP
// settings in the detail view, the two bars, and the large status pictures
// of the summary view, which GifThread chooses on its passes.
#include "debug_trace.h"
#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "drivers/registry_reader.h"
#include "link_text.h"
#include "mainfrm.h"

#include <cstring>

void TMainFrm::UpdateLinkInfo()
{
    WlanInfo& link = Link.CurrentLinkInfo;
    if (Link.PreviousLinkInfo.StationState != link.StationState) Poll.DetailTickCount = 0;
    Link.PreviousLinkInfo = link;
    ShowLinkAtHand();
}

// The page as the link record at hand has it. The record is not read while
// the card is being reconfigured, and a failed read leaves whatever it
// held: then the page shows no link rather than one that may have gone.
void TMainFrm::ShowLinkAtHand()
{
    if (!Link.AdapterOpened || Link.ApplyingTcpIp || !Poll.LinkInfoValid) {
        ShowLinkInfo(false);
        return;
    }
    WlanInfo& link = Link.CurrentLinkInfo;
    // A connected infrastructure link without signal shows as scanning.
    bool connected = Link.LinkUp() && link.SignalStrength != 0;
    if (!Link.LinkUp()) link.SignalStrength = link.LinkQuality = 0;
    if (link.OperatingModeID != 1) { // ad hoc: no bars
        link.SignalStrength = link.LinkQuality = 0;
        connected = true;
    }
    ShowLinkInfo(connected);
}

void TMainFrm::ShowLinkInfo(bool Connected)
{
    const WlanInfo& link = Link.CurrentLinkInfo;
    if (!Connected || !Link.LinkUp()) {
        Status_Lbl_State->SetCaption(link.StationState == WLAN_STATION_STATE_AUTHENTICATING ? "Authenticating....."
                                                                                              : "Scanning.....");
        for (TLabel* label : {Status_Lbl_Connected, Status_Lbl_NetworkType, Status_Lbl_TransmitRate,
                              Status_Lbl_Encryption, Status_Lbl_Channel, Status_Lbl_MAC})
            label->SetCaption("");
        Status_Img_SignalStreng->SetWidth(0);
        Status_Img_LinkQuality->SetWidth(0);
        return;
    }
    if (!Pages.MoreInfoHidden) {
        HideLinkPictures();
        ShowTcpIpInfo(true);
        Status_Lbl_State->SetCaption("Connected");
        Status_Lbl_Connected->SetCaption(SsidToText(link.SSID, link.SSID_length));
        char bssid[18];
        MacToText(link.Bssid, bssid);
        Status_Lbl_MAC->SetCaption(bssid);
        Status_Lbl_NetworkType->SetCaption(link.OperatingModeID == 0 ? "Adhoc" : "Infrastructure");
        // A page entered while a worker is inside the chipset library shows
        // the rate and encryption blank until the next poll, not as a
        // refused call's zero.
        TChipsetHold library;
        const bool libraryFree = library.TryEnter();
        Status_Lbl_TransmitRate->SetCaption(Link.AdapterOpened && libraryFree ? TransmitRateText(WlanLinkSpeed()) : "");
        Status_Lbl_Channel->SetCaption(ChannelText(link.Channel, link.Frequency));
        Status_Lbl_Encryption->SetCaption(libraryFree ? EncryptionText(EncryptionLevel()) : "");
    }
    const bool adHoc = link.OperatingModeID == 0;
    const bool linkPage = LinkPageSettled();
    struct {
        TImage* Bar;
        uint8_t Value;
    } const bars[] = {{Status_Img_SignalStreng, link.SignalStrength}, {Status_Img_LinkQuality, link.LinkQuality}};
    for (const auto& b : bars) {
        b.Bar->SetWidth(adHoc ? 0 : BarWidth(b.Value));
        b.Bar->SetVisible(linkPage);
    }
}

// Chip kind 2 keeps the encryption in the driver's parameters; the others
// in the driver's saved setting.
int32_t TMainFrm::EncryptionLevel()
{
    const WlanAdapter& adapter = Link.TheAdapter;
    if (adapter.ChipKind == 2) {
        const std::string key = FieldText(adapter.RegistryKeyPath, sizeof adapter.RegistryKeyPath);
        char privacy[521], keyLength[521];
        const bool privacyRead = ReadRegistryValueText(key.c_str(), "privacyInvoked", privacy);
        const bool keyLengthRead = ReadRegistryValueText(key.c_str(), "keyLength0", keyLength);
        return EncryptionLevelOfDriverValues(privacyRead ? privacy : nullptr, keyLengthRead ? keyLength : nullptr);
    }
    ProfileSetting saved{};
    WlanCall(Chipset.WLAN_Read_Setting_From_DriverRegistry, &saved);
    return saved.Wep.EncryptionLevel;
}

void TMainFrm::ShowTcpIpInfo(bool Read)
{
    if (!Read) {
        IPAddr->SetCaption("0.0.0.0");
        SubNet->SetCaption("0.0.0.0");
        for (TLabel* label : {Gateway, DNS, DNS1}) label->SetCaption("");
        DHCPEnable->SetCaption("Disabled");
        return;
    }
    ReadNicIpInfo();
    const NicIpInfo& ip = Link.CurrentIpInfo;
    IPAddr->SetCaption(FieldText(ip.cIpAdress, sizeof ip.cIpAdress));
    SubNet->SetCaption(FieldText(ip.cNetMask, sizeof ip.cNetMask));
    Gateway->SetCaption(FieldText(ip.cGateway, sizeof ip.cGateway));
    DHCPEnable->SetCaption(ip.blDhcpEnabled ? "Enable" : "Disabled");
    const DnsLabels dns = SplitDnsList(ip.cDnsServer, sizeof ip.cDnsServer);
    DNS->SetCaption(dns.First);
    DNS1->SetCaption(dns.Second);
}

void TMainFrm::HideLinkPictures()
{
    for (TImage* picture : LinkPictures()) picture->Hide();
}

// One left up behind another would show at its edges.
void TMainFrm::ShowOnlyLinkPicture(TImage* Picture)
{
    for (TImage* picture : LinkPictures())
        if (picture != Picture) picture->Hide();
    if (Picture->Visible()) return;
    Picture->Show();
    Picture->BringToFront();
}

// Runs on GifThread. The link read and the Internet test block, so they run
// here; everything that touches a control, a picture or the window's state
// runs on the main thread. A pass asked to stop while the Internet test runs
// gives the test up: the thread parks or ends at its next safe point, and a
// resume brings a fresh pass.
void TMainFrm::ShowGifStatus()
{
    TThread& self = *TThread::Current();
    bool summaryUp = false, stop = false;
    WlanInfo link{};
    self.Synchronize([&] {
        summaryUp = LinkSummaryShown() && TcpIpThread->Suspended();
        if (!summaryUp) HideLinkPictures();
        stop = !Link.AdapterOpened && Program.EndingSession;
        link = Link.CurrentLinkInfo;
    });
    if (!summaryUp || stop) {
        self.Suspend();
        return;
    }
    WlanCall(Chipset.WLAN_Get_Info, &link);

    std::shared_ptr<const TInternetTest::TAnswer> test;
    self.Synchronize([&] {
        Link.CurrentLinkInfo = link;
        const bool testInternet = ShowLinkPicture();
        stop = !Link.AdapterOpened || Program.EndingSession;
        if (testInternet && !stop) test = InternetTest.Start();
    });
    if (!test) {
        self.Suspend();
        return;
    }
    // A test that an earlier pass started and still runs is this pass's
    // too: its answer counts when it comes in time.
    bool reachable = false;
    switch (self.WaitForSignal(test->Done(), InternetTestLimitMs)) {
    case TWaitResult::Stopped: return;
    case TWaitResult::TimedOut: break;
    case TWaitResult::Signalled: reachable = test->Reachable(); break;
    }
    self.Synchronize([&] { ShowInternetPicture(reachable); });
    self.Suspend();
}

bool TMainFrm::ShowLinkPicture()
{
    if (!LinkSummaryShown()) { // the page changed since the pass began
        HideLinkPictures();
        return false;
    }
    if (!Link.LinkUp()) {
        if (Survey.SurveyInProgress) return false;
        Pal_MoreInfo->Hide();
        if (Pages.PreviousStatusImageId != IDB_TITLE_NO_LINK) {
            DebugTrace(0, "MissAPInfo_ResID--ShowGifStatus");
            SetStatusPanel(IDB_TITLE_NO_LINK);
            Pages.LinkPictureState = LinkPicture::MissingAccessPoint;
        }
        ShowOnlyLinkPicture(Img_MissAP);
        return false;
    }
    SetMenuImage(MenuImageId());
    Pal_MoreInfo->Show();
    ShowLinkAtHand(); // the bars come up with the picture
    if (Link.CurrentLinkInfo.OperatingModeID != 1) {
        if (Pages.PreviousStatusImageId != IDB_TITLE_ADHOC) SetStatusPanel(IDB_TITLE_ADHOC);
        ShowOnlyLinkPicture(Img_Adhoc);
        Pages.LinkPictureState = LinkPicture::AdHoc;
        return false;
    }
    SetStatusPanel(IDB_TITLE_INFRASTRUCTURE);
    // The last test's answer stays up while the next one runs.
    const bool reached = !Img_MissInternet->Visible() && Pages.LinkPictureState == LinkPicture::Infrastructure;
    ShowOnlyLinkPicture(reached ? Img_Infrastrcture : Img_MissInternet);
    if (!reached) Pages.LinkPictureState = LinkPicture::MissingInternet;
    return true;
}

// The summary view of the link page is on screen, and no switch is under way.
bool TMainFrm::LinkSummaryShown() const { return LinkPageSettled() && Pages.MoreInfoHidden; }

void TMainFrm::ShowInternetPicture(bool Reachable)
{
    if (!LinkSummaryShown()) { // the page changed meanwhile
        HideLinkPictures();
        return;
    }
    ShowOnlyLinkPicture(Reachable ? Img_Infrastrcture : Img_MissInternet);
    Pages.LinkPictureState = Reachable ? LinkPicture::Infrastructure : LinkPicture::MissingInternet;
}

void TMainFrm::Btn_MoreInfoClick(TObject*)
{
    const TPageSwitch switching(Pages);
    if (!switching.Entered) return;
    Pages.MoreInfoHidden = false;
    Btn_MoreInfo->Hide();
    Btn_Back->Show();
    Btn_Back->BringToFront();
    ShowLinkPage();
}

void TMainFrm::Btn_BackClick(TObject*)
{
    const TPageSwitch switching(Pages);
    if (!switching.Entered) return;
    Pages.MoreInfoHidden = true;
    Btn_MoreInfo->Show();
    Btn_MoreInfo->BringToFront();
    Btn_Back->Hide();
    ShowLinkPage();
}
