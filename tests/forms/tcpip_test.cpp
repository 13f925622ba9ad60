// Applying TCP/IP settings on the real main window's applier thread over the
// stand-in NIC library: the calls of the NT family and of Windows 9x in
// their order, the card restart and the adapter opened again after it, an
// apply that the library refuses, and the status poll while a slow card
// takes its settings.
#include "mainfrm_harness.h"
#include "toolkit/application.h"
#include "vantra/drivers/bindings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

using Harness::PumpUntil;

NicIpInfo StaticRecord()
{
    NicIpInfo info{};
    std::strcpy(info.cIpAdress, "10.44.0.23");
    std::strcpy(info.cNetMask, "255.255.255.0");
    std::strcpy(info.cGateway, "10.44.0.1");
    std::strcpy(info.cDnsServer, "10.44.0.2,10.44.0.3");
    return info;
}

NicIpInfo DhcpRecord()
{
    NicIpInfo info{};
    info.blDhcpEnabled = 1;
    std::strcpy(info.cDhcpServer, "0.0.0.0");
    return info;
}

class TcpIp : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        Harness::Reset();
        Form->Link.FindAdapterNic(); // open, as the link page leaves it
        Harness::ClearCalls();
    }
    void TearDown() override
    {
        Harness::SetWorld("World", "Fail", "");
        Harness::SetWorld("World", "NicErrorCode", "31");
        Harness::SetWorld("World", "ApplyMs", "0");
        // The card back on DHCP for the tests that follow.
        NicIpInfo dhcp = DhcpRecord();
        NicCall(Nic.NIC_SetIpInfo, &Form->Link.NicDevice, &dhcp);
        PumpUntil([this] { return !Form->Link.ApplyingTcpIp; }, 5000);
    }
    // As a connect path hands a record over: the poll timers stopped, the
    // flag set, the applier resumed; done when it has suspended itself.
    void Apply(const NicIpInfo& Record)
    {
        BeginApply(Record);
        ASSERT_TRUE(PumpUntil([this] { return Form->TcpIpThread->Suspended(); }, 10000));
    }
    void BeginApply(const NicIpInfo& Record)
    {
        Form->PendingIpInfo = Record;
        for (TTimer* timer : {Form->UpdateTimer, Form->CheckTimer, Form->ConnectCheckTimer}) timer->SetEnabled(false);
        Form->MonitorState->Enabled = false;
        Form->Link.ApplyingTcpIp = true;
        Form->TcpIpThread->Resume();
    }
    // The NIC library's calls in their order, up to and including Last.
    std::vector<std::string> NicCallsUpTo(const std::string& Last) const
    {
        std::vector<std::string> calls;
        for (const std::string& name : Harness::CallNames()) {
            if (name.compare(0, 4, "NIC_") != 0) continue;
            calls.push_back(name);
            if (name == Last) break;
        }
        return calls;
    }
    // The log line of the first call of Name.
    std::string CallLine(const std::string& Name) const
    {
        std::ifstream log(Harness::WorldPath().substr(0, Harness::WorldPath().rfind('\\') + 1) + "calls.log");
        for (std::string line; std::getline(log, line);)
            if (line.compare(0, Name.size() + 1, Name + " ") == 0) return line;
        return "";
    }
    // The card's settings as the library now reports them.
    NicIpInfo CardSettings() const
    {
        NicIpInfo info{};
        NicCall(Nic.NIC_GetNicIPAddressDetail, Form->Link.TheAdapter.MacAddress, &info);
        return info;
    }
    // The restart's device change makes the device check open the adapter
    // again and clear the flag.
    void ExpectAdapterReopened()
    {
        ASSERT_TRUE(PumpUntil([this] { return !Form->Link.ApplyingTcpIp; }, 10000));
        EXPECT_EQ(Harness::CallCount("WLAN_Close_Adapter"), 1u);
        EXPECT_EQ(Harness::CallCount("WLAN_Open_Adapter"), 1u);
        EXPECT_TRUE(Form->Link.AdapterOpened);
        EXPECT_TRUE(Form->UpdateTimer->Enabled());
    }

    TMainFrm* Form = nullptr;
};

TEST_F(TcpIp, OnTheNtFamilyStaticAndDhcpRecordsGoToSetIpInfoAlone)
{
    for (int32_t version : {5, 6}) {
        Form->Program.WinVersionCode = version;
        Harness::ClearCalls();
        Harness::Seam().Clear();
        Apply(StaticRecord());
        const std::vector<std::string> expected = {"NIC_CloseDeviceMgr", "NIC_OpenDeviceMgr", "NIC_GetActiveNICs",
                                                   "NIC_SetIpInfo", "NIC_PropertyChange"};
        EXPECT_EQ(NicCallsUpTo("NIC_PropertyChange"), expected) << version;
        // Until the card is back the tray is busy and the labels are reset.
        ASSERT_FALSE(Harness::Seam().Tray.empty());
        EXPECT_EQ(Harness::Seam().Tray.back().Tip, "\n    Scanning.....\n");
        EXPECT_EQ(Form->IPAddr->Caption(), "0.0.0.0");
        EXPECT_TRUE(Form->MonitorState->Enabled);
        EXPECT_TRUE(Form->CheckTimer->Enabled());
        NicIpInfo card = CardSettings();
        EXPECT_EQ(card.blDhcpEnabled, 0);
        EXPECT_STREQ(card.cIpAdress, "10.44.0.23");
        EXPECT_STREQ(card.cDnsServer, "10.44.0.2,10.44.0.3");
        ExpectAdapterReopened();

        Harness::ClearCalls();
        Apply(DhcpRecord());
        EXPECT_EQ(Harness::CallCount("NIC_SetIpInfo"), 1u);
        EXPECT_EQ(Harness::CallCount("NIC_PropertyChange"), 1u);
        for (const char* call : {"NIC_EnableDHCP9x", "NIC_EnableStaticIP9x", "NIC_EnableDnsServer9x"})
            EXPECT_EQ(Harness::CallCount(call), 0u) << call;
        EXPECT_EQ(CardSettings().blDhcpEnabled, 1);
        ExpectAdapterReopened();
    }
}

TEST_F(TcpIp, OnWindows98Error523AfterTheDhcpSwitchStillCounts)
{
    Form->Program.WinVersionCode = 2;
    NicIpInfo record = DhcpRecord();
    std::strcpy(record.cDnsServer, "10.44.0.9");
    Harness::SetWorld("World", "Fail", "NIC_EnableDHCP9x");
    Harness::SetWorld("World", "NicErrorCode", "523");
    Apply(record);
    const std::vector<std::string> expected = {"NIC_CloseDeviceMgr",   "NIC_OpenDeviceMgr",     "NIC_GetActiveNICs",
                                               "NIC_EnableDHCP9x",     "NIC_GetNicErrorCode",   "NIC_EnableDnsServer9x",
                                               "NIC_PropertyChange"};
    EXPECT_EQ(NicCallsUpTo("NIC_PropertyChange"), expected);
    EXPECT_STREQ(CardSettings().cDnsServer, "10.44.0.9");
    ExpectAdapterReopened();

    // Any other error refuses the apply.
    Harness::SetWorld("World", "NicErrorCode", "31");
    Harness::ClearCalls();
    Apply(record);
    EXPECT_EQ(Harness::CallCount("NIC_EnableDnsServer9x"), 0u);
    EXPECT_EQ(Harness::CallCount("NIC_PropertyChange"), 0u);
    EXPECT_FALSE(Form->Link.ApplyingTcpIp);
}

TEST_F(TcpIp, OnWindows98AStaticAddressThenTheWholeDnsList)
{
    Form->Program.WinVersionCode = 2;
    Apply(StaticRecord());
    const std::vector<std::string> expected = {"NIC_CloseDeviceMgr",    "NIC_OpenDeviceMgr",     "NIC_GetActiveNICs",
                                               "NIC_EnableStaticIP9x", "NIC_EnableDnsServer9x", "NIC_PropertyChange"};
    EXPECT_EQ(NicCallsUpTo("NIC_PropertyChange"), expected);
    const std::string dns = CallLine("NIC_EnableDnsServer9x");
    EXPECT_NE(dns.find("list=\"10.44.0.2,10.44.0.3\" length=19 enable=1"), std::string::npos) << dns;
    EXPECT_NE(CallLine("NIC_EnableStaticIP9x").find("ip=\"10.44.0.23\" mask=\"255.255.255.0\" gateway=\"10.44.0.1\""),
              std::string::npos);
    ExpectAdapterReopened();

    // A static address the library refuses sets no DNS list.
    Harness::SetWorld("World", "Fail", "NIC_EnableStaticIP9x");
    Harness::ClearCalls();
    Apply(StaticRecord());
    EXPECT_EQ(Harness::CallCount("NIC_EnableStaticIP9x"), 1u);
    EXPECT_EQ(Harness::CallCount("NIC_EnableDnsServer9x"), 0u);
}

TEST_F(TcpIp, RefusedApplyRestartsNothingAndLeavesNoApplyBehind)
{
    Harness::SetWorld("World", "Fail", "NIC_SetIpInfo");
    Form->IPAddr->SetCaption("192.168.1.105");
    Apply(StaticRecord());
    EXPECT_EQ(Harness::CallCount("NIC_SetIpInfo"), 1u);
    EXPECT_EQ(Harness::CallCount("NIC_PropertyChange"), 0u);
    EXPECT_FALSE(Form->Link.ApplyingTcpIp);
    EXPECT_EQ(Form->IPAddr->Caption(), "192.168.1.105"); // nothing reset, nothing shown
    EXPECT_TRUE(Harness::Seam().Boxes.empty());
    EXPECT_TRUE(Form->MonitorState->Enabled);
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_TRUE(Form->CheckTimer->Enabled());

    // So the next poll reads the link again, and the tray leaves its busy state.
    Harness::JoinNetwork("tarvane");
    Form->UpdateTimerTimer(nullptr);
    EXPECT_EQ(Form->Tray.LastTrayState, TrayState::Connected);
}

TEST_F(TcpIp, PollKeepsItsRhythmWhileASlowCardTakesItsSettings)
{
    Harness::SetWorld("World", "ApplyMs", "3000");
    BeginApply(StaticRecord());
    ASSERT_TRUE(PumpUntil([] { return Harness::CallCount("NIC_SetIpInfo") == 1; }, 10000));
    ASSERT_FALSE(Form->TcpIpThread->Suspended());
    // A tick meanwhile (the device check starts the poll when the card
    // announces itself) shows the card busy, leaves the adapter alone and
    // comes again 2 seconds later.
    Harness::Seam().Clear();
    Form->UpdateTimerTimer(nullptr);
    EXPECT_EQ(Harness::CallCount("WLAN_Get_Info"), 0u);
    ASSERT_FALSE(Harness::Seam().Tray.empty());
    EXPECT_EQ(Harness::Seam().Tray.back().Tip, "\n    Scanning.....\n");
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_EQ(Form->UpdateTimer->Interval(), 2000u);
    ASSERT_TRUE(PumpUntil([this] { return Form->TcpIpThread->Suspended(); }, 10000));
    ExpectAdapterReopened();
}

// Stop Monitor as a slow card begins to take its settings: the card's
// restart at the end of the apply opens nothing while monitoring is off,
// and Start Monitor afterwards opens the adapter once.
TEST_F(TcpIp, StopMonitorDuringASlowApplyLeavesTheAdapterClosedUntilStartMonitor)
{
    Harness::SetWorld("World", "ApplyMs", "6000");
    BeginApply(StaticRecord());
    ASSERT_TRUE(PumpUntil([] { return Harness::CallCount("NIC_SetIpInfo") == 1; }, 10000));
    Form->MonitorStateClick(nullptr); // Stop Monitor
    ASSERT_FALSE(Form->Link.MonitoringOn);
    // The apply ends with the card's restart, and the device check that the
    // restart's notice starts has run.
    ASSERT_TRUE(PumpUntil(
        [this] {
            return Form->TcpIpThread->Suspended() && !Form->Link.ApplyingTcpIp && !Form->DeviceCheckTimer->Enabled();
        },
        20000));
    EXPECT_EQ(Harness::CallCount("NIC_PropertyChange"), 1u);
    EXPECT_FALSE(Form->Link.AdapterOpened);
    const size_t startedAt = Harness::CallNames().size();
    Form->MonitorStateClick(nullptr); // Start Monitor
    ASSERT_TRUE(Form->Link.MonitoringOn);
    EXPECT_TRUE(Form->Link.AdapterOpened);

    std::vector<std::string> openings; // the adapter's opens and closes in their order
    int opensWhileOff = 0;
    const std::vector<std::string> names = Harness::CallNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != "WLAN_Open_Adapter" && names[i] != "WLAN_Close_Adapter") continue;
        openings.push_back(names[i]);
        opensWhileOff += i < startedAt && names[i] == "WLAN_Open_Adapter";
    }
    std::string order;
    for (const std::string& name : openings) order += name + " ";
    std::printf("Stop Monitor during a 6 s apply, Start Monitor after it: %s\n", order.c_str());
    EXPECT_EQ(opensWhileOff, 0);
    EXPECT_EQ(openings, (std::vector<std::string>{"WLAN_Close_Adapter", "WLAN_Open_Adapter"}));
}

TEST_F(TcpIp, ReadShowsTheCardsSettingsOn98WithItsDhcpState)
{
    Form->Program.WinVersionCode = 2;
    Form->ReadNicIpInfo();
    EXPECT_EQ(Harness::CallCount("NIC_GetDHCPStatusfor9x"), 1u);
    EXPECT_EQ(Form->Link.CurrentIpInfo.blDhcpEnabled, 1);
    EXPECT_NE(CallLine("NIC_GetDHCPStatusfor9x").find(Form->Link.NicDevice.Name), std::string::npos);
}

} // namespace
