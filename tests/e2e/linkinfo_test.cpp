// The Link Information page of the real Vantra.exe under Wine set to
// Windows XP and 98, connected through the stand-ins to an access point, with
// the test run's local web server in place of the Internet: the summary
// view's infrastructure picture after the Internet test, the detail view's
// link and TCP/IP settings, and screenshots of both views for review.
#include "sandbox.h"
#include "screen.h"
#include "tests/local_http.h"
#include "vantra/drivers/records.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

const char* const WlanIni = "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n";

bool WaitFor(const std::function<bool()>& Done, DWORD Milliseconds)
{
    for (const DWORD start = ::GetTickCount(); !Done(); ::Sleep(50))
        if (::GetTickCount() - start > Milliseconds) return false;
    return true;
}

// What Paint draws on a memory context of the screen's kind, 32 bits a pixel.
std::vector<uint32_t> Painted(int Width, int Height, const std::function<void(HDC Memory, HDC Screen)>& Paint)
{
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    Paint(memory, screen);
    ::GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + Width * Height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// A client rectangle of the window as it is on the screen.
std::vector<uint32_t> ScreenPixels(HWND Window, const RECT& Area)
{
    POINT origin{Area.left, Area.top};
    ::ClientToScreen(Window, &origin);
    const int width = Area.right - Area.left, height = Area.bottom - Area.top;
    return Painted(width, height, [&](HDC Memory, HDC Screen) {
        ::BitBlt(Memory, 0, 0, width, height, Screen, origin.x, origin.y, SRCCOPY);
    });
}

int Luminance(uint32_t Pixel) { return ((Pixel >> 16 & 0xFF) * 30 + (Pixel >> 8 & 0xFF) * 59 + (Pixel & 0xFF) * 11) / 100; }

// One label of the page: its place in the window and the text it should show.
struct Label {
    int Left, Top;
    std::string Text;
};

// Ink and paper by a clear margin: the shading of glyph edges blends with
// what lies under them, and is neither.
bool Ink(uint32_t Pixel) { return Luminance(Pixel) < 96; }
bool Paper(uint32_t Pixel) { return Luminance(Pixel) > 160; }
// Also not the faintest shading of a glyph.
bool BarePaper(uint32_t Pixel) { return Luminance(Pixel) > 240; }

// How many pixels of Area on the screen differ from the labels' texts drawn
// as the page's detail labels draw them (Tahoma 7, each clipped to its
// 120 x 13 box): ink on paper or paper on ink; -1 when the texts have no ink.
int TextMismatch(HWND Window, const RECT& Area, const std::vector<Label>& Labels)
{
    const int width = Area.right - Area.left, height = Area.bottom - Area.top;
    const std::vector<uint32_t> expected = Painted(width, height, [&](HDC Memory, HDC Screen) {
        RECT all{0, 0, width, height};
        ::FillRect(Memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        HFONT font = ::CreateFontA(-::MulDiv(7, ::GetDeviceCaps(Screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                                   FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
        HGDIOBJ old = ::SelectObject(Memory, font);
        ::SetBkMode(Memory, TRANSPARENT);
        ::SetTextColor(Memory, RGB(0x1E, 0x2D, 0x3D));
        for (const Label& l : Labels) {
            RECT box{l.Left - Area.left, l.Top - Area.top, l.Left - Area.left + 120, l.Top - Area.top + 13};
            ::DrawTextA(Memory, l.Text.c_str(), static_cast<int>(l.Text.size()), &box,
                        DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS);
        }
        ::SelectObject(Memory, old);
        ::DeleteObject(font);
    });
    const std::vector<uint32_t> shown = ScreenPixels(Window, Area);
    int inked = 0, differing = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        inked += Ink(expected[i]);
        differing += (Ink(expected[i]) && Paper(shown[i])) || (Paper(expected[i]) && Ink(shown[i]));
    }
    return inked > 0 ? differing : -1;
}

// How many lines of text Area of the window shows: runs of rows with a
// mark of a glyph, shading included, apart by at least one bare row. Lines
// that touch count as one.
int TextLines(HWND Window, const RECT& Area)
{
    const std::vector<uint32_t> shown = ScreenPixels(Window, Area);
    const int width = Area.right - Area.left;
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < Area.bottom - Area.top; ++y) {
        bool inked = false;
        for (int x = 0; x < width && !inked; ++x) inked = !BarePaper(shown[y * width + x]);
        lines += inked && !inLine;
        inLine = inked;
    }
    return lines;
}

bool HasInk(HWND Window, const RECT& Area)
{
    const std::vector<uint32_t> shown = ScreenPixels(Window, Area);
    for (uint32_t pixel : shown)
        if (Ink(pixel)) return true;
    return false;
}

// Near a colour of the skin: the pictures' colours went through a 256-colour table.
bool Near(uint32_t Pixel, COLORREF Colour)
{
    return std::abs(int(Pixel >> 16 & 0xFF) - GetRValue(Colour)) < 24 &&
           std::abs(int(Pixel >> 8 & 0xFF) - GetGValue(Colour)) < 24 && std::abs(int(Pixel & 0xFF) - GetBValue(Colour)) < 24;
}

// The detail frame's divider between the two columns, and its right edge.
constexpr int DividerLeft = 236, FrameRight = 418;

// A point inside the globe of the infrastructure picture (70, 220 in the
// window): teal while the Internet answers, grey in the missing-Internet one.
const RECT Globe{384, 269, 385, 270};
const COLORREF InternetUp = RGB(0x15, 0x93, 0xA5);

struct ChildSearch {
    const char* Text;
    HWND Found;
};

BOOL CALLBACK MatchChild(HWND Child, LPARAM Param)
{
    auto* search = reinterpret_cast<ChildSearch*>(Param);
    char text[64] = {};
    ::GetWindowTextA(Child, text, sizeof text);
    if (std::strcmp(text, search->Text) != 0) return TRUE;
    search->Found = Child;
    return FALSE;
}

HWND ChildWithText(HWND Parent, const char* Text)
{
    ChildSearch search{Text, nullptr};
    ::EnumChildWindows(Parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

class LinkPage : public testing::TestWithParam<const char*> {};

TEST_P(LinkPage, ConnectedLinkInBothViews)
{
    const std::string version = GetParam();
    Sandbox box("linkpage-" + version);
    box.WriteFile("WLAN.INI", WlanIni);
    auto world = [&](const char* Section, const char* Key, const char* Value) {
        ::WritePrivateProfileStringA(Section, Key, Value, box.Path("standins.ini").c_str());
    };
    world("World", "Log", "calls.log");
    world("World", "JoinMs", "0");
    world("Dhcp", "Mask", "255.255.255.128"); // the widest address there is
    // The driver's saved setting: the open access point "tarvane".
    ProfileSetting saved{};
    std::memcpy(saved.Wlan.SSID, "tarvane", 7);
    saved.Wlan.SSID_length = 7;
    saved.Wlan.OperatingModeID = 1;
    ::CreateDirectoryA(box.Path("state").c_str(), nullptr);
    box.WriteFile("state\\driver.bin", std::string(reinterpret_cast<const char*>(&saved), sizeof saved));
    const std::string internet = LocalHttpAddress();
    ASSERT_FALSE(internet.empty()) << "the test run's local web server is not running";

    SetWineVersion("Vantra.exe", version);
    ::SetEnvironmentVariableA("SEAM_INTERNET", internet.c_str());
    HANDLE process = box.Start("Vantra.exe");
    ::SetEnvironmentVariableA("SEAM_INTERNET", nullptr);
    HWND window = box.WaitWindow(process, "TMainFrm", 15000);
    SetWineVersion("Vantra.exe", "");
    ASSERT_NE(window, nullptr);

    // Connected while in the tray; opened, the window's status-picture pass
    // tests the Internet, which answers, and puts the infrastructure picture up.
    ASSERT_TRUE(box.WaitSeamCall("ShellNotifyIcon\t1\t9999\t1\t  Connect to:tarvane", 20000));
    EXPECT_TRUE(box.SeamCalls("InternetOpenUrl\t").empty());
    ::PostMessageA(window, 0xCA02, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }, 5000));
    ASSERT_TRUE(box.WaitSeamCall("InternetOpenUrl\thttp://www.", 10000));
    EXPECT_EQ(box.SeamCalls("InternetOpenUrl\t").front().substr(box.SeamCalls("InternetOpenUrl\t").front().rfind('\t') + 1),
              internet);
    EXPECT_TRUE(WaitFor([&] { return Near(ScreenPixels(window, Globe)[0], InternetUp); }, 10000));
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + "vantra-link-summary-" + version + ".bmp"));

    // More Info: the link's details and the card's settings, as the
    // stand-ins hold them (the card takes the world's DHCP lease).
    HWND moreInfo = ChildWithText(window, "More Info");
    ASSERT_NE(moreInfo, nullptr);
    ::SendMessageA(moreInfo, BM_CLICK, 0, 0);
    const std::vector<Label> tcpIp = {{152, 243, "192.168.1.105"}, {152, 253, "255.255.255.128"},
                                      {152, 263, "192.168.1.1"},   {152, 273, "192.168.1.1"},
                                      {152, 283, "Enable"}};
    const std::vector<Label> link = {{312, 243, "Connected"},      {312, 253, "tarvane"},
                                     {312, 263, "Infrastructure"}, {312, 273, "54.0 Mbps"},
                                     {312, 282, "11 (2.462 GHz)"}, {312, 291, "Disabled"},
                                     {312, 301, "02-0F-3D-4A-11-20"}};
    int mismatch = -1;
    auto shows = [&](const RECT& Area, const std::vector<Label>& Labels) {
        return WaitFor([&] { return (mismatch = TextMismatch(window, Area, Labels)) == 0; }, 10000);
    };
    EXPECT_TRUE(shows(RECT{152, 243, 272, 296}, tcpIp)) << mismatch << " pixels differ";
    EXPECT_TRUE(shows(RECT{312, 243, 432, 314}, link)) << mismatch << " pixels differ";
    // Every line apart from the next; each column's texts end before the
    // divider and the frame, with room to spare.
    EXPECT_EQ(TextLines(window, RECT{152, 243, 224, 296}), 5);
    EXPECT_EQ(TextLines(window, RECT{312, 243, 414, 314}), 7);
    EXPECT_FALSE(HasInk(window, RECT{DividerLeft - 2, 243, DividerLeft + 3, 296}));
    EXPECT_FALSE(HasInk(window, RECT{FrameRight - 3, 243, FrameRight, 314}));
    EXPECT_FALSE(Near(ScreenPixels(window, Globe)[0], InternetUp)); // the details replace the picture
    EXPECT_TRUE(SaveScreenshot(ScreenshotFolder() + "vantra-link-detail-" + version + ".bmp"));

    // Back: the summary view again.
    HWND back = ChildWithText(window, "Back");
    ASSERT_NE(back, nullptr);
    ::SendMessageA(back, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return Near(ScreenPixels(window, Globe)[0], InternetUp); }, 10000));
}

INSTANTIATE_TEST_SUITE_P(Wine, LinkPage, testing::Values("winxp", "win98"));

} // namespace
