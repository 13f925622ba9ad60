// The Link Information page of the real main window over the stand-ins:
// the details and bars for each link state, the encryption the driver
// reports, the card's TCP/IP settings, and the status-picture passes on
// their own thread, with the Internet test against the test run's local
// web server.
#include "mainfrm_harness.h"
#include "tests/local_http.h"
#include "toolkit/application.h"
#include "vantra/drivers/bindings.h"
#include "vantra/internet_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

using Harness::PumpUntil;

// An open access point on channel 6, strong enough for 54 Mbps.
const char* const SixSsid = "channel-six";

class LinkPage : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        Harness::Reset();
        Form->Btn_MoreInfo->Show();
        Form->Btn_Back->Hide();
        Form->Link.TheAdapter.ChipKind = 2;
        ASSERT_FALSE(LocalHttpAddress().empty()) << "the test run's local web server is not running";
        Harness::Seam().SetInternetAddress(LocalHttpAddress());
    }
    void TearDown() override
    {
        if (FastPasses) {
            delete Form->GifThread;
            Form->GifThread = Original;
        }
    }
    void Tick() { Form->UpdateTimerTimer(nullptr); }
    std::string Caption(TLabel* Label) const { return Label->Caption(); }
    // Joins the cell and reads the link as the status poll does.
    void Join(const char* Ssid, uint8_t Mode = 1)
    {
        Harness::JoinNetwork(Ssid, Mode);
        ASSERT_TRUE(WlanCall(Chipset.WLAN_Get_Info, &Form->Link.CurrentLinkInfo));
        ASSERT_TRUE(Form->Link.LinkUp());
        Harness::ClearCalls();
    }
    void DetailView()
    {
        Form->Btn_MoreInfoClick(nullptr);
        ASSERT_FALSE(Form->Pages.MoreInfoHidden);
    }
    // Runs the status-picture passes on a thread of the window's own kind
    // that waits no time between them.
    void UseFastPasses()
    {
        Original = Form->GifThread;
        Form->GifThread = new TShowGifThread(
            [this] {
                ++Passes;
                Form->ShowGifStatus();
            },
            0);
        FastPasses = true;
    }
    // One pass: resumed, and done once it has suspended itself again.
    void Pass()
    {
        const int before = Passes;
        Form->GifThread->Resume();
        ASSERT_TRUE(PumpUntil([&] { return Passes > before && Form->GifThread->Suspended(); }, 10000));
    }
    std::vector<TImage*> Pictures() const
    {
        return {Form->Img_Infrastrcture, Form->Img_Adhoc, Form->Img_MissAP, Form->Img_MissInternet};
    }
    // The large pictures that are up.
    std::vector<TImage*> Shown() const
    {
        std::vector<TImage*> shown;
        for (TImage* picture : Pictures())
            if (picture->Visible()) shown.push_back(picture);
        return shown;
    }

    TMainFrm* Form = nullptr;
    TShowGifThread* Original = nullptr;
    bool FastPasses = false;
    std::atomic<int> Passes{0};
};

TEST_F(LinkPage, BarsGrowWithSignalAndQuality)
{
    Join("tarvane");
    const struct {
        uint8_t Value;
        int Width;
    } bars[] = {{9, 0}, {19, 7}, {20, 15}, {100, 79}, {150, 79}};
    for (const auto& b : bars) {
        Form->Link.CurrentLinkInfo.SignalStrength = b.Value;
        Form->Link.CurrentLinkInfo.LinkQuality = b.Value;
        Form->ShowLinkInfo(true);
        EXPECT_EQ(Form->Status_Img_SignalStreng->Width(), b.Width) << int(b.Value);
        EXPECT_EQ(Form->Status_Img_LinkQuality->Width(), b.Width) << int(b.Value);
        EXPECT_TRUE(Form->Status_Img_SignalStreng->Visible());
    }
    // Off the link page the bars are not shown.
    Form->Pages.CurrentPage = Page::SiteSurvey;
    Form->ShowLinkInfo(true);
    EXPECT_FALSE(Form->Status_Img_SignalStreng->Visible());
    EXPECT_FALSE(Form->Status_Img_LinkQuality->Visible());
}

TEST_F(LinkPage, DetailsOfAConnectedLink)
{
    Harness::SetWorld("Cell7", "SSID", SixSsid);
    Harness::SetWorld("Cell7", "BSSID", "02-66-06-06-06-06");
    Harness::SetWorld("Cell7", "Mode", "1");
    Harness::SetWorld("Cell7", "Channel", "6");
    Harness::SetWorld("Cell7", "Signal", "95");
    Join(SixSsid);
    DetailView();
    Form->UpdateLinkInfo();
    Harness::SetWorld("Cell7", nullptr, nullptr);
    EXPECT_EQ(Caption(Form->Status_Lbl_State), "Connected");
    EXPECT_EQ(Caption(Form->Status_Lbl_Connected), SixSsid);
    EXPECT_EQ(Caption(Form->Status_Lbl_MAC), "02-66-06-06-06-06");
    EXPECT_EQ(Caption(Form->Status_Lbl_NetworkType), "Infrastructure");
    EXPECT_EQ(Caption(Form->Status_Lbl_TransmitRate), "54.0 Mbps");
    EXPECT_EQ(Caption(Form->Status_Lbl_Channel), "6 (2.437 GHz)");
    EXPECT_GT(Form->Status_Img_SignalStreng->Width(), 63);
    // The details replace the summary's pictures.
    EXPECT_TRUE(Shown().empty());
    // Each label keeps a box wide enough for its text, empty or not.
    for (TLabel* label : {Form->Status_Lbl_State, Form->Status_Lbl_NetworkType, Form->Status_Lbl_TransmitRate,
                          Form->Status_Lbl_Channel, Form->Status_Lbl_Encryption, Form->IPAddr, Form->SubNet,
                          Form->Gateway, Form->DNS, Form->DHCPEnable, Form->Status_Lbl_SignalStrength})
        EXPECT_GE(label->Width(), 80) << label->Name;

    // In the summary view only the bars follow the link.
    Form->Btn_BackClick(nullptr);
    Form->Status_Lbl_State->SetCaption("");
    Form->UpdateLinkInfo();
    EXPECT_EQ(Caption(Form->Status_Lbl_State), "");
    EXPECT_GT(Form->Status_Img_SignalStreng->Width(), 63);
}

TEST_F(LinkPage, LinksNotConnectedShowTheirStateAndNoDetails)
{
    Join("tarvane");
    DetailView();
    Form->UpdateLinkInfo();
    ASSERT_EQ(Caption(Form->Status_Lbl_NetworkType), "Infrastructure");

    Form->Link.CurrentLinkInfo.StationState = WLAN_STATION_STATE_AUTHENTICATING;
    Form->UpdateLinkInfo();
    EXPECT_EQ(Caption(Form->Status_Lbl_State), "Authenticating.....");
    EXPECT_EQ(Form->Status_Img_SignalStreng->Width(), 0);

    // Connected in infrastructure, but without signal: scanning.
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Get_Info, &Form->Link.CurrentLinkInfo));
    Form->UpdateLinkInfo();
    ASSERT_EQ(Caption(Form->Status_Lbl_State), "Connected");
    Form->Link.CurrentLinkInfo.SignalStrength = 0;
    Form->UpdateLinkInfo();
    EXPECT_EQ(Caption(Form->Status_Lbl_State), "Scanning.....");
    for (TLabel* label : {Form->Status_Lbl_Connected, Form->Status_Lbl_NetworkType, Form->Status_Lbl_TransmitRate,
                          Form->Status_Lbl_Channel, Form->Status_Lbl_Encryption, Form->Status_Lbl_MAC})
        EXPECT_EQ(Caption(label), "") << label->Name;
    EXPECT_EQ(Form->Status_Img_SignalStreng->Width(), 0);
    EXPECT_EQ(Form->Status_Img_LinkQuality->Width(), 0);
}

TEST_F(LinkPage, AdHocShowsConnectedWithEmptyBars)
{
    Join("lanparty", 0);
    DetailView();
    Form->UpdateLinkInfo();
    EXPECT_EQ(Caption(Form->Status_Lbl_State), "Connected");
    EXPECT_EQ(Caption(Form->Status_Lbl_NetworkType), "Adhoc");
    EXPECT_EQ(Form->Status_Img_SignalStreng->Width(), 0);
    EXPECT_EQ(Form->Status_Img_LinkQuality->Width(), 0);
}

// The driver parameters of chip kind 2, as the stand-in keeps them.
void SetDriverValues(TMainFrm* Form, const char* PrivacyInvoked, const char* KeyLength)
{
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, Form->Link.TheAdapter.RegistryKeyPath, 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    auto set = [key](const char* Name, const char* Value) {
        if (Value)
            ::RegSetValueExA(key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value), std::strlen(Value) + 1);
        else
            ::RegDeleteValueA(key, Name);
    };
    set("privacyInvoked", PrivacyInvoked);
    set("keyLength0", KeyLength);
    ::RegCloseKey(key);
}

TEST_F(LinkPage, EncryptionOfChipKind2ComesFromTheDriverParameters)
{
    Join("tarvane");
    DetailView();
    const struct {
        const char *Privacy, *KeyLength, *Shown;
    } cases[] = {{"0", "13", "Disabled"}, {"1", "13", "128 bits"}, {"1", "5", "64 bits"},
                 {"1", "16", "152 bits"}, {"1", "10", "Unknow"},    {"1", nullptr, "Unknow"}};
    for (const auto& c : cases) {
        SetDriverValues(Form, c.Privacy, c.KeyLength);
        Form->ShowLinkInfo(true);
        EXPECT_EQ(Caption(Form->Status_Lbl_Encryption), c.Shown) << c.Privacy << " " << (c.KeyLength ? c.KeyLength : "-");
    }
    SetDriverValues(Form, "0", "0");
}

TEST_F(LinkPage, EncryptionOfOtherChipsComesFromTheDriverSetting)
{
    Join("tarvane");
    DetailView();
    SetDriverValues(Form, "0", "0"); // not read for these chips
    Form->Link.TheAdapter.ChipKind = 1;
    // Without a saved setting the level reads as none.
    const std::string saved = Harness::WorldPath().substr(0, Harness::WorldPath().rfind('\\') + 1) + "state\\driver.bin";
    ::DeleteFileA(saved.c_str());
    Form->ShowLinkInfo(true);
    EXPECT_EQ(Caption(Form->Status_Lbl_Encryption), "Disabled");
    ProfileSetting setting{};
    setting.Wep.EncryptionLevel = 3;
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_DriverRegistry, &setting));
    Form->ShowLinkInfo(true);
    EXPECT_EQ(Caption(Form->Status_Lbl_Encryption), "152 bits");
    setting.Wep.EncryptionLevel = 7;
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_DriverRegistry, &setting));
    Form->ShowLinkInfo(true);
    EXPECT_EQ(Caption(Form->Status_Lbl_Encryption), "Unknow");
    ::DeleteFileA(saved.c_str());
}

// The card's settings as the NIC library keeps them, set through it.
void SetCardSettings(TMainFrm* Form, bool Dhcp, const char* Dns)
{
    TLinkState& link = Form->Link;
    link.FindAdapterNic();
    NicIpInfo info{};
    info.blDhcpEnabled = Dhcp;
    std::strcpy(info.cIpAdress, "172.20.1.9");
    std::strcpy(info.cNetMask, "255.255.0.0");
    std::strcpy(info.cGateway, "172.20.0.1");
    std::strcpy(info.cDnsServer, Dns);
    ASSERT_EQ(NicCall(Nic.NIC_SetIpInfo, &link.NicDevice, &info), 1) << Dns;
}

TEST_F(LinkPage, TcpIpSettingsWithTheDnsListSplit)
{
    const struct {
        const char *List, *First, *Second;
    } lists[] = {{"1.2.3.4,5.6.7.8", "1.2.3.4", "5.6.7.8"}, {"1.2.3.4", "1.2.3.4", ""}, {",1.2.3.4", ",1.2.3.4", ""},
                 {"", "", ""}};
    for (const auto& l : lists) {
        SetCardSettings(Form, false, l.List);
        Form->ShowTcpIpInfo(true);
        EXPECT_EQ(Caption(Form->DNS), l.First) << l.List;
        EXPECT_EQ(Caption(Form->DNS1), l.Second) << l.List;
    }
    EXPECT_EQ(Caption(Form->IPAddr), "172.20.1.9");
    EXPECT_EQ(Caption(Form->SubNet), "255.255.0.0");
    EXPECT_EQ(Caption(Form->Gateway), "172.20.0.1");
    EXPECT_EQ(Caption(Form->DHCPEnable), "Disabled");

    SetCardSettings(Form, true, "");
    Form->ShowTcpIpInfo(true);
    EXPECT_EQ(Caption(Form->DHCPEnable), "Enable");
    EXPECT_EQ(Caption(Form->IPAddr), "192.168.1.105"); // the stand-in's DHCP lease
    EXPECT_EQ(Caption(Form->DNS), "192.168.1.1");

    Form->ShowTcpIpInfo(false);
    EXPECT_EQ(Caption(Form->IPAddr), "0.0.0.0");
    EXPECT_EQ(Caption(Form->SubNet), "0.0.0.0");
    EXPECT_EQ(Caption(Form->Gateway), "");
    EXPECT_EQ(Caption(Form->DNS), "");
    EXPECT_EQ(Caption(Form->DNS1), "");
    EXPECT_EQ(Caption(Form->DHCPEnable), "Disabled");
}

TEST_F(LinkPage, ReadsWhileTheDeviceManagerIsOpenKeepTheChosenCard)
{
    Form->Link.CloseDeviceManager();
    Harness::ClearCalls();
    Form->ReadNicIpInfo();
    Form->ReadNicIpInfo();
    EXPECT_EQ(Harness::CallCount("NIC_GetActiveNICs"), 1u);
    EXPECT_EQ(Harness::CallCount("NIC_GetNicIPAddressDetail"), 2u);
    EXPECT_EQ(Harness::CallCount("NIC_GetDHCPStatusfor9x"), 0u); // not on the NT family
    EXPECT_TRUE(Form->Link.NicDeviceMgrOpen);
    EXPECT_STREQ(Form->Link.CurrentIpInfo.cAdapterName, Form->Link.TheAdapter.AdapterName);
}

TEST_F(LinkPage, MoreInfoAndBackSwitchTheView)
{
    Join("tarvane");
    Form->Btn_MoreInfoClick(nullptr);
    EXPECT_FALSE(Form->Pages.MoreInfoHidden);
    EXPECT_FALSE(Form->Btn_MoreInfo->Visible());
    EXPECT_TRUE(Form->Btn_Back->Visible());
    EXPECT_TRUE(Form->Status_Lbl_State->Visible());
    EXPECT_TRUE(Form->IPAddr->Visible());
    EXPECT_FALSE(Form->DNS1->Visible()); // the second DNS server is never shown
    Form->Btn_BackClick(nullptr);
    EXPECT_TRUE(Form->Pages.MoreInfoHidden);
    EXPECT_TRUE(Form->Btn_MoreInfo->Visible());
    EXPECT_FALSE(Form->Btn_Back->Visible());
    EXPECT_FALSE(Form->Status_Lbl_State->Visible());
}

TEST_F(LinkPage, OpeningAnAddressIsTheTestAndEveryHandleIsClosed)
{
    RefusingPort refusing;
    ASSERT_FALSE(refusing.Address().empty());
    Harness::Seam().SetInternetAddress(""); // each address as asked
    EXPECT_TRUE(OpenUrlTest(LocalHttpAddress()));
    EXPECT_FALSE(OpenUrlTest(refusing.Address()));
    EXPECT_FALSE(OpenUrlTest(""));
    EXPECT_EQ(Harness::Seam().OpenInternetHandles, 0);

    // One of the five portals, which the seam opens at the local server.
    Harness::Seam().SetInternetAddress(LocalHttpAddress());
    Harness::Seam().Clear();
    EXPECT_TRUE(TestInternetConnection());
    const std::vector<std::string> asked = Harness::Seam().UrlsAsked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("http://www.", 0), 0u) << asked[0];
    EXPECT_EQ(asked[0].find('/', 7), std::string::npos) << "a host only: " << asked[0];

    // No handle is left behind, answered or refused.
    for (int i = 0; i < 50; ++i) {
        Harness::Seam().SetInternetAddress(i % 2 ? refusing.Address() : LocalHttpAddress());
        ASSERT_EQ(TestInternetConnection(), i % 2 == 0) << i;
    }
    EXPECT_EQ(Harness::Seam().OpenInternetHandles, 0);
}

// One test at a time: while it runs, starting one gives that test; once it
// has ended, with nothing of it left open, the next start gives a new one.
TEST_F(LinkPage, InternetTestsRunOneAtATimeAndLeaveNothingOpen)
{
    TInternetTest tests;
    EXPECT_FALSE(tests.Running());
    std::shared_ptr<const TInternetTest::TAnswer> first;
    {
        SilentServer silent;
        ASSERT_FALSE(silent.Address().empty());
        Harness::Seam().SetInternetAddress(silent.Address());
        first = tests.Start();
        ASSERT_TRUE(PumpUntil([&] { return silent.Connections() == 1; }, 10000));
        EXPECT_TRUE(tests.Running());
        EXPECT_EQ(tests.Start(), first);
        EXPECT_EQ(::WaitForSingleObject(first->Done(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_EQ(silent.Connections(), 1);
    } // the server goes, and with it the connection the test waits on
    ASSERT_EQ(::WaitForSingleObject(first->Done(), 20000), WAIT_OBJECT_0);
    EXPECT_FALSE(first->Reachable());
    EXPECT_FALSE(tests.Running());
    EXPECT_EQ(Harness::Seam().OpenInternetHandles, 0);

    Harness::Seam().SetInternetAddress(LocalHttpAddress());
    const std::shared_ptr<const TInternetTest::TAnswer> second = tests.Start();
    EXPECT_NE(second, first);
    ASSERT_EQ(::WaitForSingleObject(second->Done(), 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(second->Reachable());
    EXPECT_EQ(Harness::Seam().OpenInternetHandles, 0);
}

// Passes against a server that accepts and never answers, which WinINet's
// time-outs do not end under Wine: each pass counts as no Internet after its
// wait, and none starts a test while the first one still runs.
TEST_F(LinkPage, PassesStartNoInternetTestWhileTheLastOneRuns)
{
    UseFastPasses();
    Join("tarvane");
    {
        SilentServer silent;
        ASSERT_FALSE(silent.Address().empty());
        Harness::Seam().SetInternetAddress(silent.Address());
        Harness::Seam().Clear();
        int mostOpen = 0;
        for (int pass = 0; pass < 6; ++pass) {
            Pass();
            EXPECT_EQ(Form->Pages.LinkPictureState, LinkPicture::MissingInternet) << pass;
            mostOpen = std::max<int>(mostOpen, Harness::Seam().OpenInternetHandles);
        }
        std::printf("Six passes against a server that never answers: %d connections, %zu addresses opened, "
                    "at most %d WinINet handles open\n",
                    silent.Connections(), Harness::Seam().UrlsAsked().size(), mostOpen);
        EXPECT_EQ(silent.Connections(), 1);
        EXPECT_EQ(Harness::Seam().UrlsAsked().size(), 1u);
        EXPECT_LE(mostOpen, 2); // a session and the address opened in it
        EXPECT_TRUE(Form->InternetTest.Running());
    }
    // Once the server has gone the test ends, with nothing left open.
    EXPECT_TRUE(PumpUntil([this] { return !Form->InternetTest.Running(); }, 20000));
    EXPECT_EQ(Harness::Seam().OpenInternetHandles, 0);
}

TEST_F(LinkPage, PassInTheDetailViewOrOffThePageOnlyHidesThePictures)
{
    UseFastPasses();
    Join("tarvane");
    Form->Img_Infrastrcture->Show();
    Form->Img_MissAP->Show();
    DetailView();
    Pass();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Harness::CallCount("WLAN_Get_Info"), 0u);

    Form->Btn_BackClick(nullptr);
    Form->Img_LinkClick(nullptr);
    Form->Img_SiteSurveyClick(nullptr);
    Form->Img_Adhoc->Show();
    Pass();
    EXPECT_TRUE(Shown().empty());

    // Back to the summary: the next pass puts the picture up again.
    Form->Img_LinkClick(nullptr);
    Pass();
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_Infrastrcture});
}

TEST_F(LinkPage, PassWhileTcpIpIsAppliedOnlyHidesThePictures)
{
    UseFastPasses();
    Join("tarvane");
    Form->Img_MissAP->Show();
    // An applier that is running: it waits until the test lets it go.
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    TSetTCPIPThread* applier = Form->TcpIpThread;
    Form->TcpIpThread = new TSetTCPIPThread([] { return NicIpInfo{}; },
                                            [release](NicIpInfo&) { ::WaitForSingleObject(release, 10000); });
    Form->TcpIpThread->Resume();
    Pass();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Harness::CallCount("WLAN_Get_Info"), 0u);
    ::SetEvent(release);
    delete Form->TcpIpThread;
    Form->TcpIpThread = applier;
    ::CloseHandle(release);
}

TEST_F(LinkPage, PassWithoutAnAccessPointShowsItMissing)
{
    UseFastPasses();
    Form->Pages.PreviousStatusImageId = IDB_TITLE_INFRASTRUCTURE;
    Form->Pages.LinkPictureState = LinkPicture::Infrastructure;
    Form->Pal_MoreInfo->Show();
    Form->Img_Infrastrcture->Show();
    Pass();
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_MissAP});
    EXPECT_EQ(Form->Pages.LinkPictureState, LinkPicture::MissingAccessPoint);
    EXPECT_EQ(Form->Pages.StatusImageId, IDB_TITLE_NO_LINK);
    EXPECT_FALSE(Form->Pal_MoreInfo->Visible());
    EXPECT_EQ(Harness::CallCount("WLAN_Get_Info"), 1u);
    EXPECT_TRUE(Harness::Seam().UrlsAsked().empty());

    // While a survey runs a link that is down changes nothing.
    Form->Img_MissAP->Hide();
    Form->Survey.SurveyInProgress = true;
    Pass();
    Form->Survey.SurveyInProgress = false;
    EXPECT_TRUE(Shown().empty());
}

// The link drops while the page shows the missing-Internet picture: the
// missing access point takes its place, and no other picture stays up
// behind it, whether the poll or the status-picture pass sees the drop.
TEST_F(LinkPage, ALinkThatDropsLeavesOnlyTheMissingAccessPointUp)
{
    UseFastPasses();
    Form->Show();
    for (bool pollFirst : {true, false}) {
        Join("tarvane");
        Form->Pages.LinkPictureState = LinkPicture::MissingInternet;
        Form->SetStatusPanel(IDB_TITLE_INFRASTRUCTURE);
        EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_MissInternet}) << pollFirst;
        Form->Img_Infrastrcture->Show(); // the picture of a test that answered meanwhile
        Harness::DropNetwork();
        if (pollFirst) Form->UpdateTimerTimer(nullptr);
        Pass();
        EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_MissAP}) << pollFirst;
    }
    Form->Hide();
}

// The window starts on the link page without entering it: its first
// showing puts up the bars with their captions, as entering the page does.
TEST_F(LinkPage, TheFirstShowingPutsUpTheBarsWithTheirCaptions)
{
    for (TControl* c : std::initializer_list<TControl*>{Form->Status_Img_SignalStreng, Form->Status_Img_LinkQuality,
                                                        Form->Status_Lbl_SignalStrength, Form->Status_Lbl_LinkQuality})
        c->Hide();
    Form->Show();
    for (TControl* c : std::initializer_list<TControl*>{Form->Status_Img_SignalStreng, Form->Status_Img_LinkQuality,
                                                        Form->Status_Lbl_SignalStrength, Form->Status_Lbl_LinkQuality})
        EXPECT_TRUE(c->Visible()) << c->Name;
    Form->Hide();
}

// A link that comes up while the summary view shows: whichever puts up the
// connected picture first, the poll or a status-picture pass, the bars come
// up with it; and More Info shows the link at once, not the state that the
// details held while they were out of sight.
TEST_F(LinkPage, AConnectedLinkShowsWholeTheMomentItShows)
{
    UseFastPasses();
    Form->Show();
    auto comeUp = [this] {
        Harness::DropNetwork();
        Tick();
        ASSERT_EQ(Shown(), std::vector<TImage*>{Form->Img_MissAP});
        Harness::JoinNetwork("tarvane");
    };
    auto barsWithThePicture = [this](const char* By) {
        const std::vector<TImage*> shown = Shown();
        ASSERT_EQ(shown.size(), 1u) << By;
        EXPECT_TRUE(shown[0] == Form->Img_Infrastrcture || shown[0] == Form->Img_MissInternet) << By;
        for (TImage* bar : {Form->Status_Img_SignalStreng, Form->Status_Img_LinkQuality}) {
            EXPECT_TRUE(bar->Visible()) << By << " " << bar->Name;
            EXPECT_GT(bar->Width(), 0) << By << " " << bar->Name;
        }
    };
    comeUp();
    Tick();
    barsWithThePicture("the poll");
    comeUp();
    Pass();
    barsWithThePicture("a pass");

    ASSERT_EQ(Caption(Form->Status_Lbl_State), "Scanning.....");
    Form->Btn_MoreInfoClick(nullptr);
    EXPECT_EQ(Caption(Form->Status_Lbl_State), "Connected");
    EXPECT_EQ(Caption(Form->Status_Lbl_Connected), "tarvane");
    EXPECT_EQ(Caption(Form->Status_Lbl_NetworkType), "Infrastructure");
    EXPECT_NE(Caption(Form->IPAddr), "0.0.0.0");
    Form->Hide();
}

TEST_F(LinkPage, PassOnAnAdHocLink)
{
    UseFastPasses();
    Join("lanparty", 0);
    Form->Img_MissAP->Show();
    Pass();
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_Adhoc});
    EXPECT_EQ(Form->Pages.LinkPictureState, LinkPicture::AdHoc);
    EXPECT_EQ(Form->Pages.StatusImageId, IDB_TITLE_ADHOC);
    EXPECT_TRUE(Form->Pal_MoreInfo->Visible());
    EXPECT_TRUE(Harness::Seam().UrlsAsked().empty()); // no Internet test in ad hoc
}

TEST_F(LinkPage, PassOnAnInfrastructureLinkTestsTheInternet)
{
    UseFastPasses();
    Join("tarvane");
    Pass();
    EXPECT_EQ(Form->Pages.LinkPictureState, LinkPicture::Infrastructure);
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_Infrastrcture});
    EXPECT_EQ(Form->Pages.StatusImageId, IDB_TITLE_INFRASTRUCTURE);
    EXPECT_EQ(Harness::Seam().UrlsAsked().size(), 1u);

    RefusingPort refusing;
    Harness::Seam().SetInternetAddress(refusing.Address());
    Pass();
    EXPECT_EQ(Form->Pages.LinkPictureState, LinkPicture::MissingInternet);
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_MissInternet});

    // The answer of the last test stays up while the next one runs.
    Harness::Seam().SetInternetAddress(LocalHttpAddress());
    Form->Img_MissInternet->Hide();
    std::atomic<bool> opening{false};
    HANDLE go = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Harness::Seam().WhileOpeningUrl = [&] {
        opening = true;
        ::WaitForSingleObject(go, 10000);
    };
    Form->GifThread->Resume();
    ASSERT_TRUE(PumpUntil([&] { return opening.load(); }, 10000));
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_MissInternet});
    ::SetEvent(go);
    ASSERT_TRUE(PumpUntil([&] { return Form->GifThread->Suspended(); }, 10000));
    Harness::Seam().WhileOpeningUrl = nullptr;
    ::CloseHandle(go);
    EXPECT_EQ(Form->Pages.LinkPictureState, LinkPicture::Infrastructure);
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_Infrastrcture});
    EXPECT_EQ(Harness::Seam().OpenInternetHandles, 0);
}

TEST_F(LinkPage, ThousandPassesWhileThePageAndViewSwitch)
{
    UseFastPasses();
    Join("tarvane");
    // The user moves between the link page's views and another page while
    // the passes run; a control changed off the main thread would stop the
    // program (the toolkit's thread check, on in the test programs).
    const std::function<void()> switches[] = {
        [this] { Form->Img_LinkClick(nullptr); },
        [this] { Form->Btn_MoreInfoClick(nullptr); },
        [this] { Form->Btn_BackClick(nullptr); },
        [this] { Form->Img_ProfilesClick(nullptr); },
    };
    size_t next = 0;
    RefusingPort refusing;
    for (int i = 0; i < 1000; ++i) {
        // The Internet answers for a while, then refuses for a while.
        if (i % 200 == 0) Harness::Seam().SetInternetAddress(i % 400 ? refusing.Address() : LocalHttpAddress());
        const int before = Passes;
        Form->GifThread->Resume();
        const DWORD start = ::GetTickCount();
        // Every third pass sees up to three switches between its steps.
        for (int switched = 0; Passes == before || !Form->GifThread->Suspended();) {
            ASSERT_LT(::GetTickCount() - start, 10000u) << "pass " << i;
            if (i % 3 == 0 && switched++ < 3) switches[next++ % 4]();
            Application->ProcessMessages();
        }
    }
    EXPECT_EQ(Passes, 1000);
    EXPECT_GT(Harness::Seam().UrlsAsked().size(), 50u); // many reached the Internet test
    EXPECT_EQ(Harness::Seam().OpenInternetHandles, 0);
    // Whatever the last pass saw, the pictures agree with the page now.
    Harness::Seam().SetInternetAddress(LocalHttpAddress());
    Form->Img_LinkClick(nullptr);
    Form->Btn_BackClick(nullptr);
    Pass();
    EXPECT_EQ(Shown(), std::vector<TImage*>{Form->Img_Infrastrcture});
}

} // namespace
