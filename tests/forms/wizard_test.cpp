// The profile wizard on the real main window over the stand-in chipset
// library: its pictures and picture buttons clicked as the pointer clicks
// them, what each page shows and collects, its messages, storing with Yes,
// activating now or later, and resuming an interrupted run.
#include "dialog_user.h"
#include "mainfrm_harness.h"
#include "vantra/drivers/bindings.h"
#include "vantra/drivers/record_text.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Texts = std::vector<std::string>;
using Harness::CallCount;
using Harness::CallLines;
using Harness::Logged;
using Harness::PumpUntil;

std::string StateFolder() { return Harness::WorldPath().substr(0, Harness::WorldPath().rfind('\\') + 1) + "state\\"; }

ProfileSetting Stored(const std::string& Name)
{
    ProfileSetting profile{};
    CopyText(profile.ProfileName, Name);
    WlanCall(Chipset.WLAN_Read_Setting_From_ProfileRegistry_Ex, &profile);
    return profile;
}

// A profile of a network with DHCP, as the store keeps it.
ProfileSetting Network(const std::string& Name, const std::string& Ssid)
{
    ProfileSetting profile{};
    CopyText(profile.ProfileName, Name);
    std::memcpy(profile.Wlan.SSID, Ssid.data(), Ssid.size());
    profile.Wlan.SSID_length = static_cast<uint8_t>(Ssid.size());
    profile.Wlan.OperatingModeID = 1;
    profile.Ip.blDhcpEnabled = 1;
    return profile;
}

class Wizard : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        ForgetState();
        Harness::SetWorld("World", "ApplyMs", "0");
        Harness::SetWorld("World", "Fail", "");
        Harness::Reset();
        StopTimers();
        Form->Profile_LstV_Profile1->Items()->Clear();
        Form->Img_ProfilesClick(nullptr);
        Harness::Pump();
        Harness::Seam().Clear();
        Harness::ClearCalls();
    }
    void TearDown() override
    {
        EXPECT_TRUE(PumpUntil([&] { return Form->TcpIpThread->Suspended() && !Form->Link.ApplyingTcpIp; }, 10000));
        StopTimers();
        Form->Img_LinkClick(nullptr);
        Form->Pages.WizardEditMode = false;
        ForgetState(); // the other programs of the forms folder start from the world file
    }
    // The card's settings, the driver's setting and the profile store, back
    // to what the world file gives.
    static void ForgetState()
    {
        for (const char* file : {"nic.ini", "driver.bin", "profiles.bin", "profilelist.txt"})
            ::DeleteFileA((StateFolder() + file).c_str());
    }
    void StopTimers()
    {
        for (TTimer* timer : {Form->UpdateTimer, Form->CheckTimer, Form->ConnectCheckTimer, Form->DeviceCheckTimer,
                              Form->Timer1})
            timer->SetEnabled(false);
    }

    // A press and release of the left button over the middle of a picture,
    // sent to the window that holds it, as the pointer sends them.
    void Click(TImage* Picture)
    {
        ASSERT_TRUE(Picture->Visible() && Picture->Parent()->Visible()) << Picture->Name;
        const LPARAM at = MAKELPARAM(Picture->Left() + Picture->Width() / 2, Picture->Top() + Picture->Height() / 2);
        HWND holder = Picture->Parent()->Handle();
        ::SendMessageA(holder, WM_MOUSEMOVE, 0, at);
        ::SendMessageA(holder, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageA(holder, WM_LBUTTONUP, 0, at);
        Application->ProcessMessages();
    }
    // Typed characters; the window is hidden, so the control's own flags
    // tell whether the user could reach it.
    void Type(TWinControl* Field, const std::string& Text)
    {
        ASSERT_TRUE(Field->Visible() && Field->Enabled()) << Field->Name;
        for (char c : Text) ::SendMessageA(Field->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    void Choose(TComboBox* List, int Index)
    {
        ASSERT_TRUE(List->Visible() && List->Enabled()) << List->Name;
        HWND list = List->Handle();
        ::SendMessageA(list, CB_SETCURSEL, Index, 0);
        ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }
    void New(const std::string& Name)
    {
        User::WillAnswerInputBox("Create connection profile", Name);
        ::SendMessageA(Form->Profile_NewBtn->Handle(), BM_CLICK, 0, 0);
        ASSERT_TRUE(User::InputBoxAnswered());
        ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardNetwork);
    }
    void Edit(const ProfileSetting& Profile)
    {
        ProfileSetting stored = Profile;
        ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &stored));
        TListItem* row = Form->Profile_LstV_Profile1->Items()->Add();
        row->SetCaption(Profile.ProfileName);
        row->SetSelected(true);
        ::SendMessageA(Form->Profile_EditBtn->Handle(), BM_CLICK, 0, 0);
        ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardNetwork);
    }
    // From the network page through the default DHCP and WEP pages to the
    // confirmation page.
    void ToConfirmation(const std::string& Ssid)
    {
        Type(Form->ProfileSet_SSID, Ssid);
        for (Page next : {Page::WizardChannel, Page::WizardTcpIp, Page::WizardWep, Page::WizardConfirm}) {
            Click(Form->Img_Next);
            ASSERT_EQ(Form->Pages.CurrentPage, next);
        }
    }
    Texts Fields() const
    {
        Texts texts;
        for (TIpAddressPanel* panel : {Form->Profile_IPAddr1, Form->Profile_SubNet1, Form->Profile_GateWay1,
                                       Form->Profile_DNS1, Form->Profile_DNS2})
            for (TOctetField* field : panel->Fields) texts.push_back(field->Text());
        return texts;
    }
    bool FieldsGreyAndEmpty() const
    {
        for (TIpAddressPanel* panel : {Form->Profile_IPAddr1, Form->Profile_SubNet1, Form->Profile_GateWay1,
                                       Form->Profile_DNS1, Form->Profile_DNS2}) {
            if (panel->Enabled() || panel->Color() != clBtnFace) return false;
            for (TOctetField* field : panel->Fields)
                if (!field->Text().empty() || field->Color() != clBtnFace) return false;
        }
        return true;
    }
    static Texts& Boxes() { return Harness::Seam().Boxes; }
    const ProfileSetting& Built() const { return Form->Profiles.NewProfile; }

    TMainFrm* Form = nullptr;
};

TEST_F(Wizard, ANewProfileWalksThePagesAndIsStoredByYes)
{
    New("Attic");
    EXPECT_TRUE(Form->ProfileSet_SSID->Visible());
    EXPECT_TRUE(Form->Rdb_InfrastructureMode->Checked());
    EXPECT_EQ(Form->Img_Status->Width(), 435); // the page's own panel
    EXPECT_TRUE(Form->Img_Next->Visible() && Form->Img_Back->Visible());

    // No network name: Next stays, without a word.
    Click(Form->Img_Next);
    EXPECT_EQ(Form->Pages.CurrentPage, Page::WizardNetwork);
    EXPECT_TRUE(Boxes().empty());

    Type(Form->ProfileSet_SSID, "attic-ap");
    ::SendMessageA(Form->ProfileSet_SSID->Handle(), WM_KEYDOWN, VK_RETURN, 0); // Enter is Next
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    EXPECT_FALSE(Form->ProfileSet_SSID->Visible());
    // New gives NetBand 7, which the list shows as its first mode.
    EXPECT_EQ(Form->ProfileSet_TxRate->ItemIndex(), 0);
    EXPECT_EQ(Form->ProfileSet_TxRate->Items()->Get(0), "Mixed Mode");
    EXPECT_FALSE(Form->ProfileSet_Channel->Enabled());
    EXPECT_EQ(Form->ProfileSet_Channel->Items()->Get(0), "Auto");
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardTcpIp);
    EXPECT_EQ(Built().Wlan.NetBand, 5);
    EXPECT_EQ(Built().Wlan.Channel, 1);
    EXPECT_EQ(Built().Wlan.Frequency, 2412);
    EXPECT_STREQ(Built().ProfileName, "Attic");
    EXPECT_EQ(SsidToText(Built().Wlan.SSID, Built().Wlan.SSID_length), std::string("attic-ap"));

    // DHCP, static, DHCP: each DHCP empties and greys the twenty fields.
    EXPECT_TRUE(Form->Rdb_DHCP->Checked());
    EXPECT_TRUE(FieldsGreyAndEmpty());
    for (int round = 0; round < 2; ++round) {
        Click(Form->Img_StaticIP);
        ASSERT_TRUE(Form->Rdb_StaticIP->Checked());
        EXPECT_TRUE(Form->Profile_IPAddr1->Enabled());
        EXPECT_EQ(Form->Profile_IPAddr1->Fields[0]->Color(), clWhite);
        Type(Form->Profile_IPAddr1->Fields[0], "10");
        Type(Form->Profile_DNS2->Fields[3], "7");
        Click(Form->Img_DHCP);
        ASSERT_TRUE(Form->Rdb_DHCP->Checked());
        EXPECT_TRUE(FieldsGreyAndEmpty()) << round;
    }

    // Static without an address, then with an address and no mask.
    Click(Form->Img_StaticIP);
    Type(Form->Profile_SubNet1->Fields[0], "255");
    Click(Form->Img_Next);
    Type(Form->Profile_IPAddr1->Fields[0], "192");
    Type(Form->Profile_IPAddr1->Fields[3], "5");
    for (TOctetField* field : Form->Profile_SubNet1->Fields) field->SetText("");
    Click(Form->Img_Next);
    EXPECT_EQ(Form->Pages.CurrentPage, Page::WizardTcpIp);
    EXPECT_EQ(Boxes(), (Texts{"Error\tThe adapter requires at least one IP address. Please enter one.",
                              "Error\tYou have entered an address that is missing its subnet mask. Please add a "
                              "subnet mask."}));

    Click(Form->Img_DHCP);
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardWep);
    EXPECT_EQ(Built().Ip.blDhcpEnabled, 1);
    EXPECT_STREQ(Built().Ip.cIpAdress, "0.0.0.0");
    EXPECT_STREQ(Built().Ip.cDnsServer, "0.0.0.0,0.0.0.0");
    EXPECT_EQ(Form->WEPSet_WEP->ItemIndex(), 0);
    EXPECT_FALSE(Form->WEPSet_WEPKey1->Enabled());
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardConfirm);

    // The confirmation of a DHCP profile.
    const Texts shown = {Form->ConfirmNew_ssid->Caption(),   Form->ConfirmNew_network->Caption(),
                         Form->ConfirmNew_channel->Caption(), Form->ConfirmNew_wep->Caption(),
                         Form->ConfirmNew_ipaddr->Caption(),  Form->ConfirmNew_subnet->Caption(),
                         Form->ConfirmNew_gateway->Caption(), Form->ConfirmNew_dns->Caption(),
                         Form->ConfirmNew_dns1->Caption()};
    EXPECT_EQ(shown, (Texts{"attic-ap", "Infrastructure", "Auto", "Disabled", "Use DHCP", "", "", "", ""}));
    EXPECT_TRUE(Form->Img_Yes->Visible() && Form->Img_No->Visible() && Form->Img_Back->Visible());
    EXPECT_FALSE(Form->Img_Next->Visible());
    EXPECT_EQ(CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u); // nothing stored before Yes

    Click(Form->Img_Yes);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardActivate);
    EXPECT_TRUE(Form->Img_ActnewNow->Visible() && Form->Img_ActnewLater->Visible());
    EXPECT_EQ(Stored("Attic").Wlan.NetBand, 5);
    Harness::Seam().Sounds.clear();
    Click(Form->Img_ActnewLater);
    EXPECT_EQ(Form->Pages.CurrentPage, Page::Profiles);
    EXPECT_EQ(Harness::Seam().Sounds.back(), "Sound\\click.wav"); // after the hover's change.wav
    ASSERT_EQ(Form->Profile_LstV_Profile1->Items()->Count(), 1);
    EXPECT_EQ(Form->Profile_LstV_Profile1->Items()->Item(0)->Caption(), "Attic");
    EXPECT_EQ(CallCount("WLAN_Write_Setting_To_DriverRegistry"), 0u); // later: nothing applied
}

// Each address of a static profile, 15 characters at the most, fits its
// label on the confirmation page in the label's own font.
TEST_F(Wizard, TheConfirmationShowsEveryAddressWhole)
{
    New("Loft");
    Type(Form->ProfileSet_SSID, "loft-ap");
    Click(Form->Img_Next);
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardTcpIp);
    Click(Form->Img_StaticIP);
    const std::pair<TIpAddressPanel*, Texts> addresses[] = {
        {Form->Profile_IPAddr1, {"192", "168", "100", "130"}}, {Form->Profile_SubNet1, {"255", "255", "255", "128"}},
        {Form->Profile_GateWay1, {"192", "168", "100", "129"}}, {Form->Profile_DNS1, {"192", "168", "100", "254"}},
        {Form->Profile_DNS2, {"192", "168", "200", "254"}}};
    for (const auto& a : addresses)
        for (int i = 0; i < 4; ++i) a.first->Fields[i]->SetText(a.second[i]);
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardWep) << (Boxes().empty() ? "" : Boxes().back());
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardConfirm);
    EXPECT_EQ(Form->ConfirmNew_subnet->Caption(), "255.255.255.128");
    HDC dc = ::GetDC(nullptr);
    for (TLabel* label : {Form->ConfirmNew_ipaddr, Form->ConfirmNew_subnet, Form->ConfirmNew_gateway,
                          Form->ConfirmNew_dns, Form->ConfirmNew_dns1}) {
        EXPECT_EQ(label->Caption().size(), 15u) << label->Name;
        HGDIOBJ old = ::SelectObject(dc, label->Font()->Handle());
        SIZE text{};
        ::GetTextExtentPoint32A(dc, label->Caption().c_str(), static_cast<int>(label->Caption().size()), &text);
        ::SelectObject(dc, old);
        EXPECT_LE(text.cx, label->Width()) << label->Name << " " << label->Caption();
    }
    ::ReleaseDC(nullptr, dc);
    Form->ExitWizard();
}

// The choices' circles stand whole on the card's white, clear of their pictures.
TEST_F(Wizard, TheChoicesCirclesStandOnTheCardWithRoomBeforeTheirPictures)
{
    New("Porch");
    Form->Show();
    Harness::Pump();
    auto check = [](TRadioButton* Choice, TPanel* Picture) {
        EXPECT_LE(Choice->Left() + Choice->Width(), Picture->Left()) << Choice->Name;
        EXPECT_GE(Choice->Width(), 16) << Choice->Name;
        TBitmap face;
        face.SetPixelFormat(pf24bit);
        face.SetSize(Choice->Width(), Choice->Height());
        ::PrintWindow(Choice->Handle(), face.Canvas()->Handle(), 0);
        for (POINT corner : {POINT{0, 0}, POINT{face.Width() - 1, 0}, POINT{0, face.Height() - 1},
                             POINT{face.Width() - 1, face.Height() - 1}})
            EXPECT_EQ(face.Canvas()->Pixel(corner.x, corner.y), clWhite) << Choice->Name << " " << corner.x << ","
                                                                         << corner.y;
    };
    check(Form->Rdb_InfrastructureMode, Form->Pal_InfrastructureMode);
    check(Form->Rdb_AdhocMode, Form->Pal_AdhocMode);
    Type(Form->ProfileSet_SSID, "porch-ap");
    Click(Form->Img_Next);
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardTcpIp);
    Harness::Pump();
    check(Form->Rdb_DHCP, Form->Pal_DHCP);
    check(Form->Rdb_StaticIP, Form->Pal_StaticIP);
    Form->Hide();
    Form->ExitWizard();
}

TEST_F(Wizard, BackOnTheFirstPageStoresNothing)
{
    New("Porch");
    Type(Form->ProfileSet_SSID, "porch");
    Harness::Seam().Sounds.clear();
    Click(Form->Img_Back);
    EXPECT_EQ(Form->Pages.CurrentPage, Page::Profiles);
    EXPECT_TRUE(Form->Profile_LstV_Profile1->Visible());
    EXPECT_FALSE(Form->ProfileSet_SSID->Visible());
    EXPECT_EQ(Harness::Seam().Sounds, (Texts{"Sound\\change.wav", "Sound\\click.wav"})); // hover, then the exit
    EXPECT_EQ(CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u);
    EXPECT_EQ(CallCount("WLAN_Write_ProfileList"), 0u);
}

TEST_F(Wizard, AnAdHocProfileKeepsItsChannelAndAChannelOffTheListTakesSix)
{
    ProfileSetting p{};
    CopyText(p.ProfileName, "Cabin");
    std::memcpy(p.Wlan.SSID, "cabin", 5);
    p.Wlan.SSID_length = 5;
    p.Wlan.Channel = 6;
    p.Wlan.NetBand = 3;
    p.Ip.blDhcpEnabled = 1;
    Edit(p);
    EXPECT_TRUE(Form->Rdb_AdhocMode->Checked());
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    EXPECT_EQ(Form->ProfileSet_Channel->ItemIndex(), 5);
    EXPECT_EQ(Form->ProfileSet_Channel->Items()->Count(), 11);
    EXPECT_EQ(Form->ProfileSet_TxRate->ItemIndex(), 1); // G-Only Mode
    Click(Form->Img_Next);
    EXPECT_EQ(Built().Wlan.Channel, 6);
    EXPECT_EQ(Built().Wlan.Frequency, 2437);
    EXPECT_EQ(Built().Wlan.NetBand, 3);

    // Back from the TCP/IP page, whose DHCP button took the ad-hoc button's
    // mark: a new network mode still leaves the channels open.
    Click(Form->Img_Back);
    Choose(Form->ProfileSet_TxRate, 0);
    EXPECT_TRUE(Form->ProfileSet_Channel->Enabled());
    Click(Form->Img_Next);

    // Channel 0 shows as channel 6; no channel chosen leaves with channel 6.
    Click(Form->Img_Back);
    Click(Form->Img_Back);
    Form->Profiles.NewProfile.Wlan.Channel = 0;
    Click(Form->Img_Next);
    EXPECT_EQ(Form->ProfileSet_Channel->ItemIndex(), 5);
    Choose(Form->ProfileSet_Channel, 10);
    EXPECT_EQ(Form->ProfileSet_Channel->ItemIndex(), 10);
    ::SendMessageA(Form->ProfileSet_Channel->Handle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Click(Form->Img_Next);
    EXPECT_EQ(Built().Wlan.Channel, 6);
    EXPECT_EQ(Built().Wlan.Frequency, 2437);
}

TEST_F(Wizard, A152BitProfileShowsItsLevelAndKeyOnTheWepPage)
{
    ProfileSetting p{};
    CopyText(p.ProfileName, "Lab");
    std::memcpy(p.Wlan.SSID, "lab", 3);
    p.Wlan.SSID_length = 3;
    p.Wlan.OperatingModeID = 1;
    p.Ip.blDhcpEnabled = 1;
    p.Wep.EncryptionLevel = 3;
    for (int i = 0; i < 16; ++i) p.Wep.WepKey1[i] = static_cast<uint8_t>(0xA0 + i);
    Edit(p);
    for (int i = 0; i < 3; ++i) Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardWep);
    ASSERT_EQ(Form->WEPSet_WEP->ItemIndex(), 3);
    EXPECT_EQ(Form->WEPSet_WEP->Items()->Get(3), "152 Bits");
    // The field shows its empty positions as "0", and reads a "0" as a blank.
    EXPECT_EQ(Form->WEPSet_WEPKey1->Text(), "A A1A2A3A4A5A6A7A8A9AAABACADAEAF");
    EXPECT_FALSE(Form->WEPSet_Passphrase->Enabled());
    Click(Form->Img_Next);
    EXPECT_EQ(Built().Wep.EncryptionLevel, 3);
    EXPECT_EQ(Built().Wep.WepKey1[15], 0xAF);
    EXPECT_EQ(Form->ConfirmNew_wep->Caption(), "152 Bits");

    // Back to the WEP page: a profile of another level lists the three levels.
    Click(Form->Img_Back);
    Choose(Form->WEPSet_WEP, 1);
    EXPECT_EQ(Form->WEPSet_WEPKey1->Text().find_first_not_of(' '), std::string::npos);
    Type(Form->WEPSet_WEPKey1, "0123456789");
    Click(Form->Img_Next);
    EXPECT_EQ(Built().Wep.EncryptionLevel, 1);
    EXPECT_EQ(Built().Wep.WepKey1[4], 0x89);
    EXPECT_EQ(Built().Wep.WepKey1[5], 0);
}

// Esc on an open drop-down list closes the list only, as it does on a
// system list in the same window; Esc with no list open hides the window
// to the tray.
TEST_F(Wizard, EscOnAnOpenListClosesTheListAndLeavesTheWindowShown)
{
    Form->Profiles.NewProfile = ProfileSetting{};
    Form->Show();
    Form->ShowWizardPage(Page::WizardWep);
    HWND plain = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 300, 10, 110, 120,
                                   Form->Handle(), nullptr, nullptr, nullptr);
    ::SendMessageA(plain, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Disabled"));
    for (HWND list : {plain, Form->WEPSet_WEP->Handle()}) {
        ::SetFocus(list);
        ASSERT_EQ(::GetFocus(), list);
        User::Chord(0, VK_F4);
        ASSERT_TRUE(::SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
        User::Chord(0, VK_ESCAPE);
        Harness::Pump();
        EXPECT_FALSE(::SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_TRUE(Form->Visible() && ::IsWindowVisible(Form->Handle())) << (list == plain ? "system" : "wizard");
    }
    ::DestroyWindow(plain);
    User::Chord(0, VK_ESCAPE);
    EXPECT_FALSE(Form->Visible());
}

TEST_F(Wizard, AnUntouchedKeyOfATextFormProfileIsStoredByteForByte)
{
    ProfileSetting p = Network("Loft", "loft");
    p.ProfileMode = 1; // keys are typed in the text form
    p.Wep.EncryptionLevel = 1;
    const uint8_t key[5] = {0x11, 0x22, 0x33, 0x44, 0x55};
    std::memcpy(p.Wep.WepKey1, key, sizeof key);
    Edit(p);
    for (Page next : {Page::WizardChannel, Page::WizardTcpIp, Page::WizardWep}) {
        Click(Form->Img_Next);
        ASSERT_EQ(Form->Pages.CurrentPage, next);
    }
    EXPECT_EQ(Form->WEPSet_WEPKey1->Text(), "1122334455");
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardConfirm);
    Click(Form->Img_Yes);
    const ProfileSetting stored = Stored("Loft");
    EXPECT_EQ(stored.Wep.EncryptionLevel, 1);
    EXPECT_EQ(std::memcmp(stored.Wep.WepKey1, p.Wep.WepKey1, sizeof p.Wep.WepKey1), 0)
        << BytesToHexText(stored.Wep.WepKey1);

    // A key typed afresh takes the profile's own form.
    Click(Form->Img_ActnewLater);
    Edit(p);
    for (int i = 0; i < 3; ++i) Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardWep);
    Choose(Form->WEPSet_WEP, 2);
    EXPECT_EQ(Form->WEPSet_WEPKey1->EditMask(), "aaaaaaaaaaaaa;0; ");
}

TEST_F(Wizard, AnInterruptedEditOrNewLeavesDefaultAlone)
{
    // "Default" is stored. Edit "Home", leave page 5 for the Link page,
    // stop and start the monitor: its first poll makes sure of "Default".
    Form->EnsureDefaultProfile();
    const ProfileSetting made = Stored("Default");
    ASSERT_NE(made.Wlan.SSID_length, 0);
    auto unchanged = [&made] {
        const ProfileSetting now = Stored("Default");
        return std::memcmp(&now, &made, sizeof now) == 0;
    };
    Edit(Network("Home", "home-net"));
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    Form->Img_LinkClick(nullptr);
    Form->MonitorState->Click();
    Form->MonitorState->Click();
    ASSERT_TRUE(PumpUntil([&] { return Form->Poll.FirstPollDone; }, 10000));
    StopTimers();
    ASSERT_TRUE(unchanged());

    Form->Img_ProfilesClick(nullptr);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel); // resumed
    for (int i = 0; i < 3; ++i) Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardConfirm);
    Click(Form->Img_Yes);
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(SsidToText(Stored("Home").Wlan.SSID, Stored("Home").Wlan.SSID_length), std::string("home-net"));
    Click(Form->Img_ActnewLater);

    // New "Attic": the card comes back while page 5 shows, and the poll
    // starts afresh.
    New("Attic");
    Type(Form->ProfileSet_SSID, "attic-ap");
    ::SendMessageA(Form->ProfileSet_SSID->Handle(), WM_KEYDOWN, VK_RETURN, 0); // Enter is Next
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    Form->Poll = TPollState{};
    Form->Poll.LinkInfoValid = true;
    Form->UpdateTimer->SetInterval(500);
    Form->UpdateTimer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return Form->Poll.FirstPollDone; }, 10000));
    StopTimers();
    for (int i = 0; i < 3; ++i) Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardConfirm);
    Click(Form->Img_Yes);
    EXPECT_TRUE(unchanged());
    const ProfileSetting attic = Stored("Attic");
    EXPECT_EQ(SsidToText(attic.Wlan.SSID, attic.Wlan.SSID_length), std::string("attic-ap"));
    TListItem* row = Form->Profile_LstV_Profile1->Selected();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Caption(), "Attic");
}

// The field cannot show a zero byte: an SSID left as the page showed it
// keeps its bytes, and one the user changed becomes what was typed.
TEST_F(Wizard, AnSsidLeftAsShownKeepsItsZeroBytes)
{
    const std::string hidden("loft\0\0", 6);
    ProfileSetting p{};
    CopyText(p.ProfileName, "Loft");
    std::memcpy(p.Wlan.SSID, hidden.data(), hidden.size());
    p.Wlan.SSID_length = static_cast<uint8_t>(hidden.size());
    p.Wlan.OperatingModeID = 1;
    Edit(p);
    EXPECT_EQ(Form->ProfileSet_SSID->Text(), "loft");
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    EXPECT_EQ(SsidBytes(Built().Wlan.SSID, Built().Wlan.SSID_length), hidden);

    Click(Form->Img_Back);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardNetwork);
    Form->ProfileSet_SSID->SetSelStart(4);
    Type(Form->ProfileSet_SSID, "s");
    Click(Form->Img_Next);
    EXPECT_EQ(SsidBytes(Built().Wlan.SSID, Built().Wlan.SSID_length), "lofts");
}

TEST_F(Wizard, AnInterruptedEditResumesWhereItWasLeft)
{
    ProfileSetting p{};
    CopyText(p.ProfileName, "Den");
    std::memcpy(p.Wlan.SSID, "den", 3);
    p.Wlan.SSID_length = 3;
    p.Wlan.OperatingModeID = 1;
    Edit(p);
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    Form->Img_LinkClick(nullptr);
    EXPECT_EQ(Form->Pages.CurrentPage, Page::Link);
    EXPECT_FALSE(Form->ProfileSet_TxRate->Visible());
    EXPECT_FALSE(Form->Img_Next->Visible());
    Form->Img_ProfilesClick(nullptr);
    EXPECT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    EXPECT_TRUE(Form->ProfileSet_TxRate->Visible());
    EXPECT_TRUE(Form->Img_Next->Visible());
}

// Each page of the wizard is titled by what it does: a new profile, or an
// edit of a stored one, also when an interrupted edit is resumed.
TEST_F(Wizard, ItsPagesAreTitledNewOrEditProfile)
{
    auto titled = [this](int32_t Id) {
        TBitmap title;
        title.LoadFromResourceID(::GetModuleHandleA(nullptr), Id);
        TBitmap* shown = Form->Img_Title->Picture()->Bitmap();
        if (!Form->Img_Title->Visible() || shown->Width() != title.Width() || shown->Height() != title.Height())
            return false;
        for (int y = 0; y < title.Height(); ++y)
            for (int x = 0; x < title.Width(); ++x)
                if (shown->Canvas()->Pixel(x, y) != title.Canvas()->Pixel(x, y)) return false;
        return true;
    };
    New("Shed");
    EXPECT_TRUE(titled(IDB_TITLE_NEW_PROFILE));
    Form->ExitWizard();

    ProfileSetting p = Network("Den", "den");
    Edit(p);
    EXPECT_TRUE(titled(IDB_TITLE_EDIT_PROFILE));
    Click(Form->Img_Next);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    EXPECT_TRUE(titled(IDB_TITLE_EDIT_PROFILE));
    Form->Img_LinkClick(nullptr);
    EXPECT_FALSE(titled(IDB_TITLE_EDIT_PROFILE));
    Form->Img_ProfilesClick(nullptr);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardChannel);
    EXPECT_TRUE(titled(IDB_TITLE_EDIT_PROFILE));
    Form->ExitWizard();
}

TEST_F(Wizard, NoThenActivateNowReachesTheDriverAndLeavesTheList)
{
    New("Porch");
    ToConfirmation("porch-net");
    Click(Form->Img_No);
    ASSERT_EQ(Form->Pages.CurrentPage, Page::WizardActivate);
    Click(Form->Img_ActnewNow);
    EXPECT_EQ(Form->Pages.CurrentPage, Page::Profiles);
    ASSERT_EQ(CallLines("WLAN_Write_Setting_To_DriverRegistry").size(), 1u);
    const ProfileSetting applied =
        Logged<ProfileSetting>(CallLines("WLAN_Write_Setting_To_DriverRegistry")[0], "profile");
    EXPECT_STREQ(applied.ProfileName, "Porch");
    EXPECT_STREQ(applied.SsidText, "porch-net");
    EXPECT_EQ(applied.Wlan.NetBand, 7);
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_PropertyChange") == 1; }, 10000));
    EXPECT_EQ(Logged<NicIpInfo>(CallLines("NIC_SetIpInfo")[0], "info").blDhcpEnabled, 1);
    EXPECT_EQ(Form->Profile_LstV_Profile1->Items()->Count(), 0);
    EXPECT_EQ(CallCount("WLAN_Write_Setting_To_ProfileRegistry_Ex"), 0u);
    EXPECT_EQ(CallCount("WLAN_Write_ProfileList"), 0u);
}

TEST_F(Wizard, ActivateNowConnectsTheBuiltProfileEvenWhenTheStoreRefusedIt)
{
    // Another profile is listed and selected when the store fails.
    ProfileSetting other{};
    CopyText(other.ProfileName, "Neighbour");
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &other));
    TListItem* row = Form->Profile_LstV_Profile1->Items()->Add();
    row->SetCaption("Neighbour");
    row->SetSelected(true);

    New("Attic");
    ToConfirmation("attic-ap");
    Harness::SetWorld("World", "Fail", "WLAN_Write_Setting_To_ProfileRegistry_Ex");
    Click(Form->Img_Yes);
    EXPECT_FALSE(Form->Profiles.NewProfileSaved);
    Harness::SetWorld("World", "Fail", "");
    Harness::ClearCalls();
    Click(Form->Img_ActnewNow);
    ASSERT_EQ(CallLines("WLAN_Write_Setting_To_DriverRegistry").size(), 1u);
    EXPECT_STREQ(Logged<ProfileSetting>(CallLines("WLAN_Write_Setting_To_DriverRegistry")[0], "profile").ProfileName,
                 "Attic");
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_PropertyChange") == 1; }, 10000));
    ASSERT_TRUE(PumpUntil([&] { return Form->TcpIpThread->Suspended() && !Form->Link.ApplyingTcpIp; }, 10000));
    // The card came back: the first poll after it makes sure of "Default".
    ASSERT_TRUE(PumpUntil([&] { return Form->Poll.FirstPollDone; }, 10000));
    StopTimers();

    // Stored, the profile is connected from the store.
    New("Attic");
    ToConfirmation("attic-ap");
    Click(Form->Img_Yes);
    ASSERT_TRUE(Form->Profiles.NewProfileSaved);
    Harness::ClearCalls();
    Click(Form->Img_ActnewNow);
    ASSERT_EQ(CallLines("WLAN_Read_Setting_From_ProfileRegistry_Ex").size(), 1u);
    EXPECT_STREQ(Logged<ProfileSetting>(CallLines("WLAN_Write_Setting_To_DriverRegistry")[0], "profile").ProfileName,
                 "Attic");
}

} // namespace
