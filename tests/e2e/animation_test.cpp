// The status animations of the real Vantra.exe: without an adapter the link
// page shows the missing-access-point animation, and the screen changes
// there, frame by frame, and nowhere else.
#include "sandbox.h"
#include "screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// The window's client area as it is on the screen, 32 bits a pixel, top row first.
struct TWindowPixels {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
};

TWindowPixels WindowPixels(HWND Window)
{
    RECT client;
    ::GetClientRect(Window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(Window, &origin);
    TWindowPixels shot;
    shot.Width = client.right;
    shot.Height = client.bottom;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, shot.Width, -shot.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, shot.Width, shot.Height, screen, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    shot.Pixels.assign(first, first + size_t(shot.Width) * shot.Height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return shot;
}

// The smallest rectangle that holds every pixel that differs.
struct TArea {
    int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN;
    bool Empty() const { return Right < Left; }
};

// The animation's place in the window (70, 220; 350 x 109).
const RECT Animation{70, 220, 420, 329};

bool Inside(const RECT& R, int X, int Y) { return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom; }

// Where A and B differ, outside Except.
TArea DifferingArea(const TWindowPixels& A, const TWindowPixels& B, const RECT& Except = {})
{
    TArea area;
    if (A.Width != B.Width || A.Height != B.Height) return {0, 0, A.Width, A.Height};
    for (int y = 0; y < A.Height; ++y)
        for (int x = 0; x < A.Width; ++x) {
            const size_t i = size_t(y) * A.Width + x;
            if (A.Pixels[i] == B.Pixels[i] || Inside(Except, x, y)) continue;
            area.Left = std::min(area.Left, x);
            area.Top = std::min(area.Top, y);
            area.Right = std::max(area.Right, x + 1);
            area.Bottom = std::max(area.Bottom, y + 1);
        }
    return area;
}

TEST(StatusAnimation, PlaysOnTheLinkPageAndNothingElseChanges)
{
    Sandbox box("animation");
    box.WriteFile("WLAN.INI", "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n");
    ::WritePrivateProfileStringA("Adapter", "Present", "0", box.Path("standins.ini").c_str());
    HANDLE process = box.Start("Vantra.exe");
    HWND window = box.WaitWindow(process, "TMainFrm", 15000);
    ASSERT_NE(window, nullptr);
    ::PostMessageA(window, 0xCA02, 0, 1);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(window) != FALSE; }, 5000));
    // The first frame is up once the animation's area is no longer the bare panel.
    const TWindowPixels panel = WindowPixels(window);
    ASSERT_TRUE(WaitFor([&] { return !DifferingArea(panel, WindowPixels(window)).Empty(); }, 5000));
    // The rest of the window has finished painting when it has stayed the
    // same for 300 ms.
    TWindowPixels last = WindowPixels(window);
    DWORD lastChange = ::GetTickCount();
    ASSERT_TRUE(WaitFor(
        [&] {
            TWindowPixels now = WindowPixels(window);
            if (!DifferingArea(last, now, Animation).Empty()) {
                last = std::move(now);
                lastChange = ::GetTickCount();
            }
            return ::GetTickCount() - lastChange >= 300;
        },
        10000));

    // The next change of frame (a frame lasts 600 ms) shows within the
    // animation and nowhere else.
    const TWindowPixels before = WindowPixels(window);
    TArea differing;
    const bool changed = WaitFor([&] { return !(differing = DifferingArea(before, WindowPixels(window))).Empty(); }, 5000);
    EXPECT_TRUE(changed) << "the animation stood still for 5 s";
    if (changed) {
        EXPECT_GE(differing.Left, Animation.left);
        EXPECT_GE(differing.Top, Animation.top);
        EXPECT_LE(differing.Right, Animation.right);
        EXPECT_LE(differing.Bottom, Animation.bottom);
        SaveScreenshot(ScreenshotFolder() + "vantra-animation.bmp");
    }
    // The panel's heading band stands empty without a link: no lone accent
    // mark where the More Info button sits when the link is up.
    const TWindowPixels shown = WindowPixels(window);
    int accent = 0;
    for (int y = 154; y < 186; ++y)
        for (int x = 12; x < 120; ++x) {
            const uint32_t p = shown.Pixels[size_t(y) * shown.Width + x];
            accent += (p >> 16 & 0xFF) < 0x40 && (p >> 8 & 0xFF) > 0x70 && (p & 0xFF) > 0x80; // teal
        }
    EXPECT_EQ(accent, 0);
    ::PostMessageA(window, 0xCA01, 0, 1);
    EXPECT_EQ(box.WaitExit(process, 15000), 0u);
    EXPECT_TRUE(box.EndedClean());
}

} // namespace
