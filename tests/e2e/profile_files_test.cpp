// The real Vantra.exe under Wine: a profile exported through the real save
// dialog, deleted, and imported through the real open dialog comes back in
// the stand-in's store byte for byte; and the wizard's pages, walked with
// the pointer's clicks on the real picture buttons, each photographed.
#include "remote_list.h"
#include "sandbox.h"
#include "screen.h"
#include "vantra/drivers/records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";
constexpr size_t RecordSize = sizeof(ProfileSetting);

// A profile with nothing a profile file does not carry, so that a round
// trip must give every byte back.
ProfileSetting Office()
{
    ProfileSetting p{};
    std::strcpy(p.ProfileName, "Office");
    std::strcpy(p.ProfileNameCopy, "Office");
    std::strcpy(p.SsidText, "lanparty");
    std::memcpy(p.Wlan.SSID, "lanparty", 8);
    p.Wlan.SSID_length = 8;
    p.Wlan.OperatingModeID = 0;
    p.Wlan.Channel = 3;
    p.Wlan.RateIndex = 4;
    p.Wlan.NetBand = 3;
    p.Wep.EncryptionLevel = 2;
    p.Wep.WepKeyToUse = 1;
    uint8_t* slots[] = {p.Wep.WepKey1, p.Wep.WepKey2, p.Wep.WepKey3, p.Wep.WepKey4};
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 13; ++i) slots[k][i] = static_cast<uint8_t>(0x31 * (k + 1) + 7 * i);
    p.SetIP = 1;
    std::strcpy(p.Ip.cIpAdress, "10.1.2.3");
    std::strcpy(p.Ip.cNetMask, "255.255.0.0");
    std::strcpy(p.Ip.cGateway, "10.1.0.1");
    std::strcpy(p.Ip.cDnsServer, "10.1.0.1,10.1.0.2");
    return p;
}

std::string Bytes(const ProfileSetting& P) { return std::string(reinterpret_cast<const char*>(&P), RecordSize); }

ProfileSetting Named(const std::string& Name)
{
    ProfileSetting p{};
    std::strcpy(p.ProfileName, Name.c_str());
    return p;
}

class ProfileFilesE2e : public testing::Test {
protected:
    ProfileFilesE2e() : Box(testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        Box.WriteFile("WLAN.INI", WlanIni);
        ::WritePrivateProfileStringA("World", "Log", "calls.log", Box.Path("standins.ini").c_str());
        ::CreateDirectoryA(Box.Path("state").c_str(), nullptr);
        Box.WriteFile("state\\profilelist.txt", "\"Default\",\"Office\"");
        ProfileSetting def = Named("Default");
        std::memcpy(def.Wlan.SSID, "tarvane", 7);
        def.Wlan.SSID_length = 7;
        Box.WriteFile("state\\profiles.bin", Bytes(def) + Bytes(Office()));
    }
    ~ProfileFilesE2e() override
    {
        if (!Process) return;
        HANDLE quit = Box.Start("Vantra.exe", "-q");
        EXPECT_EQ(Box.WaitExit(quit, 20000), 0u);
        EXPECT_EQ(Box.WaitExit(Process, 20000), 0u);
    }

    // Starts the utility, shows it and opens its Profiles page once the
    // first status poll has filled the list.
    void StartOnProfilesPage()
    {
        const size_t lists = Box.Calls("WLAN_Read_ProfileList");
        Process = Box.Start("Vantra.exe");
        Window = Box.WaitWindow(Process, "TMainFrm", 15000);
        ASSERT_NE(Window, nullptr);
        ::PostMessageA(Window, 0xCA02, 0, 1);
        ASSERT_TRUE(WaitFor([this] { return ::IsWindowVisible(Window) != FALSE; }, 15000));
        ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Read_ProfileList") >= lists + 3; }, 15000));
        const size_t reads = Box.Calls("WLAN_Get_Info");
        ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Get_Info") > reads; }, 15000));
        // The Profiles page button; its click sound comes once the page is
        // entered, and a button pressed before that would act inside the switch.
        const size_t clicks = Box.SeamCalls("MciSendString\tplay Sound\\click.wav").size();
        Click(250 + 40, 124 + 10);
        ASSERT_TRUE(WaitFor([&] { return Box.SeamCalls("MciSendString\tplay Sound\\click.wav").size() > clicks; },
                            15000));
        ASSERT_TRUE(WaitFor([this] { return (List = ChildAt(47, 230, "SysListView32")) != nullptr; }, 15000));
        Rows = std::make_unique<RemoteItem>(Process, List);
    }
    // A press and release of the left button at a point of the window, sent
    // to the child window there.
    void Click(int X, int Y) const
    {
        HWND child = ::ChildWindowFromPointEx(Window, POINT{X, Y}, CWP_SKIPINVISIBLE);
        POINT p{X, Y};
        ::MapWindowPoints(Window, child, &p, 1);
        ::PostMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        ::PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    // On the TCP/IP page: the static choice, and addresses of 15 characters
    // typed into the octet fields of the five address panels.
    void StaticAddresses() const
    {
        HWND choice = ChildAt(30, 246, "Button");
        ASSERT_NE(choice, nullptr);
        ::SendMessageA(choice, BM_CLICK, 0, 0);
        const struct {
            int Left, Top;
            const char* Octets[4];
        } panels[] = {{119, 268, {"192", "168", "100", "130"}}, {119, 301, {"255", "255", "255", "128"}},
                      {119, 335, {"192", "168", "100", "129"}}, {322, 268, {"192", "168", "100", "254"}},
                      {322, 301, {"192", "168", "200", "254"}}};
        for (const auto& panel : panels) {
            HWND holder = nullptr;
            ASSERT_TRUE(WaitFor([&] { return (holder = ChildAt(panel.Left, panel.Top, "TIpAddressPanel")) != nullptr &&
                                             ::IsWindowEnabled(holder); }, 15000));
            for (int i = 0; i < 4; ++i) {
                HWND field = ::ChildWindowFromPointEx(holder, POINT{1 + 25 * i + 10, 10}, CWP_SKIPINVISIBLE);
                ASSERT_NE(field, holder);
                for (const char* c = panel.Octets[i]; *c; ++c) ::SendMessageA(field, WM_CHAR, *c, 0);
            }
        }
    }
    // Whether the menu area that holds the wizard's buttons has moved there.
    bool ButtonsAt(int Left, int Top) const
    {
        HWND menu = ::ChildWindowFromPointEx(Window, POINT{Left + 60, Top + 17}, CWP_SKIPINVISIBLE);
        RECT r;
        if (!menu || menu == Window || !::GetWindowRect(menu, &r)) return false;
        ::MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
        return r.left == Left && r.top == Top;
    }
    // The visible child window of that class whose top-left corner is there.
    HWND ChildAt(int Left, int Top, const std::string& ClassName) const
    {
        for (HWND c = ::GetWindow(Window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char name[64] = {};
            ::GetClassNameA(c, name, sizeof name);
            RECT r;
            ::GetWindowRect(c, &r);
            ::MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
            if (lstrcmpiA(name, ClassName.c_str()) == 0 && ::IsWindowVisible(c) && r.left == Left && r.top == Top)
                return c;
        }
        return nullptr;
    }
    void PressButton(const std::string& Caption) const
    {
        for (HWND c = ::GetWindow(Window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char text[64] = {};
            ::GetWindowTextA(c, text, sizeof text);
            if (Caption == text && ::IsWindowVisible(c)) {
                ::PostMessageA(c, BM_CLICK, 0, 0); // the handler runs a modal dialog
                return;
            }
        }
        ADD_FAILURE() << "no button " << Caption;
    }
    // The process's dialog window with that caption, once it is up.
    HWND WaitDialog(const std::string& Caption) const
    {
        HWND found = nullptr;
        WaitFor(
            [&] {
                for (HWND w : WindowsOf(::GetProcessId(Process))) {
                    char text[128] = {};
                    ::GetWindowTextA(w, text, sizeof text);
                    if (::IsWindowVisible(w) && Caption == text) found = w;
                }
                return found != nullptr;
            },
            15000);
        return found;
    }
    // Types a file name into the common dialog's name field and presses OK.
    void AnswerFileDialog(const std::string& Caption, const std::string& FileName) const
    {
        HWND dialog = WaitDialog(Caption);
        ASSERT_NE(dialog, nullptr) << Caption;
        HWND name = ::GetDlgItem(dialog, 0x47C); // the explorer style's name box
        if (!name) name = ::GetDlgItem(dialog, 0x480);
        ASSERT_NE(name, nullptr);
        ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FileName.c_str()));
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    }
    // The stored record of that name, or an empty text.
    std::string StoredRecord(const std::string& Name) const
    {
        const std::string records = Box.ReadFile("state\\profiles.bin");
        for (size_t at = 0; at + RecordSize <= records.size(); at += RecordSize)
            if (std::string(records.c_str() + at) == Name) return records.substr(at, RecordSize);
        return {};
    }
    bool Listed(const std::string& Caption) const { return Rows->Find(Caption) >= 0; }

    Sandbox Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
    HWND List = nullptr;
    std::unique_ptr<RemoteItem> Rows;
};

TEST_F(ProfileFilesE2e, AnExportedProfileImportsBackByteForByte)
{
    StartOnProfilesPage();
    ASSERT_TRUE(WaitFor([this] { return Listed("Office"); }, 15000));
    Rows->Click(Rows->Find("Office"));
    ASSERT_TRUE(WaitFor([this] { return Rows->Selected(Rows->Find("Office")); }, 15000));

    // Saved under a name without ".cfg": it is appended.
    PressButton("Export");
    AnswerFileDialog("Save As", Box.Path("office-export"));
    const std::string file = Box.Path("office-export.cfg");
    ASSERT_TRUE(WaitFor([&] { return ::GetPrivateProfileIntA("WLAN_Ip_Address_Info", "blDhcpEnabled", -1,
                                                             file.c_str()) == 0; }, 15000));
    char key[64] = {};
    ::GetPrivateProfileStringA("WLAN_Wep_Info", "WepKey3", "", key, sizeof key, file.c_str());
    EXPECT_EQ(std::strlen(key), 34u);

    // Deleted from the list, and its stored keys spoilt, so that only the
    // import can bring them back.
    PressButton("Delete");
    ASSERT_TRUE(WaitFor([this] { return !Listed("Office"); }, 15000));
    std::string records = Box.ReadFile("state\\profiles.bin");
    ProfileSetting spoilt = Named("Office");
    records.replace(records.find(Bytes(Office())), RecordSize, Bytes(spoilt));
    Box.WriteFile("state\\profiles.bin", records);

    PressButton("Import");
    AnswerFileDialog("Open", file);
    ASSERT_TRUE(WaitFor([this] { return Listed("Office"); }, 15000));
    EXPECT_EQ(StoredRecord("Office"), Bytes(Office()));
    EXPECT_EQ(Box.ReadFile("state\\profilelist.txt"), "\"Default\",\"Office\" ");
    EXPECT_TRUE(SaveSettledScreenshot(ScreenshotFolder() + "vantra-profile-imported.bmp"));
}

TEST_F(ProfileFilesE2e, TheWizardsPagesWalkedWithThePictureButtons)
{
    StartOnProfilesPage();
    PressButton("New");
    HWND box = WaitDialog("Create connection profile");
    ASSERT_NE(box, nullptr);
    HWND edit = ::FindWindowExA(box, nullptr, "Edit", nullptr);
    ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Garden"));
    // Enter as the keyboard sends it: the key, of which the program's message loop makes the character.
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(VK_RETURN, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, scan | 1);
    ::PostMessageA(edit, WM_KEYUP, VK_RETURN, scan | 0xC0000001);

    HWND ssid = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (ssid = ChildAt(100, 308, "Edit")) != nullptr; }, 15000));

    ::SendMessageA(ssid, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("garden-ap"));
    // Next and Back stand in the menu area; Next above Back, Yes above No.
    const POINT next{447 + 60, 320 + 17}, yes{447 + 60, 290 + 17}, later{447 + 60, 320 + 34 + 17};
    const struct {
        const char* Shot;
        int Left, Top; // a control that shows only on that page
        const char* Class;
    } pages[] = {
        {"vantra-wizard-4-network.bmp", 100, 308, "Edit"},
        {"vantra-wizard-5-channel.bmp", 146, 355, "ComboBox"},
        {"vantra-wizard-6-tcpip.bmp", 30, 206, "Button"},
        {"vantra-wizard-8-wep.bmp", 106, 242, "ComboBox"},
    };
    for (const auto& page : pages) {
        ASSERT_TRUE(WaitFor([&] { return ChildAt(page.Left, page.Top, page.Class) != nullptr; }, 15000))
            << page.Shot;
        ASSERT_TRUE(WaitFor([&] { return ButtonsAt(447, 320); }, 15000)) << page.Shot;
        if (page.Left == 30) StaticAddresses(); // the widest addresses there are
        EXPECT_TRUE(SaveSettledScreenshot(ScreenshotFolder() + page.Shot));
        Click(next.x, next.y);
    }
    // The confirmation page shows its labels, painted on the window itself.
    ASSERT_TRUE(WaitFor([&] { return ChildAt(106, 242, "ComboBox") == nullptr && ButtonsAt(447, 290); }, 15000));
    EXPECT_TRUE(SaveSettledScreenshot(ScreenshotFolder() + "vantra-wizard-12-confirm.bmp"));
    const size_t stores = Box.Calls("WLAN_Write_Setting_To_ProfileRegistry_Ex");
    Click(yes.x, yes.y);
    ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Write_Setting_To_ProfileRegistry_Ex") > stores; }, 15000));
    EXPECT_TRUE(WaitFor([&] { return StoredRecord("Garden").size() == RecordSize; }, 15000));
    ASSERT_TRUE(WaitFor([&] { return ButtonsAt(447, 320); }, 15000));
    EXPECT_TRUE(SaveSettledScreenshot(ScreenshotFolder() + "vantra-wizard-13-activate.bmp"));
    Click(later.x, later.y);
    ASSERT_TRUE(WaitFor([this] { return Listed("Garden"); }, 15000));
    EXPECT_EQ(Box.Calls("WLAN_Write_Setting_To_DriverRegistry"), 0u);
}

} // namespace
