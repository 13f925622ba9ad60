// The Site Survey page of the real Vantra.exe over the stand-in's default
// neighbourhood: the list after Refresh, read from the list view itself,
// and a screenshot of the page for review.
#include "remote_list.h"
#include "sandbox.h"
#include "screen.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";

class SurveyE2e : public testing::Test {
protected:
    SurveyE2e() : Box(testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        Box.WriteFile("WLAN.INI", WlanIni);
        ::WritePrivateProfileStringA("World", "Log", "calls.log", Box.Path("standins.ini").c_str());
    }
    HWND ChildAt(int X, int Y) const { return ::ChildWindowFromPointEx(Window, POINT{X, Y}, CWP_SKIPINVISIBLE); }
    // A click posted, so that the test goes on while the program handles it.
    void Click(int X, int Y) const
    {
        HWND child = ChildAt(X, Y);
        POINT p{X, Y};
        ::MapWindowPoints(Window, child, &p, 1);
        ::PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    HWND SurveyList() const
    {
        HWND list = ChildAt(40 + 90, 230 + 50);
        char name[64] = {};
        ::GetClassNameA(list, name, sizeof name);
        return std::string(name) == "SysListView32" ? list : nullptr;
    }
    int Rows(HWND List) const { return static_cast<int>(::SendMessageA(List, LVM_GETITEMCOUNT, 0, 0)); }

    Sandbox Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
};

TEST_F(SurveyE2e, RefreshListsTheNeighbourhoodStrongestFirst)
{
    Process = Box.Start("Vantra.exe");
    Window = Box.WaitWindow(Process, "TMainFrm", 15000);
    ASSERT_NE(Window, nullptr);
    ASSERT_TRUE(WaitFor([&] { return Box.Calls("WLAN_Open_Adapter") > 0; }, 15000));
    ::PostMessageA(Window, 0xCA02, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(Window) != FALSE; }, 5000));

    // The page's first showing surveys by itself; Refresh surveys again.
    Click(129 + 40, 124 + 10);
    // The page's controls come up one after the other: the list, then its buttons.
    HWND list = nullptr, refresh = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (list = SurveyList()) != nullptr && (refresh = ChildAt(55 + 30, 345 + 11)) != Window; }, 5000));
    auto refreshed = [&](size_t Surveys) {
        return Box.Calls("WLAN_Get_Site_Survey") == Surveys && ::IsWindowEnabled(refresh) && Rows(list) == 6;
    };
    ASSERT_TRUE(WaitFor([&] { return refreshed(1); }, 10000));
    Click(55 + 30, 345 + 11);
    ASSERT_TRUE(WaitFor([&] { return refreshed(2); }, 10000));

    RemoteItem items(Process, list);
    const char* const order[] = {"tarvane", "Kestrel-Home", "mirelow-office", "lanparty", "Cafe Lumen", "orsa-5g"};
    const char* const bands[] = {"B", "B", "B", "B", "B", "A"};
    const char* const signals[] = {"Good", "Good", "Fair", "Fair", "Fair", "Poor"};
    const int pictures[] = {0, 3, 3, 6, 0, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(items.Text(i, 0), order[i]) << i;
        EXPECT_EQ(items.Text(i, 1), bands[i]) << i;
        EXPECT_EQ(items.Text(i, 2), signals[i]) << i;
        EXPECT_EQ(items.Image(i), pictures[i]) << i;
    }

    // A chosen row's details beside the list; the screenshot once the row's
    // highlight, the MAC label's ink and the menu's white card are on the screen.
    items.Select(1);
    ::RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    RECT frame;
    ::GetWindowRect(Window, &frame);
    auto screenPixel = [](int X, int Y) {
        HDC screen = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(screen, X, Y);
        ::ReleaseDC(nullptr, screen);
        return c;
    };
    auto pixel = [&](int X, int Y) { return screenPixel(frame.left + X, frame.top + Y); };
    const RECT chosen = items.Bounds(1);
    auto white = [](COLORREF C) { return GetRValue(C) > 0xF8 && GetGValue(C) > 0xF8 && GetBValue(C) > 0xF8; };
    auto labelInked = [&] {
        for (int x = 316; x < 380; ++x)
            for (int y = 290; y < 300; ++y)
                if (GetRValue(pixel(x, y)) < 0x80) return true;
        return false;
    };
    EXPECT_TRUE(WaitFor(
        [&] {
            return !white(screenPixel(chosen.right - 3, (chosen.top + chosen.bottom) / 2)) && labelInked() &&
                   white(pixel(454 + 10, 255 + 110));
        },
        5000));
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + "vantra-survey-page.bmp"));

    // The pointer resting on a row brings up its tip.
    const RECT kestrel = items.Bounds(1);
    POINT rest{kestrel.left + 40, (kestrel.top + kestrel.bottom) / 2};
    ::SetCursorPos(rest.x, rest.y);
    ::ScreenToClient(list, &rest);
    ::PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(rest.x, rest.y));
    EXPECT_TRUE(WaitFor(
        [&] {
            for (HWND w : WindowsOf(::GetProcessId(Process))) {
                char name[64] = {}, text[256] = {};
                ::GetClassNameA(w, name, sizeof name);
                // The tip's text, asked of the tooltip itself.
                ::SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
                if (::IsWindowVisible(w) && std::string(name) == "tooltips_class32" &&
                    std::string(text).find("SSID:Kestrel-Home") != std::string::npos)
                    return true;
            }
            return false;
        },
        5000));
    EXPECT_TRUE(SaveSettledScreenshot(ScreenshotFolder() + "vantra-survey-tip.bmp"));
    ::SetCursorPos(0, 0);

    ::PostMessageA(Window, 0xCA01, 0, 1);
    EXPECT_EQ(Box.WaitExit(Process, 15000), 0u);
    EXPECT_TRUE(Box.EndedClean());
}

} // namespace
