// Connecting, with the real main window in process over the stand-ins: to
// an open access point, through the WEP key dialog (whatever a tick selects
// meanwhile), from a computer with a static address (answered Yes and No),
// to a stored profile with and without its own TCP/IP settings, and again
// after monitoring was stopped and started while a slow card took a
// profile's; read back from the stand-ins' call log.
#include "dialog_user.h"
#include "mainfrm_harness.h"
#include "toolkit/application.h"
#include "vantra/drivers/bindings.h"
#include "vantra/drivers/record_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>

namespace {

using Harness::CallCount;
using Harness::CallLines;
using Harness::CallNames;
using Harness::Logged;
using Harness::PumpUntil;

size_t Position(const std::vector<std::string>& Names, const std::string& Name, size_t From = 0)
{
    for (size_t i = From; i < Names.size(); ++i)
        if (Names[i] == Name) return i;
    return Names.size();
}

std::string StateFolder() { return Harness::WorldPath().substr(0, Harness::WorldPath().rfind('\\') + 1) + "state\\"; }

class Connect : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        Harness::Dialog();
        // The computer's card back to its world settings, no driver setting, no profiles.
        for (const char* file : {"nic.ini", "driver.bin", "profiles.bin"})
            ::DeleteFileA((StateFolder() + file).c_str());
        Harness::SetWorld("Adapter", "Dhcp", "1");
        Harness::SetWorld("World", "ApplyMs", "0");
        Harness::Reset();
        Form->Connections_LstV_APs->Items()->Clear();
        Form->Img_SiteSurveyClick(nullptr); // the page surveys when its list is empty
        ASSERT_GT(Form->Connections_LstV_APs->Items()->Count(), 3);
        StopTimers();
        Harness::ClearCalls();
    }
    void TearDown() override
    {
        // A restarted card is opened again by the device check before the next test.
        EXPECT_TRUE(PumpUntil([&] { return Form->TcpIpThread->Suspended() && !Form->Link.ApplyingTcpIp; }, 10000));
        StopTimers();
        Form->Img_LinkClick(nullptr);
    }
    void StopTimers()
    {
        for (TTimer* timer : {Form->UpdateTimer, Form->CheckTimer, Form->ConnectCheckTimer, Form->DeviceCheckTimer,
                              Form->Timer1})
            timer->SetEnabled(false);
    }
    // Selects the survey row of the network; its index.
    int SelectRow(const std::string& Ssid)
    {
        TListItems* rows = Form->Connections_LstV_APs->Items();
        for (int r = 0; r < rows->Count(); ++r) {
            if (rows->Item(r)->Caption() != Ssid) continue;
            rows->Item(r)->SetSelected(true);
            return r;
        }
        ADD_FAILURE() << Ssid << " is not listed";
        return -1;
    }
    int RowImage(int Row) { return Form->Connections_LstV_APs->Items()->Item(Row)->ImageIndex(); }
    // Runs the connect check until the row's mark is settled.
    void CheckUntilMarked()
    {
        for (int tick = 0; tick < 40 && Form->Survey.ConnectPending; ++tick) {
            Form->ConnectCheckTimerTimer(nullptr);
            Application->ProcessMessages();
        }
    }
    TMainFrm* Form = nullptr;
};

TEST_F(Connect, OpenAccessPointWithDhcpIsConfiguredAtOnce)
{
    const int row = SelectRow("tarvane");
    Form->Connections_ConnectBtnClick(nullptr);
    EXPECT_TRUE(Harness::Seam().Boxes.empty()); // DHCP already: no question
    const auto names = CallNames();
    const size_t config = Position(names, "WLAN_Set_Config"), wep = Position(names, "WLAN_Set_WEP_Config"),
                 save = Position(names, "WLAN_Write_Setting_To_DriverRegistry");
    ASSERT_LT(config, wep);
    ASSERT_LT(wep, save);
    ASSERT_LT(save, names.size());

    const WlanInfo info = Logged<WlanInfo>(CallLines("WLAN_Set_Config")[0], "info");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.SSID), info.SSID_length), "tarvane");
    const uint8_t tarvane[6] = {0x02, 0x0F, 0x3D, 0x4A, 0x11, 0x20};
    EXPECT_EQ(std::memcmp(info.Bssid, tarvane, 6), 0);
    EXPECT_EQ(info.OperatingModeID, 1);
    EXPECT_EQ(info.Channel, 11);
    EXPECT_EQ(info.RateIndex, 4);
    EXPECT_EQ(info.NetBand, 5);
    EXPECT_EQ(info.FragThreshold, 2346);
    EXPECT_EQ(info.RtsThreshold, 2347);
    EXPECT_EQ(info.StationState, WLAN_STATION_STATE_RECONFIGURING);
    const WlanWepInfo sent = Logged<WlanWepInfo>(CallLines("WLAN_Set_WEP_Config")[0], "wep");
    EXPECT_EQ(sent.EncryptionLevel, 0);
    EXPECT_EQ(sent.WepMode, 1);
    EXPECT_EQ(sent.AuthenticationType, 0);
    // The driver gets the wireless part alone.
    const ProfileSetting saved = Logged<ProfileSetting>(CallLines("WLAN_Write_Setting_To_DriverRegistry")[0], "profile");
    EXPECT_STREQ(saved.SsidText, "tarvane");
    EXPECT_EQ(std::memcmp(&saved.Wlan, &info, sizeof info), 0);
    const ProfileSetting nothing{};
    EXPECT_EQ(std::memcmp(&saved.ProfileMode, &nothing.ProfileMode, sizeof saved - ProfileWirelessPartSize), 0);
    EXPECT_EQ(CallCount("NIC_SetIpInfo"), 0u);

    EXPECT_TRUE(Form->ConnectCheckTimer->Enabled());
    EXPECT_EQ(Form->ConnectCheckTimer->Interval(), 300u);
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_TRUE(Form->CheckTimer->Enabled());
    EXPECT_EQ(Form->Survey.SelectedRowIndex, row);

    // The stand-in joins at once here; the connect check marks the row.
    CheckUntilMarked();
    EXPECT_EQ(RowImage(row), 2);
}

TEST_F(Connect, ProtectedRowAsksForTheKeyCancelChangesNothing)
{
    const int row = SelectRow("Kestrel-Home");
    Form->Show();
    TSiteSurveyWEPFrm* dialog = SiteSurveyWEPFrm;
    User::WhileModal(dialog, [&] { Form->Connections_ConnectBtnClick(nullptr); }, [&] {
        EXPECT_TRUE(Form->Visible()); // the main window stays under the dialog, which covers it,
        EXPECT_FALSE(::IsWindowEnabled(Form->Handle())); // takes nothing meanwhile
        EXPECT_FALSE(Form->Restore->Enabled);            // and cannot be opened from the tray
        EXPECT_FALSE(Form->MonitorState->Enabled);
        User::Press(dialog->WEP_CancelBtn);
    });
    EXPECT_TRUE(Form->Visible());
    EXPECT_TRUE(Form->Restore->Enabled);
    EXPECT_TRUE(Form->MonitorState->Enabled);
    EXPECT_FALSE(Form->Survey.DialogWepOk);
    EXPECT_EQ(CallCount("WLAN_Set_Config") + CallCount("WLAN_Set_WEP_Config") +
                  CallCount("WLAN_Write_Setting_To_DriverRegistry"),
              0u);
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_FALSE(Form->ConnectCheckTimer->Enabled());

    // With the right key the stand-in joins and the row is marked connected.
    User::WhileModal(dialog, [&] { Form->Connections_ConnectBtnClick(nullptr); }, [&] {
        User::Choose(dialog->WEPSet_WEP, 1);
        User::Type(dialog->WEPSet_WEPKey1, "1a2b3c4d5e");
        User::Press(dialog->WEP_OKBtn);
    });
    ASSERT_EQ(CallCount("WLAN_Set_WEP_Config"), 1u);
    const WlanWepInfo sent = Logged<WlanWepInfo>(CallLines("WLAN_Set_WEP_Config")[0], "wep");
    EXPECT_EQ(sent.EncryptionLevel, 1);
    EXPECT_EQ(sent.WepMode, 1);
    const uint8_t key[5] = {0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(std::memcmp(sent.WepKey1, key, 5), 0);
    CheckUntilMarked();
    EXPECT_EQ(RowImage(row), 5);
    Form->Hide();
}

// A connect chooses the link page's next state; the window's showing after
// the next key dialog puts up the current page's panel, not the link page's.
TEST_F(Connect, AWepConnectLeavesTheSurveyPageWholeEveryTime)
{
    SelectRow("Kestrel-Home");
    Form->Show();
    TSiteSurveyWEPFrm* dialog = SiteSurveyWEPFrm;
    TBitmap surveyPanel;
    surveyPanel.LoadFromResourceID(::GetModuleHandleA(nullptr), IDB_STATUS_SURVEY);
    for (int connect = 1; connect <= 3; ++connect) {
        User::WhileModal(dialog, [&] { Form->Connections_ConnectBtnClick(nullptr); }, [&] {
            User::Choose(dialog->WEPSet_WEP, 1);
            User::Type(dialog->WEPSet_WEPKey1, "1a2b3c4d5e");
            User::Press(dialog->WEP_OKBtn);
        });
        CheckUntilMarked();
        Form->UpdateTimerTimer(nullptr); // the poll tells the link is up
        Harness::Pump();
        EXPECT_EQ(Form->Pages.CurrentPage, Page::SiteSurvey) << connect;
        EXPECT_EQ(Form->Img_Status->Picture()->Width(), surveyPanel.Width()) << connect;
        EXPECT_EQ(Form->Img_Status->Picture()->Height(), surveyPanel.Height()) << connect;
        EXPECT_EQ(Form->Img_GifTitle->Picture()->Width(), 0) << connect; // no "Not connected"
        EXPECT_EQ(Form->Img_Title->Picture()->Width(), 0) << connect;
        for (TControl* c : std::initializer_list<TControl*>{Form->Img_MissAP, Form->Img_Adhoc, Form->Img_Infrastrcture,
                                                            Form->Img_MissInternet, Form->Pal_MoreInfo,
                                                            Form->Status_Img_SignalStreng, Form->Status_Lbl_State})
            EXPECT_FALSE(c->Visible()) << connect << ": " << c->Name;
        for (TControl* c : std::initializer_list<TControl*>{Form->Connections_LstV_APs, Form->Connections_ConnectBtn,
                                                            Form->Survey_Lbl_NetworkType, Form->Survey_Lbl_MAC})
            EXPECT_TRUE(c->Visible()) << connect << ": " << c->Name;
    }
    Form->Hide();
}

TEST_F(Connect, KeyGoesToTheNetworkItWasTypedForWhateverATickSelectsMeanwhile)
{
    // Linked to the open tarvane; the user connects to Kestrel-Home.
    WlanWepInfo open{};
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Set_WEP_Config, &open));
    Harness::JoinNetwork("tarvane");
    Harness::ClearCalls();
    const int row = SelectRow("Kestrel-Home");
    Form->Show();
    TSiteSurveyWEPFrm* dialog = SiteSurveyWEPFrm;
    TListView* list = Form->Connections_LstV_APs;
    User::WhileModal(dialog, [&] { Form->Connections_ConnectBtnClick(nullptr); }, [&] {
        // While the key is typed, the connect check marks and selects the link's row.
        Form->ConnectCheckTimer->SetInterval(100);
        Form->ConnectCheckTimer->SetEnabled(true);
        EXPECT_TRUE(PumpUntil(
            [&] { return list->ItemIndex() >= 0 && list->Items()->Item(list->ItemIndex())->Caption() == "tarvane"; },
            10000));
        User::Choose(dialog->WEPSet_WEP, 1);
        User::Type(dialog->WEPSet_WEPKey1, "1a2b3c4d5e");
        User::Press(dialog->WEP_OKBtn);
    });
    ASSERT_EQ(CallCount("WLAN_Set_Config"), 1u);
    const WlanInfo info = Logged<WlanInfo>(CallLines("WLAN_Set_Config")[0], "info");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.SSID), info.SSID_length), "Kestrel-Home");
    const uint8_t kestrel[6] = {0x02, 0x1C, 0x10, 0x7E, 0x42, 0x93};
    EXPECT_EQ(std::memcmp(info.Bssid, kestrel, 6), 0);
    ASSERT_EQ(CallCount("WLAN_Set_WEP_Config"), 1u);
    const WlanWepInfo sent = Logged<WlanWepInfo>(CallLines("WLAN_Set_WEP_Config")[0], "wep");
    EXPECT_EQ(sent.EncryptionLevel, 1);
    const uint8_t key[5] = {0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(std::memcmp(sent.WepKey1, key, 5), 0);
    EXPECT_EQ(Form->Survey.SelectedRowIndex, row);
    // The key is Kestrel-Home's: the stand-in joins it.
    CheckUntilMarked();
    EXPECT_EQ(RowImage(row), 5);
    Form->Hide();
}

TEST_F(Connect, DialogKeyIndexIsLimitedAndReplacedByZero)
{
    SelectRow("Kestrel-Home");
    Form->Survey.DialogWepOk = true;
    Form->Survey.DialogWepInfo = WlanWepInfo{};
    Form->Survey.DialogWepInfo.WepKeyToUse = 7;
    Form->Survey.DialogWepInfo.EncryptionLevel = 1;
    Form->ConnectToAP(ConnectTarget::SurveyRow);
    ASSERT_EQ(CallCount("WLAN_Set_WEP_Config"), 1u);
    EXPECT_LE(Logged<WlanWepInfo>(CallLines("WLAN_Set_WEP_Config")[0], "wep").WepKeyToUse, 4);
}

TEST_F(Connect, StaticAddressSwitchedToDhcpThroughTheApplier)
{
    Harness::SetWorld("Adapter", "Dhcp", "0");
    // A card that takes its time, long enough for the poll and the connect
    // check to have called the chipset library if they ran.
    Harness::SetWorld("World", "ApplyMs", "2500");
    Harness::Seam().BoxAnswer = IDYES;
    SelectRow("tarvane");
    Form->Connections_ConnectBtnClick(nullptr);
    ASSERT_EQ(Harness::Seam().Boxes.size(), 1u);
    EXPECT_EQ(Harness::Seam().Boxes[0],
              "Vantra Question?\tYour PC is current using \"Static IP Address\".Do you want to change to\n"
              "\"Obtain IP Address Automatically\" for wireless connection?");
    EXPECT_EQ(Form->Pages.CurrentPage, Page::Link);
    // While the card takes its settings the user goes back to the survey and refreshes it.
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_SetIpInfo") == 1; }, 20000));
    ASSERT_FALSE(Form->TcpIpThread->Suspended());
    Form->Img_SiteSurveyClick(nullptr);
    Form->Connections_RefreshBtnClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_PropertyChange") == 1; }, 20000));
    // The card restarts and the device check opens the adapter again.
    ASSERT_TRUE(PumpUntil([&] { return CallCount("WLAN_Open_Adapter") == 1 && !Form->Link.ApplyingTcpIp; }, 10000));
    EXPECT_TRUE(Form->TcpIpThread->Suspended());
    EXPECT_TRUE(Form->Link.AdapterOpened);

    const auto names = CallNames();
    const size_t save = Position(names, "WLAN_Write_Setting_To_DriverRegistry");
    EXPECT_LT(save, Position(names, "WLAN_Set_Config")); // the driver's setting first, no direct configuration
    EXPECT_EQ(CallCount("WLAN_Set_WEP_Config"), 0u);
    const ProfileSetting saved = Logged<ProfileSetting>(CallLines("WLAN_Write_Setting_To_DriverRegistry")[0], "profile");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(saved.Wlan.SSID), saved.Wlan.SSID_length), "tarvane");
    EXPECT_EQ(saved.Wlan.FragThreshold, 2346);
    EXPECT_EQ(saved.Wep.WepMode, 0);

    const NicIpInfo applied = Logged<NicIpInfo>(CallLines("NIC_SetIpInfo")[0], "info");
    EXPECT_EQ(applied.blDhcpEnabled, 1);
    EXPECT_STREQ(applied.cDhcpServer, "0.0.0.0");
    EXPECT_STREQ(applied.cDnsServer, "");
    EXPECT_STREQ(applied.cIpAdress, "192.168.1.64"); // the rest as the card had it
    EXPECT_EQ(std::memcmp(applied.Mac, Form->Link.TheAdapter.MacAddress, 6), 0);

    // While the card took its settings and until its restart, nothing
    // called the chipset library.
    const size_t set = Position(names, "NIC_SetIpInfo"), restart = Position(names, "NIC_PropertyChange");
    ASSERT_LT(set, restart);
    for (size_t i = set + 1; i < restart; ++i) EXPECT_NE(names[i].compare(0, 5, "WLAN_"), 0) << names[i];
}

TEST_F(Connect, StaticAddressKeptWhenAnsweredNo)
{
    Harness::SetWorld("Adapter", "Dhcp", "0");
    Harness::Seam().BoxAnswer = IDNO;
    SelectRow("tarvane");
    Form->Connections_ConnectBtnClick(nullptr);
    EXPECT_EQ(Harness::Seam().Boxes.size(), 1u);
    EXPECT_EQ(CallCount("WLAN_Set_Config"), 1u);
    EXPECT_EQ(CallCount("WLAN_Write_Setting_To_DriverRegistry"), 1u);
    EXPECT_TRUE(Form->TcpIpThread->Suspended());
    EXPECT_EQ(CallCount("NIC_SetIpInfo"), 0u);
    EXPECT_FALSE(Form->Link.ApplyingTcpIp);
}

class ProfileConnect : public Connect {
protected:
    // Stores a profile for tarvane and lists it, selected.
    ProfileSetting Store(uint8_t SetIP)
    {
        ProfileSetting profile{};
        std::strcpy(profile.ProfileName, "Office");
        std::strcpy(profile.SsidText, "tarvane");
        profile.Wlan.OperatingModeID = 1;
        profile.Wlan.SSID_length = 7;
        std::memcpy(profile.Wlan.SSID, "tarvane", 7);
        profile.Wlan.PreambleType = 1;
        profile.Wlan.FragThreshold = 2346;
        profile.Wlan.RtsThreshold = 2347;
        profile.Wep.AuthenticationType = 1;
        profile.Wep.WepMode = 1;
        profile.SetIP = SetIP;
        std::strcpy(profile.Ip.cIpAdress, "192.168.1.77");
        std::strcpy(profile.Ip.cNetMask, "255.255.255.0");
        std::strcpy(profile.Ip.cGateway, "192.168.1.1");
        EXPECT_TRUE(WlanCall(Chipset.WLAN_Write_Setting_To_ProfileRegistry_Ex, &profile));
        TListItems* rows = Form->Profile_LstV_Profile1->Items();
        rows->Clear();
        TListItem* row = rows->Add();
        row->SetCaption("Office");
        row->SetSelected(true);
        Harness::ClearCalls();
        return profile;
    }
};

TEST_F(ProfileConnect, OwnSettingsAreAppliedAndTheCardRestarts)
{
    Store(1);
    Form->ConnectToAP(ConnectTarget::Profile);
    const ProfileSetting saved = Logged<ProfileSetting>(CallLines("WLAN_Write_Setting_To_DriverRegistry")[0], "profile");
    EXPECT_STREQ(saved.ProfileName, "Office");
    EXPECT_STREQ(saved.ProfileNameCopy, "Office");
    EXPECT_STREQ(saved.SsidText, "tarvane");
    EXPECT_EQ(saved.Wlan.PreambleType, 0);
    EXPECT_EQ(saved.Wep.AuthenticationType, 0);
    EXPECT_EQ(saved.Wep.WepMode, 0);
    EXPECT_EQ(saved.SetIP, 1);
    EXPECT_TRUE(Form->Survey.ConnectPending);
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_PropertyChange") == 1; }, 10000));
    const NicIpInfo applied = Logged<NicIpInfo>(CallLines("NIC_SetIpInfo")[0], "info");
    EXPECT_EQ(applied.blDhcpEnabled, 0);
    EXPECT_STREQ(applied.cIpAdress, "192.168.1.77");
    EXPECT_EQ(std::memcmp(applied.Mac, Form->Link.TheAdapter.MacAddress, 6), 0);
    EXPECT_EQ(CallCount("WLAN_Set_Config"), 0u); // the driver takes the setting as the card comes back
}

TEST_F(ProfileConnect, WithoutOwnSettingsTheCardOnlyRestartsAndFollowsTheDhcpServer)
{
    // What an earlier, unrelated apply left pending must not be applied.
    std::strcpy(Form->PendingIpInfo.cIpAdress, "10.9.9.9");
    Form->PendingIpInfo.blDhcpEnabled = 0;
    Store(0);
    Form->ConnectToAP(ConnectTarget::Profile);
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_PropertyChange") == 1 && !Form->Link.ApplyingTcpIp; }, 10000));
    EXPECT_EQ(CallCount("NIC_SetIpInfo"), 0u);
    const auto names = CallNames();
    EXPECT_LT(Position(names, "WLAN_Write_Setting_To_DriverRegistry"), Position(names, "NIC_PropertyChange"));

    // The DHCP server hands out other DNS servers: the card takes them.
    char served[64] = {};
    ::GetPrivateProfileStringA("Dhcp", "Dns", "", served, sizeof served, Harness::WorldPath().c_str());
    Harness::SetWorld("Dhcp", "Dns", "192.168.7.7,192.168.7.8");
    NicIpInfo card{};
    NicCall(Nic.NIC_GetNicIPAddressDetail, Form->Link.TheAdapter.MacAddress, &card);
    Harness::SetWorld("Dhcp", "Dns", served);
    EXPECT_EQ(card.blDhcpEnabled, 1);
    EXPECT_STREQ(card.cDnsServer, "192.168.7.7,192.168.7.8");
}

TEST_F(ProfileConnect, WithoutOwnSettingsACardThatCannotBeReadIsOnlyRestarted)
{
    Store(0);
    Harness::SetWorld("World", "Fail", "NIC_GetNicIPAddressDetail");
    Form->ConnectToAP(ConnectTarget::Profile);
    Harness::SetWorld("World", "Fail", "");
    // An empty record would clear the computer's addresses: none is applied,
    // and the card restart alone makes the driver take the profile.
    EXPECT_EQ(CallCount("NIC_SetIpInfo"), 0u);
    EXPECT_EQ(CallCount("NIC_PropertyChange"), 1u);
    EXPECT_TRUE(Form->TcpIpThread->Suspended());
    const auto names = CallNames();
    EXPECT_LT(Position(names, "WLAN_Write_Setting_To_DriverRegistry"), Position(names, "NIC_PropertyChange"));
}

TEST_F(ProfileConnect, StopMonitorWhileASlowCardTakesAProfileLosesNoLaterRequest)
{
    // A static profile on a card that takes seconds over it; Stop Monitor
    // and Start Monitor meanwhile.
    Harness::SetWorld("World", "ApplyMs", "4000");
    Store(1);
    Form->ConnectToAP(ConnectTarget::Profile);
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_SetIpInfo") == 1; }, 10000));
    Form->MonitorStateClick(nullptr);
    ASSERT_FALSE(Form->Link.MonitoringOn);
    Form->MonitorStateClick(nullptr);
    ASSERT_TRUE(Form->Link.MonitoringOn);
    Harness::SetWorld("World", "ApplyMs", "0");

    // Then a survey connect, answered Yes to DHCP: the card ends on DHCP.
    Harness::Seam().BoxAnswer = IDYES;
    Form->Img_SiteSurveyClick(nullptr);
    SelectRow("tarvane");
    Form->Connections_ConnectBtnClick(nullptr);
    ASSERT_EQ(Harness::Seam().Boxes.size(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return Form->TcpIpThread->Suspended() && !Form->Link.ApplyingTcpIp; }, 20000));
    const std::vector<std::string> applies = CallLines("NIC_SetIpInfo");
    ASSERT_EQ(applies.size(), 2u);
    EXPECT_EQ(Logged<NicIpInfo>(applies[0], "info").blDhcpEnabled, 0);
    EXPECT_EQ(Logged<NicIpInfo>(applies[1], "info").blDhcpEnabled, 1);
    NicIpInfo card{};
    NicCall(Nic.NIC_GetNicIPAddressDetail, Form->Link.TheAdapter.MacAddress, &card);
    EXPECT_EQ(card.blDhcpEnabled, 1);
    EXPECT_EQ(CallCount("NIC_PropertyChange"), 2u); // each apply restarted the card
}

// A connect that finds a former apply under way waits for it a bounded
// time, servicing messages, and then gives up and says so: a card that keeps the
// applier longer no longer holds the connect, or the poll, for as long.
TEST_F(ProfileConnect, ConnectDuringAnApplyThatDoesNotEndGivesUpAfterItsBound)
{
    Harness::SetWorld("World", "ApplyMs", "14000");
    Store(1);
    Form->ConnectToAP(ConnectTarget::Profile);
    ASSERT_TRUE(PumpUntil([&] { return CallCount("NIC_SetIpInfo") == 1; }, 10000));
    Harness::SetWorld("World", "ApplyMs", "0");

    const DWORD start = ::GetTickCount();
    Form->ConnectToAP(ConnectTarget::Profile);
    const DWORD waited = ::GetTickCount() - start;
    std::printf("A connect during a 14 s apply returned after %lu ms\n", static_cast<unsigned long>(waited));
    EXPECT_FALSE(Form->TcpIpThread->Suspended()); // the former apply still runs
    EXPECT_GE(waited, TMainFrm::ApplyWaitLimitMs);
    EXPECT_LT(waited, TMainFrm::ApplyWaitLimitMs + 2000);
    EXPECT_TRUE(Form->UpdateTimer->Enabled()); // the poll shows the card busy meanwhile
    EXPECT_EQ(Harness::Seam().Boxes, std::vector<std::string>{"Error\tThe adapter is busy. Please try again later."});
    ASSERT_TRUE(PumpUntil([&] { return Form->TcpIpThread->Suspended() && !Form->Link.ApplyingTcpIp; }, 20000));
    EXPECT_EQ(CallCount("NIC_SetIpInfo"), 1u); // the connect given up applied nothing
}

TEST_F(ProfileConnect, ProfileTheStoreCannotGiveConfiguresNothing)
{
    Store(1);
    Form->Profile_LstV_Profile1->Items()->Item(0)->SetCaption("Gone");
    Form->ConnectToAP(ConnectTarget::Profile);
    EXPECT_EQ(CallCount("WLAN_Write_Setting_To_DriverRegistry"), 0u);
    EXPECT_TRUE(Form->TcpIpThread->Suspended());
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_TRUE(Form->CheckTimer->Enabled());
}

} // namespace
