// The skinned main window of the real Vantra.exe: its shape and place on the
// screen, dragging by bare skin, page switching, the columns of its lists,
// hover with its sound, and screenshots of each page for review.
#include "sandbox.h"
#include "screen.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";

class Skin : public testing::Test {
protected:
    Skin() : Box(testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        Box.WriteFile("WLAN.INI", WlanIni);
    }
    void StartShown()
    {
        Process = Box.Start("Vantra.exe");
        Window = Box.WaitWindow(Process, "TMainFrm", 15000);
        ASSERT_NE(Window, nullptr);
        ::PostMessageA(Window, 0xCA02, 0, 1);
        for (int i = 0; i < 100 && !::IsWindowVisible(Window); ++i) ::Sleep(50);
        ASSERT_TRUE(::IsWindowVisible(Window));
        ::Sleep(300);
    }
    // The child window of the main window at a point of its client area.
    HWND ChildAt(int X, int Y) const
    {
        return ::ChildWindowFromPointEx(Window, POINT{X, Y}, CWP_SKIPINVISIBLE);
    }
    void Click(int X, int Y) const
    {
        HWND child = ChildAt(X, Y);
        POINT p{X, Y};
        ::MapWindowPoints(Window, child, &p, 1);
        ::SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::SendMessageA(child, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        ::Sleep(200);
    }
    void Hover(int X, int Y) const
    {
        HWND child = ChildAt(X, Y);
        POINT p{X, Y};
        ::MapWindowPoints(Window, child, &p, 1);
        ::SendMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    }
    // Visible list views of the window.
    std::vector<HWND> VisibleLists() const
    {
        std::vector<HWND> lists;
        for (HWND c = ::GetWindow(Window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char name[64] = {};
            ::GetClassNameA(c, name, sizeof name);
            if (std::string(name) == "SysListView32" && ::IsWindowVisible(c)) lists.push_back(c);
        }
        return lists;
    }
    // ... by their left edge.
    std::vector<int> VisibleListsAt() const
    {
        std::vector<int> lefts;
        for (HWND list : VisibleLists()) {
            RECT r;
            ::GetWindowRect(list, &r);
            ::MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
            lefts.push_back(r.left);
        }
        return lefts;
    }
    // The widths of the list's columns and its client width.
    static std::pair<std::vector<int>, int> Columns(HWND List)
    {
        HWND header = reinterpret_cast<HWND>(::SendMessageA(List, LVM_GETHEADER, 0, 0));
        const int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        std::vector<int> widths;
        for (int i = 0; i < count; ++i) widths.push_back(static_cast<int>(::SendMessageA(List, LVM_GETCOLUMNWIDTH, i, 0)));
        RECT client;
        ::GetClientRect(List, &client);
        return {widths, static_cast<int>(client.right)};
    }
    size_t Played(const std::string& Sound) const
    {
        return Box.SeamCalls("MciSendString\tplay Sound\\" + Sound).size();
    }
    void Screenshot(const std::string& Page) const
    {
        EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + "vantra-" + Page + ".bmp"));
    }

    Sandbox Box;
    HANDLE Process = nullptr;
    HWND Window = nullptr;
};

TEST_F(Skin, RoundedWindowDragsByBareSkinOnly)
{
    StartShown();
    RECT frame;
    ::GetWindowRect(Window, &frame);
    EXPECT_EQ(frame.right - frame.left, 580);
    EXPECT_EQ(frame.bottom - frame.top, 435);

    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(Window, region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_FALSE(::PtInRegion(region, 578, 1));
    EXPECT_FALSE(::PtInRegion(region, 1, 428));
    EXPECT_FALSE(::PtInRegion(region, 290, 432)); // the bottom 5 rows are cut off
    EXPECT_TRUE(::PtInRegion(region, 290, 200));
    EXPECT_TRUE(::PtInRegion(region, 12, 12));
    ::DeleteObject(region);

    // Bare skin answers a caption hit; the title button's panel a client hit.
    EXPECT_EQ(::SendMessageA(Window, WM_NCHITTEST, 0, MAKELPARAM(frame.left + 300, frame.top + 60)), HTCAPTION);
    HWND button = ChildAt(545, 15);
    ASSERT_NE(button, Window);
    EXPECT_EQ(::SendMessageA(button, WM_NCHITTEST, 0, MAKELPARAM(frame.left + 545, frame.top + 15)), HTCLIENT);
}

TEST_F(Skin, OpensInTheMiddleOfTheWorkAreaClearOfTheTray)
{
    StartShown();
    RECT frame, work, tray, overlap;
    ::GetWindowRect(Window, &frame);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(frame.left - work.left, work.right - frame.right, 1);
    EXPECT_NEAR(frame.top - work.top, work.bottom - frame.bottom, 1);
    HWND trayWindow = ::FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_NE(trayWindow, nullptr);
    ::GetWindowRect(trayWindow, &tray);
    EXPECT_FALSE(::IntersectRect(&overlap, &frame, &tray));
}

TEST_F(Skin, PageButtonsSwitchPagesWithAClick)
{
    StartShown();
    Screenshot("link");
    EXPECT_TRUE(VisibleListsAt().empty());

    Click(129 + 40, 124 + 10); // Site Survey
    EXPECT_EQ(VisibleListsAt(), std::vector<int>{40});
    Screenshot("survey");

    Click(250 + 40, 124 + 10); // Profiles
    EXPECT_EQ(VisibleListsAt(), std::vector<int>{47});
    Screenshot("profiles");

    Click(10 + 40, 124 + 10); // Link
    EXPECT_TRUE(VisibleListsAt().empty());
    EXPECT_EQ(Played("click.wav"), 3u);
    Click(10 + 40, 124 + 10); // Link again: only the sound
    EXPECT_EQ(Played("click.wav"), 4u);
}

TEST_F(Skin, ListColumnsFitTheClientWidth)
{
    StartShown();
    Click(129 + 40, 124 + 10); // Site Survey: SSID, band, and the signal in the width left
    ASSERT_EQ(VisibleLists().size(), 1u);
    HWND survey = VisibleLists()[0];
    auto columns = Columns(survey);
    ASSERT_EQ(columns.first.size(), 3u);
    EXPECT_EQ(columns.first[0], 97);
    EXPECT_EQ(columns.first[0] + columns.first[1] + columns.first[2], columns.second);
    EXPECT_FALSE(::GetWindowLongA(survey, GWL_STYLE) & LVS_NOCOLUMNHEADER);

    Click(250 + 40, 124 + 10); // Profiles: name and SSID, no headers
    ASSERT_EQ(VisibleLists().size(), 1u);
    HWND profiles = VisibleLists()[0];
    columns = Columns(profiles);
    EXPECT_EQ(columns.first, (std::vector<int>{95, 80}));
    EXPECT_LE(95 + 80, columns.second);
    EXPECT_TRUE(::GetWindowLongA(profiles, GWL_STYLE) & LVS_NOCOLUMNHEADER);
}

TEST_F(Skin, HoverPlaysChangeOncePerEntry)
{
    StartShown();
    const size_t before = Played("change.wav");
    Hover(545, 15); // title button
    Hover(547, 17);
    EXPECT_EQ(Played("change.wav"), before + 1);
    Hover(10 + 40, 124 + 10); // onto a page button
    EXPECT_EQ(Played("change.wav"), before + 2);
    Hover(129 + 40, 124 + 10); // onto another
    EXPECT_EQ(Played("change.wav"), before + 3);
    // Bare skin clears the hover: the next entry plays again.
    RECT frame;
    ::GetWindowRect(Window, &frame);
    ::SendMessageA(Window, WM_NCHITTEST, 0, MAKELPARAM(frame.left + 300, frame.top + 60));
    Hover(129 + 41, 124 + 10);
    EXPECT_EQ(Played("change.wav"), before + 4);
}

TEST_F(Skin, WithoutAWaveOutDeviceNothingPlays)
{
    ::SetEnvironmentVariableA("SEAM_WAVE_DEVICES", "0");
    StartShown();
    ::SetEnvironmentVariableA("SEAM_WAVE_DEVICES", nullptr);
    Click(129 + 40, 124 + 10);
    Hover(545, 15);
    for (const std::string& line : Box.SeamCalls("MciSendString"))
        EXPECT_EQ(line.find("\tplay "), std::string::npos) << line;
    EXPECT_TRUE(Box.SeamCalls("PlaySound").empty());
}

} // namespace
