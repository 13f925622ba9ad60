// The Profiles page of the real Vantra.exe over the stand-in chipset
// library: it lists the stored profiles, a delete through the real button
// reaches the store, and a restart shows the list the delete left.
#include "remote_list.h"
#include "sandbox.h"
#include "screen.h"
#include "vantra/drivers/records.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>

namespace {

using Texts = std::vector<std::string>;

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";

std::string Record(const std::string& Name, const std::string& Ssid, uint8_t Mode, uint8_t Channel, uint8_t Level)
{
    ProfileSetting profile{};
    std::strncpy(profile.ProfileName, Name.c_str(), sizeof profile.ProfileName - 1);
    std::memcpy(profile.Wlan.SSID, Ssid.data(), Ssid.size());
    profile.Wlan.SSID_length = static_cast<uint8_t>(Ssid.size());
    profile.Wlan.OperatingModeID = Mode;
    profile.Wlan.Channel = Channel;
    profile.Wep.EncryptionLevel = Level;
    return std::string(reinterpret_cast<const char*>(&profile), sizeof profile);
}

class ProfilesE2e : public testing::Test {
protected:
    ProfilesE2e() : Box(testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        Box.WriteFile("WLAN.INI", WlanIni);
        ::WritePrivateProfileStringA("World", "Log", "calls.log", Box.Path("standins.ini").c_str());
        ::CreateDirectoryA(Box.Path("state").c_str(), nullptr);
        Box.WriteFile("state\\profilelist.txt", "\"Default\",\"Home\",\"Office\"");
        Box.WriteFile("state\\profiles.bin", Record("Default", "tarvane", 1, 11, 0) +
                                                 Record("Home", "Kestrel-Home", 1, 6, 1) +
                                                 Record("Office", "lanparty", 0, 3, 2));
    }

    // Starts the utility, shows it, opens its Profiles page and waits until
    // the first status poll has filled the list and finished.
    void StartOnProfilesPage()
    {
        const size_t lists = Box.Calls("WLAN_Read_ProfileList");
        Process = Box.Start("Vantra.exe");
        Window = Box.WaitWindow(Process, "TMainFrm", 15000);
        ASSERT_NE(Window, nullptr);
        ::PostMessageA(Window, 0xCA02, 0, 1);
        ASSERT_TRUE(WaitFor([this] { return ::IsWindowVisible(Window) != FALSE; }, 15000));
        // The device check reads the list, then the first poll twice.
        ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Read_ProfileList") >= lists + 3; }, 15000));
        // The next poll: the first is over.
        const size_t reads = Box.Calls("WLAN_Get_Info");
        ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Get_Info") > reads; }, 15000));
        Click(250 + 40, 124 + 10); // the Profiles page button
        List = nullptr;
        ASSERT_TRUE(WaitFor([this] { return (List = VisibleListAt(47)) != nullptr; }, 15000));
    }
    void Quit()
    {
        HANDLE quit = Box.Start("Vantra.exe", "-q");
        EXPECT_EQ(Box.WaitExit(quit, 20000), 0u);
        EXPECT_EQ(Box.WaitExit(Process, 20000), 0u);
    }

    void Click(int X, int Y) const
    {
        HWND child = ::ChildWindowFromPointEx(Window, POINT{X, Y}, CWP_SKIPINVISIBLE);
        POINT p{X, Y};
        ::MapWindowPoints(Window, child, &p, 1);
        ::SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::SendMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    HWND VisibleListAt(int Left) const
    {
        for (HWND c = ::GetWindow(Window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char name[64] = {};
            ::GetClassNameA(c, name, sizeof name);
            RECT r;
            ::GetWindowRect(c, &r);
            ::MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
            if (std::string(name) == WC_LISTVIEWA && ::IsWindowVisible(c) && r.left == Left) return c;
        }
        return nullptr;
    }
    HWND Button(const std::string& Caption) const
    {
        for (HWND c = ::GetWindow(Window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char name[64] = {}, text[64] = {};
            ::GetClassNameA(c, name, sizeof name);
            ::GetWindowTextA(c, text, sizeof text);
            if (lstrcmpiA(name, "Button") == 0 && Caption == text && ::IsWindowVisible(c)) return c;
        }
        return nullptr;
    }
    // The texts of one column of the list, row by row.
    Texts Rows(int Column = 0) const
    {
        RemoteItem items(Process, List);
        Texts rows;
        const int count = static_cast<int>(::SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) rows.push_back(items.Text(i, Column));
        return rows;
    }
    int SelectedRow() const { return static_cast<int>(::SendMessageA(List, LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }

    Sandbox Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
    HWND List = nullptr;
};

TEST_F(ProfilesE2e, ListsTheStoreAndADeleteSurvivesARestart)
{
    StartOnProfilesPage();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(Rows(), (Texts{"Default", "Home", "Office"}));
    EXPECT_EQ(Rows(1), (Texts{"tarvane", "Kestrel-Home", "lanparty"}));
    // Nothing was written: "Default" was there and no first start is due.
    EXPECT_EQ(Box.Calls("WLAN_Write_ProfileList"), 0u);

    RemoteItem(Process, List).Click(1);
    ASSERT_TRUE(WaitFor([this] { return SelectedRow() == 1; }, 5000));
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + "vantra-profiles-list.bmp"));

    HWND del = Button("Delete");
    ASSERT_NE(del, nullptr);
    ::SendMessageA(del, BM_CLICK, 0, 0);
    EXPECT_TRUE(
        WaitFor([this] { return Box.ReadFile("state\\profilelist.txt") == "\"Default\",\"Office\" "; }, 15000))
        << Box.ReadFile("state\\profilelist.txt");
    EXPECT_EQ(Rows(), (Texts{"Default", "Office"}));
    EXPECT_EQ(SelectedRow(), 0);
    Quit();

    StartOnProfilesPage();
    EXPECT_EQ(Rows(), (Texts{"Default", "Office"}));
    EXPECT_EQ(Rows(1), (Texts{"tarvane", "lanparty"}));
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + "vantra-profiles-after-restart.bmp"));
    Quit();
}

} // namespace
