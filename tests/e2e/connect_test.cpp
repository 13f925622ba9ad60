// Connecting with the real Vantra.exe over the stand-ins' neighbourhood:
// to an open access point, to a WEP access point through the WEP key
// dialog with the right key and with a wrong one, from a computer with a
// static address answered Yes, and the first start that applies the
// profile "Default"; read back from the stand-ins' call log and the list
// view, with a screenshot of the WEP key dialog for review.
#include "remote_list.h"
#include "sandbox.h"
#include "screen.h"
#include "vantra/drivers/records.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The installation's settings; the first start after it has First=1.
const std::string Defaults = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=11\r\nDefaultSSID=tarvane\r\n"
                             "DefaultGoo=5\r\n";
const std::string WlanIni = Defaults + "First=0\r\n";
const std::string FirstStartWlanIni = Defaults + "First=1\r\n";

// Pictures of the survey rows: a base by kind plus the mark.
constexpr int OpenConnected = 2, WepFailed = 4, WepConnected = 5;

// The running test's name as a folder name: a parameterised one ends in "/n".
std::string TestFolderName()
{
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

class ConnectE2e : public testing::Test {
protected:
    explicit ConnectE2e(const std::vector<std::string>& Omit = {}) : Box(TestFolderName(), Omit)
    {
        Box.WriteFile("WLAN.INI", WlanIni);
        World("World", "Log", "calls.log");
        World("World", "JoinMs", "500");
    }
    ~ConnectE2e() override { ::SetEnvironmentVariableA("SEAM_ANSWER", nullptr); }
    void World(const char* Section, const char* Key, const char* Value) const
    {
        ::WritePrivateProfileStringA(Section, Key, Value, Box.Path("standins.ini").c_str());
    }
    // Starts the utility and waits until it monitors the adapter.
    void Start()
    {
        Process = Box.Start("Vantra.exe");
        Window = Box.WaitWindow(Process, "TMainFrm", 15000);
        ASSERT_NE(Window, nullptr);
        ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Read_ProfileList") > 0; }, 15000));
    }
    // Opens the window on the Site Survey page, surveyed.
    void OpenSurvey()
    {
        ::PostMessageA(Window, 0xCA02, 0, 1);
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(Window) != FALSE; }, 5000));
        Click(Window, 129 + 40, 124 + 10);
        ASSERT_TRUE(WaitFor([&] { return (List = SurveyList()) != nullptr; }, 5000));
        Items.reset(new RemoteItem(Process, List));
        ASSERT_TRUE(WaitFor([&] { return Rows() == 6 && ::IsWindowEnabled(ChildAt(Window, 55 + 30, 345 + 11)); },
                            10000));
    }
    HWND ChildAt(HWND Parent, int X, int Y) const
    {
        return ::ChildWindowFromPointEx(Parent, POINT{X, Y}, CWP_SKIPINVISIBLE);
    }
    // A click posted, so that the test goes on while the program handles it.
    void Click(HWND Parent, int X, int Y) const
    {
        HWND child = ChildAt(Parent, X, Y);
        POINT p{X, Y};
        ::MapWindowPoints(Parent, child, &p, 1);
        ::PostMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        ::PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    // The list view whose left edge is at Left (the survey's at 40, the
    // profiles' at 47), when it is up.
    HWND ListAt(int Left) const
    {
        HWND list = ChildAt(Window, Left + 90, 230 + 50);
        char name[64] = {};
        ::GetClassNameA(list, name, sizeof name);
        RECT r{};
        ::GetWindowRect(list, &r);
        ::MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
        return std::string(name) == "SysListView32" && r.left == Left ? list : nullptr;
    }
    HWND SurveyList() const { return ListAt(40); }
    int Rows() const { return static_cast<int>(::SendMessageA(List, LVM_GETITEMCOUNT, 0, 0)); }
    // Clicks the network's row and then Connect; the row.
    int Connect(const std::string& Ssid)
    {
        const int row = Items->Find(Ssid);
        EXPECT_GE(row, 0) << Ssid;
        Items->Click(row);
        EXPECT_TRUE(WaitFor([&] { return Items->Selected(row); }, 5000)) << Ssid;
        Click(Window, 135 + 30, 345 + 11);
        return row;
    }
    // The WEP key dialog, once it is up.
    HWND WaitDialog()
    {
        HWND dialog = nullptr;
        WaitFor([&] {
            dialog = Box.WaitWindow(Process, "TSiteSurveyWEPFrm", 100);
            return dialog && ::IsWindowVisible(dialog);
        },
                10000);
        return dialog && ::IsWindowVisible(dialog) ? dialog : nullptr;
    }
    // In the dialog: a level, a key typed, and OK; Check looks at the
    // dialog before OK.
    void AnswerDialog(HWND Dialog, int Level, const std::string& Key, const char* Screenshot = nullptr,
                      const std::function<void()>& Check = nullptr)
    {
        HWND panel = ChildAt(Dialog, 258 + 5, 130 + 5);
        HWND levels = ChildAt(panel, 5, 5);
        char name[64] = {};
        ::GetClassNameA(levels, name, sizeof name);
        ASSERT_STREQ(name, "ComboBox");
        ::SendMessageA(levels, CB_SETCURSEL, Level, 0);
        ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(levels), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(levels));
        HWND key = ChildAt(Dialog, 220 + 20, 297 + 10);
        ASSERT_TRUE(::IsWindowEnabled(key));
        for (char c : Key) ::SendMessageA(key, WM_CHAR, static_cast<unsigned char>(c), 0);
        if (Screenshot) {
            ::RedrawWindow(Dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            EXPECT_TRUE(SaveSettledScreenshot(ScreenshotFolder() + Screenshot));
        }
        if (Check) Check();
        Click(Dialog, 205 + 29, 347 + 11);
    }
    // The calls of the log in order, by name.
    std::vector<std::string> CallNames() const
    {
        std::vector<std::string> names;
        for (const std::string& line : Box.Lines("calls.log")) names.push_back(line.substr(0, line.find(' ')));
        return names;
    }
    std::vector<std::string> CallLines(const std::string& Name) const
    {
        std::vector<std::string> lines;
        for (const std::string& line : Box.Lines("calls.log"))
            if (line.compare(0, Name.size() + 1, Name + " ") == 0) lines.push_back(line);
        return lines;
    }
    // The bytes of a logged record field "Label=hex", as hexadecimal text.
    static std::string Field(const std::string& Line, const std::string& Label)
    {
        const size_t at = Line.find(" " + Label + "=");
        if (at == std::string::npos) return "";
        const size_t from = at + Label.size() + 2;
        return Line.substr(from, Line.find(' ', from) - from);
    }
    // A link read gave a ready link: the poll hands the record it read
    // last back in, and the log shows what a call received.
    bool LinkWasUp() const
    {
        for (const std::string& read : CallLines("WLAN_Get_Info"))
            if (Field(read, "info").substr(48 * 2, 2) == "05") return true;
        return false;
    }
    static std::string Hex(const std::string& Text)
    {
        std::string hex;
        char pair[3];
        for (unsigned char c : Text) {
            std::snprintf(pair, sizeof pair, "%02X", c);
            hex += pair;
        }
        return hex;
    }
    // The profile store holds one profile, Name, for tarvane with the TCP/IP settings Ip.
    void StoreProfile(const char* Name, const NicIpInfo& Ip) const
    {
        ProfileSetting profile{};
        std::strcpy(profile.ProfileName, Name);
        std::strcpy(profile.SsidText, "tarvane");
        profile.Wlan.OperatingModeID = 1;
        profile.Wlan.Channel = 11;
        profile.Wlan.SSID_length = 7;
        std::memcpy(profile.Wlan.SSID, "tarvane", 7);
        profile.Wlan.FragThreshold = 2346;
        profile.Wlan.RtsThreshold = 2347;
        profile.SetIP = 1;
        profile.Ip = Ip;
        ::CreateDirectoryA(Box.Path("state").c_str(), nullptr);
        Box.WriteFile("state\\profiles.bin", std::string(reinterpret_cast<const char*>(&profile), sizeof profile));
        Box.WriteFile("state\\profilelist.txt", "\"" + std::string(Name) + "\"");
    }
    void Exit()
    {
        ::PostMessageA(Window, 0xCA01, 0, 1);
        EXPECT_EQ(Box.WaitExit(Process, 20000), 0u);
        EXPECT_TRUE(Box.EndedClean());
    }

    Sandbox Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
    HWND List = nullptr;
    std::unique_ptr<RemoteItem> Items;
};

TEST_F(ConnectE2e, OpenAccessPointWithDhcp)
{
    Start();
    OpenSurvey();
    const size_t before = Box.Lines("calls.log").size();
    const int row = Connect("tarvane");
    ASSERT_TRUE(WaitFor([&] { return Items->Image(row) == OpenConnected; }, 15000));

    // The connect's calls: the first of each after the click.
    const std::vector<std::string> all = Box.Lines("calls.log");
    const std::vector<std::string> lines(all.begin() + before, all.end());
    auto at = [&](const std::string& Name) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& Line) { return Line.compare(0, Name.size() + 1, Name + " ") == 0; }) -
               lines.begin();
    };
    const long config = at("WLAN_Set_Config"), wepConfig = at("WLAN_Set_WEP_Config"),
               save = at("WLAN_Write_Setting_To_DriverRegistry");
    ASSERT_LT(config, wepConfig);
    ASSERT_LT(wepConfig, save);
    ASSERT_LT(save, static_cast<long>(lines.size()));
    EXPECT_EQ(Field(lines[config], "info").substr(2 * 2, 14), Hex("tarvane"));
    const std::string wep = Field(lines[wepConfig], "wep");
    EXPECT_EQ(wep.substr(1 * 2, 2), "01"); // WepMode
    EXPECT_EQ(wep.substr(4 * 2, 2), "00"); // EncryptionLevel
    EXPECT_TRUE(Box.SeamCalls("MessageBox").empty()); // DHCP already: no question
    EXPECT_EQ(Box.Calls("NIC_SetIpInfo"), 0u);

    // A double-click on a row connects to it too.
    const int cafe = Items->Find("Cafe Lumen");
    ASSERT_GE(cafe, 0);
    const size_t configs = CallLines("WLAN_Set_Config").size();
    Items->Click(cafe, true);
    ASSERT_TRUE(WaitFor([&] { return CallLines("WLAN_Set_Config").size() > configs; }, 10000));
    EXPECT_EQ(Field(CallLines("WLAN_Set_Config").back(), "info").substr(2 * 2, 20), Hex("Cafe Lumen"));
    Exit();
}

TEST_F(ConnectE2e, WepAccessPointJoinsWithTheRightKeyAndFailsWithAWrongOne)
{
    Start();
    OpenSurvey();
    int row = Connect("Kestrel-Home");
    HWND dialog = WaitDialog();
    ASSERT_NE(dialog, nullptr);
    // Up under the dialog, which covers it, and takes nothing while it asks.
    EXPECT_TRUE(::IsWindowVisible(Window));
    EXPECT_FALSE(::IsWindowEnabled(Window));
    AnswerDialog(dialog, 1, "1a2b3c4d5e", "vantra-wep-dialog.bmp");
    ASSERT_TRUE(WaitFor([&] { return Items->Image(row) == WepConnected; }, 15000));
    const std::string wep = Field(CallLines("WLAN_Set_WEP_Config").back(), "wep");
    EXPECT_EQ(wep.substr(4 * 2, 2 + 10), "011A2B3C4D5E"); // 64 bits, key 1

    // A wrong 128-bit key: the access point never lets the adapter in, and
    // after 20 waits the row says so.
    row = Connect("mirelow-office");
    dialog = WaitDialog();
    ASSERT_NE(dialog, nullptr);
    AnswerDialog(dialog, 2, std::string(26, 'F'));
    EXPECT_TRUE(WaitFor([&] { return Items->Image(row) == WepFailed; }, 60000));
    EXPECT_NE(Items->Image(Items->Find("Kestrel-Home")), WepConnected);
    Exit();
}

// Without the WEP key library the dialog offers no passphrase; a typed key
// still connects.
class WithoutWepLibrary : public ConnectE2e {
protected:
    WithoutWepLibrary() : ConnectE2e({"KALWEP.DLL"}) {}
};

TEST_F(WithoutWepLibrary, KeysAreTypedAndThePassphraseIsGreyed)
{
    Start();
    OpenSurvey();
    const int row = Connect("Kestrel-Home");
    HWND dialog = WaitDialog();
    ASSERT_NE(dialog, nullptr);
    HWND passphrase = ChildAt(dialog, 258 + 20, 221 + 10);
    char name[64] = {};
    ::GetClassNameA(passphrase, name, sizeof name);
    ASSERT_STREQ(name, "Edit");
    AnswerDialog(dialog, 1, "1A2B3C4D5E", nullptr, [&] { EXPECT_FALSE(::IsWindowEnabled(passphrase)); });
    EXPECT_TRUE(WaitFor([&] { return Items->Image(row) == WepConnected; }, 15000));
    Exit();
}

TEST_F(ConnectE2e, StaticAddressSwitchedToDhcpThroughTheApplier)
{
    World("Adapter", "Dhcp", "0");
    // A card that takes its time over new settings: long enough for a poll
    // or a survey to have called the chipset library meanwhile, if they ran.
    World("World", "ApplyMs", "2500");
    ::SetEnvironmentVariableA("SEAM_ANSWER", "6"); // Yes
    Start();
    OpenSurvey();
    const size_t opens = Box.Calls("WLAN_Open_Adapter");
    Connect("tarvane");
    ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Open_Adapter") > opens; }, 20000)); // reopened
    // The question's two lines, then its flags: Yes and No, the question icon.
    const auto boxes = Box.SeamCalls("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "MessageBox\tVantra Question?\tYour PC is current using \"Static IP Address\".Do you "
                        "want to change to");
    EXPECT_EQ(Box.SeamCalls("\"Obtain IP Address Automatically\" for wireless connection?\t36").size(), 1u);

    const auto names = CallNames();
    auto at = [&](const char* Name) { return std::find(names.begin(), names.end(), Name) - names.begin(); };
    const long save = at("WLAN_Write_Setting_To_DriverRegistry"), set = at("NIC_SetIpInfo"),
               restart = at("NIC_PropertyChange");
    ASSERT_LT(save, set);
    ASSERT_LT(set, restart);
    ASSERT_LT(restart, static_cast<long>(names.size()));
    EXPECT_LT(save, at("WLAN_Set_Config")); // no direct configuration before the card restarts
    EXPECT_LT(restart, at("WLAN_Close_Adapter"));
    for (long i = set + 1; i < restart; ++i) EXPECT_NE(names[i].compare(0, 5, "WLAN_"), 0) << names[i];

    const std::string applied = Field(CallLines("NIC_SetIpInfo")[0], "info");
    EXPECT_EQ(applied.substr(568 * 2, 8), "01000000");      // DHCP
    EXPECT_EQ(applied.substr(572 * 2, 16), Hex("0.0.0.0") + "00"); // the DHCP server
    EXPECT_EQ(applied.substr(595 * 2, 2), "00");            // no DNS list
    EXPECT_EQ(CallLines("NIC_SetIpInfo")[0].substr(CallLines("NIC_SetIpInfo")[0].size() - 5), " -> 1");
    // The card came back with the driver's setting: the link comes up.
    EXPECT_TRUE(WaitFor([&] { return LinkWasUp(); }, 15000));
    Exit();
}

TEST_F(ConnectE2e, FirstStartAppliesTheProfileDefault)
{
    Box.WriteFile("WLAN.INI", FirstStartWlanIni);
    // The profile store holds "Default" for tarvane, with TCP/IP settings of its own.
    NicIpInfo ip{};
    std::strcpy(ip.cIpAdress, "192.168.1.99");
    StoreProfile("Default", ip);

    Start();
    ASSERT_TRUE(WaitFor([&] { return Box.Calls("NIC_PropertyChange") == 1; }, 15000));
    const auto saves = CallLines("WLAN_Write_Setting_To_DriverRegistry");
    ASSERT_EQ(saves.size(), 1u);
    const std::string saved = Field(saves[0], "profile");
    EXPECT_EQ(saved.substr(0, 16), Hex("Default") + "00");
    EXPECT_EQ(saved.substr(260 * 2, 16), Hex("Default") + "00"); // its copy
    EXPECT_EQ(saved.substr(780 * 2 + 4, 14), Hex("tarvane"));
    EXPECT_EQ(saved.substr(1191 * 2), std::string((sizeof(ProfileSetting) - 1191) * 2, '0')); // the wireless part alone
    EXPECT_EQ(Box.Calls("NIC_SetIpInfo"), 0u); // no TCP/IP change
    // The card comes back with the setting and joins; the mark is gone.
    EXPECT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Open_Adapter") >= 2; }, 15000));
    EXPECT_TRUE(WaitFor([&] { return LinkWasUp(); }, 15000));
    EXPECT_NE(Box.ReadFile("WLAN.INI").find("First=0"), std::string::npos);
    Exit();
}

// TCP/IP settings applied by the real program on the Windows version Wine
// reports: a stored profile with a static address of its own, connected
// from the Profiles page, then the survey's switch of that static address to
// DHCP. Each apply restarts the card and the device check opens the adapter
// again.
class TcpIpApply : public ConnectE2e, public testing::WithParamInterface<const char*> {
protected:
    TcpIpApply() { SetWineVersion("Vantra.exe", GetParam()); }
    ~TcpIpApply() override { SetWineVersion("Vantra.exe", ""); }
    bool Win98() const { return std::string(GetParam()) == "win98"; }
    // The NIC library's calls that set the card in the apply that ended with
    // the Nth card restart (from 1): those after the card list was read.
    std::vector<std::string> SetCalls(int Restart) const
    {
        std::vector<std::string> nic;
        for (const std::string& name : CallNames())
            if (name.compare(0, 4, "NIC_") == 0) nic.push_back(name);
        auto restart = nic.begin();
        for (int n = 0; n < Restart && restart != nic.end(); ++n)
            restart = std::find(n ? restart + 1 : restart, nic.end(), "NIC_PropertyChange");
        if (restart == nic.end()) return {};
        const auto list = std::find(std::make_reverse_iterator(restart), nic.rend(), "NIC_GetActiveNICs").base();
        return std::vector<std::string>(list, restart);
    }
    // Waits for the Nth card restart and for the adapter opened after it,
    // and for a status poll of the adapter after that.
    void WaitReopened(size_t Restarts, size_t OpensBefore)
    {
        ASSERT_TRUE(WaitFor([&] { return Box.Calls("NIC_PropertyChange") == Restarts; }, 20000));
        ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Open_Adapter") > OpensBefore; }, 20000));
        const std::vector<std::string> names = CallNames();
        const auto reopen = std::find(names.rbegin(), names.rend(), "WLAN_Open_Adapter").base();
        const size_t readsBefore = std::count(names.begin(), reopen, "WLAN_Get_Info");
        EXPECT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Get_Info") > readsBefore; }, 10000)) << "monitoring again";
    }
};

TEST_P(TcpIpApply, StaticProfileThenDhcpWithTheCallsOfTheVersion)
{
    // On Windows 98 the switch to DHCP reports error 523, which counts as done.
    if (Win98()) {
        World("World", "Fail", "NIC_EnableDHCP9x");
        World("World", "NicErrorCode", "523");
    }
    NicIpInfo ip{};
    std::strcpy(ip.cIpAdress, "192.168.1.77");
    std::strcpy(ip.cNetMask, "255.255.255.0");
    std::strcpy(ip.cGateway, "192.168.1.1");
    std::strcpy(ip.cDnsServer, "192.168.1.1,192.168.1.2");
    StoreProfile("Office", ip);
    ::SetEnvironmentVariableA("SEAM_ANSWER", "6"); // Yes to the static address question
    Start();

    // The Profiles page: the stored profile, selected, and its Connect.
    ::PostMessageA(Window, 0xCA02, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(Window) != FALSE; }, 5000));
    Click(Window, 250 + 40, 124 + 10);
    HWND profiles = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (profiles = ListAt(47)) != nullptr; }, 5000));
    RemoteItem rows(Process, profiles);
    int row = -1;
    ASSERT_TRUE(WaitFor([&] { return (row = rows.Find("Office")) >= 0; }, 15000));
    rows.Click(row);
    ASSERT_TRUE(WaitFor([&] { return rows.Selected(row); }, 5000));
    size_t opens = Box.Calls("WLAN_Open_Adapter");
    Click(Window, 47 + 30, 350 + 11);
    WaitReopened(1, opens);
    if (HasFatalFailure()) return;

    // The profile's wireless part went to the driver first; its address to the card.
    const auto names = CallNames();
    const auto at = [&](const char* Name) { return std::find(names.begin(), names.end(), Name) - names.begin(); };
    EXPECT_LT(at("WLAN_Write_Setting_To_DriverRegistry"), at("NIC_PropertyChange"));
    const std::string saved = Field(CallLines("WLAN_Write_Setting_To_DriverRegistry")[0], "profile");
    EXPECT_EQ(saved.substr(0, 14), Hex("Office") + "00");
    std::vector<std::string> expected;
    if (Win98()) {
        expected = {"NIC_EnableStaticIP9x", "NIC_EnableDnsServer9x"};
        EXPECT_NE(CallLines("NIC_EnableStaticIP9x")[0].find(
                      "ip=\"192.168.1.77\" mask=\"255.255.255.0\" gateway=\"192.168.1.1\""),
                  std::string::npos);
        EXPECT_NE(CallLines("NIC_EnableDnsServer9x")[0].find("list=\"192.168.1.1,192.168.1.2\" length=23 enable=1"),
                  std::string::npos);
    } else {
        expected = {"NIC_SetIpInfo"};
        const std::string applied = Field(CallLines("NIC_SetIpInfo")[0], "info");
        EXPECT_EQ(applied.substr(offsetof(NicIpInfo, cIpAdress) * 2, 26), Hex("192.168.1.77") + "00");
        EXPECT_EQ(applied.substr(offsetof(NicIpInfo, blDhcpEnabled) * 2, 8), "00000000");
    }
    EXPECT_EQ(SetCalls(1), expected);

    // The card is static now: the survey's connect asks, and Yes switches it to DHCP.
    OpenSurvey();
    opens = Box.Calls("WLAN_Open_Adapter");
    Connect("tarvane");
    WaitReopened(2, opens);
    if (HasFatalFailure()) return;
    EXPECT_EQ(Box.SeamCalls("MessageBox\tVantra Question?").size(), 1u);
    if (Win98()) {
        expected = {"NIC_EnableDHCP9x", "NIC_GetNicErrorCode", "NIC_EnableDnsServer9x"};
        EXPECT_NE(CallLines("NIC_EnableDnsServer9x").back().find("list=\"\" length=0 enable=1"), std::string::npos);
    } else {
        expected = {"NIC_SetIpInfo"};
        const std::string applied = Field(CallLines("NIC_SetIpInfo").back(), "info");
        EXPECT_EQ(applied.substr(offsetof(NicIpInfo, blDhcpEnabled) * 2, 8), "01000000");
    }
    EXPECT_EQ(SetCalls(2), expected);
    // Each version keeps to its own calls.
    for (const char* call : Win98() ? std::vector<const char*>{"NIC_SetIpInfo"}
                                    : std::vector<const char*>{"NIC_EnableDHCP9x", "NIC_EnableStaticIP9x",
                                                               "NIC_EnableDnsServer9x", "NIC_GetDHCPStatusfor9x"})
        EXPECT_EQ(Box.Calls(call), 0u) << call;
    Exit();
}

INSTANTIATE_TEST_SUITE_P(Wine, TcpIpApply, testing::Values("winxp", "win98"));

} // namespace
