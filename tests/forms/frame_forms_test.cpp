// The real main window in process: the device check after a card restart
// and a power resume, the pointer watcher, status pictures that do not keep
// the bitmaps they replace, and how the workers and timers live beside the
// window: parked before the adapter closes, handing their work to the main
// thread, and a poll that a failed settings write does not stop.
#include "mainfrm_harness.h"
#include "toolkit/application.h"
#include "vantra/drivers/bindings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

using Harness::PumpUntil;

class Frame : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        Harness::Reset();
    }
    TMainFrm* Form = nullptr;
};

TEST_F(Frame, CardRestartClosesAndReopensTheAdapterAndClearsApplyingTcpIp)
{
    TLinkState& link = Form->Link;
    link.CloseDeviceManager();
    link.FindAdapterNic(); // the adapter's card, as the TCP/IP thread works on it
    link.ApplyingTcpIp = true;
    link.MonitoringOn = true;
    NicCall(Nic.NIC_PropertyChange, &link.NicDevice); // restarts the card; the device change follows

    ASSERT_TRUE(PumpUntil([] { return Harness::CallCount("WLAN_Open_Adapter") >= 1; }, 5000));
    EXPECT_EQ(Harness::CallCount("WLAN_Close_Adapter"), 1u);
    EXPECT_FALSE(link.ApplyingTcpIp);
    EXPECT_TRUE(link.AdapterOpened);
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_EQ(Form->UpdateTimer->Interval(), 500u);
    EXPECT_FALSE(Form->DeviceCheckTimer->Enabled());
    EXPECT_TRUE(Form->Timer1->Enabled()); // the driver setting is re-applied once the link is down
}

TEST_F(Frame, EachPowerResumeRunsOneDeviceCheck)
{
    for (int resume = 0; resume < 2; ++resume) {
        Form->DeviceCheckTimer->SetEnabled(false);
        ASSERT_TRUE(PumpUntil([this] { return Form->PowerThread->Suspended(); }, 2000));
        ::SendMessageA(Form->Handle(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
        ASSERT_TRUE(PumpUntil([this] { return Form->DeviceCheckTimer->Enabled(); }, 2000)) << resume;
        EXPECT_EQ(Form->DeviceCheckTimer->Interval(), 1000u);
        EXPECT_TRUE(PumpUntil([this] { return Form->PowerThread->Suspended(); }, 2000));
    }
    // Without an open adapter a resume does nothing.
    Form->DeviceCheckTimer->SetEnabled(false);
    Form->Link.AdapterOpened = false;
    ::SendMessageA(Form->Handle(), WM_POWERBROADCAST, PBT_APMRESUMESTANDBY, 0);
    PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(Form->DeviceCheckTimer->Enabled());
}

TEST_F(Frame, LeavingTheWindowPutsTheTitleButtonBackWithinTheWatchersBeat)
{
    Form->Show();
    RECT window;
    ::GetWindowRect(Form->Handle(), &window);
    ::SetCursorPos(window.left + 549, window.top + 19);
    Form->MessageThread->Resume();
    Form->HoverButton(HoverItem::TitleButton, Form->Image7, 0);
    const COLORREF hot = Form->TitleButtonHotBitmap->Canvas()->Pixel(13, 13);
    const COLORREF normal = Form->TitleButtonBitmap->Canvas()->Pixel(13, 13);
    ASSERT_NE(hot, normal);
    PumpUntil([] { return false; }, 400); // inside: the highlight stays
    EXPECT_EQ(Form->HoverIndex, HoverItem::TitleButton);
    EXPECT_EQ(Form->Image7->Picture()->Bitmap()->Canvas()->Pixel(13, 13), hot);

    ::SetCursorPos(window.right + 40, window.bottom + 40);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(PumpUntil([this] { return Form->HoverIndex == HoverItem::None; }, 2000));
    EXPECT_LT(::GetTickCount() - start, 600u);
    EXPECT_EQ(Form->Image7->Picture()->Bitmap()->Canvas()->Pixel(13, 13), normal);
}

// The window's right and bottom edges count as inside: a pointer resting on
// them has not left the window. A second watcher, on a window far from the
// pointer, keeps the beat.
TEST_F(Frame, PointerWatcherCountsTheWindowsEdgesAsInside)
{
    Form->Show();
    RECT window;
    ::GetWindowRect(Form->Handle(), &window);
    TForm elsewhere(nullptr);
    elsewhere.SetBounds(0, 0, 10, 10);
    std::atomic<int> left{0}, beats{0};
    TMessageThread watcher(Form->Handle(), [&] { ++left; });
    TMessageThread beat(elsewhere.Handle(), [&] { ++beats; });
    for (POINT edge : {POINT{window.right, window.bottom}, POINT{window.right, window.top + 20},
                       POINT{window.left + 20, window.bottom}}) {
        ::SetCursorPos(edge.x, edge.y);
        const int from = beats;
        watcher.Resume();
        beat.Resume();
        ASSERT_TRUE(PumpUntil([&] { return beats >= from + 3; }, 5000));
        EXPECT_EQ(left, 0) << edge.x << "," << edge.y;
        for (TThread* t : {static_cast<TThread*>(&watcher), static_cast<TThread*>(&beat)}) t->Suspend();
        ASSERT_TRUE(PumpUntil([&] { return watcher.Suspended() && beat.Suspended(); }, 2000));
    }
    // One pixel further out it has.
    ::SetCursorPos(window.right + 1, window.bottom);
    watcher.Resume();
    EXPECT_TRUE(PumpUntil([&] { return left > 0; }, 2000));
    watcher.Suspend();
    ASSERT_TRUE(PumpUntil([&] { return watcher.Suspended(); }, 2000));
}

TEST_F(Frame, StatusPicturesFreeTheBitmapsTheyReplace)
{
    for (int i = 0; i < 60; ++i) {
        HBITMAP old = Form->Img_Status->Picture()->Bitmap()->Handle();
        Form->SetStatusImage(i % 2 ? IDB_STATUS_SURVEY : IDB_TITLE_INFRASTRUCTURE);
        ASSERT_NE(Form->Img_Status->Picture()->Bitmap()->Handle(), old);
        ASSERT_EQ(::GetObjectType(old), 0u) << "replaced status bitmap still alive at step " << i;
    }
    EXPECT_EQ(Form->Img_Status->Width(), 435); // the survey panel, not the link page's
}

TEST_F(Frame, StoppingMonitoringParksTheWorkersBeforeTheAdapterCloses)
{
    // A status-picture pass that is still running when monitoring stops; a
    // timer of the main thread lets it finish.
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> entered{false};
    size_t closesAtRelease = SIZE_MAX;
    TShowGifThread* original = Form->GifThread;
    Form->GifThread = new TShowGifThread([&] {
        entered = true;
        ::WaitForSingleObject(release, 10000);
    });
    Form->GifThread->Resume();
    ASSERT_TRUE(PumpUntil([&] { return entered.load(); }, 2000));
    TTimer releaser(nullptr);
    releaser.SetInterval(150);
    releaser.OnTimer = [&](TObject*) {
        releaser.SetEnabled(false);
        closesAtRelease = Harness::CallCount("WLAN_Close_Adapter");
        ::SetEvent(release);
    };
    releaser.SetEnabled(true);

    Form->StopMonitoring();
    EXPECT_EQ(closesAtRelease, 0u); // still waiting for the pass when the timer came
    EXPECT_EQ(Harness::CallCount("WLAN_Close_Adapter"), 1u);
    EXPECT_TRUE(Form->GifThread->Suspended());

    delete Form->GifThread;
    Form->GifThread = original;
    ::CloseHandle(release);
}

TEST_F(Frame, WorkersHandTheirWindowWorkToTheMainThread)
{
    const DWORD main = ::GetCurrentThreadId();
    std::atomic<DWORD> tookOn{0}, appliedOn{0}, leftOn{0};
    NicIpInfo pending{};
    std::strcpy(pending.cIpAdress, "192.168.7.20");
    std::string applied;
    TSetTCPIPThread* applier = nullptr;
    applier = new TSetTCPIPThread(
        [&] {
            tookOn = ::GetCurrentThreadId();
            return pending;
        },
        [&](NicIpInfo& Info) {
            appliedOn = ::GetCurrentThreadId();
            applied = Info.cIpAdress;
            applier->Suspend();
        });
    applier->Resume();
    ASSERT_TRUE(PumpUntil([&] { return appliedOn != 0 && applier->Suspended(); }, 5000));
    EXPECT_EQ(tookOn, main);
    EXPECT_NE(appliedOn, main);
    EXPECT_EQ(applied, "192.168.7.20");
    delete applier;

    RECT window;
    ::GetWindowRect(Form->Handle(), &window);
    ::SetCursorPos(window.right + 40, window.bottom + 40);
    TMessageThread watcher(Form->Handle(), [&] { leftOn = ::GetCurrentThreadId(); });
    watcher.Resume();
    ASSERT_TRUE(PumpUntil([&] { return leftOn != 0; }, 2000));
    EXPECT_EQ(leftOn, main);
    watcher.Suspend();
    ASSERT_TRUE(PumpUntil([&] { return watcher.Suspended(); }, 2000));
}

TEST_F(Frame, UnwritableSettingsFileEndsTheFirstStartAndThePollGoesOn)
{
    TProgramState& program = Form->Program;
    const std::string iniPath = program.WlanIniPath;
    program.WlanIniPath = program.ProgramFolder + "no such folder\\WLAN.INI"; // a write there fails
    Form->Defaults.First = 1;
    Form->UpdateTimerTimer(nullptr); // the first pass applies the default profile
    program.WlanIniPath = iniPath;
    EXPECT_TRUE(Harness::Seam().Boxes.empty());
    EXPECT_EQ(Form->Defaults.First, 0);
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_EQ(Form->UpdateTimer->Interval(), 2000u);
    EXPECT_TRUE(Form->CheckTimer->Enabled());
}

TEST_F(Frame, ChipsetCallsWaitOnTheWindowsQuittingFlag)
{
    WlanInfo info{};
    Form->Program.Quitting = true;
    EXPECT_FALSE(WlanCall(Chipset.WLAN_Get_Info, &info));
    EXPECT_EQ(WlanLinkSpeed(), 0);
    EXPECT_EQ(Harness::CallCount("WLAN_Get_Info") + Harness::CallCount("WLAN_Get_Link_Speed"), 0u);
    Form->Program.Quitting = false;
    EXPECT_TRUE(WlanCall(Chipset.WLAN_Get_Info, &info));
    WlanLinkSpeed();
    EXPECT_EQ(Harness::CallCount("WLAN_Get_Info"), 1u);
    EXPECT_EQ(Harness::CallCount("WLAN_Get_Link_Speed"), 1u);
}

TEST_F(Frame, ConnectNoticeCheckFiresOnceAndStaysOff)
{
    Form->ShowConnectNotice();
    EXPECT_TRUE(Form->ConnectCheckTimer->Enabled());
    EXPECT_EQ(Form->ConnectCheckTimer->Interval(), 100u);
    EXPECT_TRUE(PumpUntil([this] { return !Form->ConnectCheckTimer->Enabled(); }, 2000));
}

// A page button pressed while another switch pumps its messages is pressed
// once that switch is over: run inside it, it would leave two pages'
// controls on screen. So also during the switches to the link page that the
// poll's connect notice and the More Info and Back buttons make.
TEST_F(Frame, APageButtonPressedDuringASwitchIsPressedOnceItIsOver)
{
    Form->Img_LinkClick(nullptr);
    Harness::Pump();
    auto postClick = [](TImage* Picture) {
        const LPARAM at = MAKELPARAM(Picture->Left() + Picture->Width() / 2, Picture->Top() + Picture->Height() / 2);
        const HWND holder = Picture->Parent()->Handle();
        ::PostMessageA(holder, WM_MOUSEMOVE, 0, at);
        ::PostMessageA(holder, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(holder, WM_LBUTTONUP, 0, at);
    };
    auto settledOn = [this](Page P) {
        return PumpUntil([this, P] { return Form->Pages.CurrentPage == P && Form->Pages.PreviousPage == P; }, 10000);
    };
    TControl* const linkControls[] = {Form->Status_Img_SignalStreng, Form->Status_Img_LinkQuality,
                                      Form->Status_Lbl_SignalStrength, Form->Status_Lbl_State, Form->IPAddr,
                                      Form->Img_MissAP, Form->Img_Infrastrcture, Form->Pal_MoreInfo};
    auto onlySurveyShows = [&](const char* During) {
        EXPECT_EQ(Form->Pages.PreviousPage, Page::SiteSurvey) << During;
        EXPECT_EQ(Form->Pages.SelectedPageButton, PageButton::SiteSurvey) << During;
        EXPECT_EQ(Form->Pages.StatusImageId, IDB_STATUS_SURVEY) << During;
        EXPECT_TRUE(Form->Connections_LstV_APs->Visible()) << During;
        EXPECT_TRUE(Form->Survey_Lbl_NetworkType->Visible()) << During;
        for (TControl* c : linkControls) EXPECT_FALSE(c->Visible()) << During << ": " << c->Name;
    };

    const std::pair<const char*, std::function<void()>> linkSwitches[] = {
        {"the connect notice", [this] { Form->ShowConnectNotice(); }},
        {"More Info", [this] { Form->Btn_MoreInfoClick(nullptr); }},
        {"Back", [this] { Form->Btn_BackClick(nullptr); }},
    };
    for (const auto& linkSwitch : linkSwitches) {
        Form->Img_LinkClick(nullptr);
        ASSERT_TRUE(settledOn(Page::Link));
        postClick(Form->Img_SiteSurvey);
        linkSwitch.second(); // its first pump delivers the click
        ASSERT_TRUE(settledOn(Page::SiteSurvey)) << linkSwitch.first;
        onlySurveyShows(linkSwitch.first);
    }
    EXPECT_TRUE(Form->Pages.MoreInfoHidden); // Back ran

    // During a page button's own switch; the last button pressed wins.
    Form->Img_LinkClick(nullptr);
    ASSERT_TRUE(settledOn(Page::Link));
    postClick(Form->Img_Profiles);
    postClick(Form->Img_SiteSurvey);
    Form->Img_ProfilesClick(nullptr);
    ASSERT_TRUE(settledOn(Page::SiteSurvey));
    onlySurveyShows("the Profiles button");
    EXPECT_FALSE(Form->Profile_LstV_Profile1->Visible());

    Form->Img_LinkClick(nullptr);
    ASSERT_TRUE(settledOn(Page::Link));
}

// Whenever the window paints while the page buttons are pressed in quick
// succession, one tab is selected and the status panel is that tab's page;
// off the link page none of the link page's pictures shows.
TEST_F(Frame, EveryPaintDuringQuickPageClicksShowsOneTabWithItsOwnPage)
{
    Form->Img_LinkClick(nullptr);
    Form->Show();
    Harness::Pump();
    auto shows = [](TImage* Image, int32_t Id) {
        TBitmap expected;
        expected.LoadFromResourceID(::GetModuleHandleA(nullptr), Id);
        TBitmap* shown = Image->Picture()->Bitmap();
        if (shown->Width() != expected.Width() || shown->Height() != expected.Height()) return false;
        for (int y = 0; y < expected.Height(); y += 3)
            for (int x = 0; x < expected.Width(); x += 3)
                if (shown->Canvas()->Pixel(x, y) != expected.Canvas()->Pixel(x, y)) return false;
        return true;
    };
    struct Paint {
        int Tabs = 0, TabPage = -1, PanelPage = -1;
        bool LinkPictures = false;
    };
    static std::vector<Paint> paints;
    static WNDPROC formProc;
    static std::function<Paint()> look;
    paints.clear();
    look = [&] {
        Paint p;
        const std::pair<TImage*, int32_t> tabs[] = {
            {Form->Img_Link, IDB_TAB_LINK}, {Form->Img_SiteSurvey, IDB_TAB_SURVEY}, {Form->Img_Profiles, IDB_TAB_PROFILES}};
        for (int t = 0; t < 3; ++t)
            if (shows(tabs[t].first, tabs[t].second)) ++p.Tabs, p.TabPage = t;
        const int32_t panels[] = {IDB_STATUS_LINK, IDB_STATUS_SURVEY, IDB_STATUS_PROFILES};
        for (int t = 0; t < 3; ++t)
            if (shows(Form->Img_Status, panels[t])) p.PanelPage = t;
        for (TControl* c : std::initializer_list<TControl*>{Form->Img_MissAP, Form->Img_Adhoc, Form->Img_Infrastrcture,
                                                            Form->Img_MissInternet, Form->Pal_MoreInfo,
                                                            Form->Status_Img_SignalStreng})
            p.LinkPictures |= c->Visible();
        return p;
    };
    formProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        Form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
            if (Msg == WM_PAINT) paints.push_back(look());
            return ::CallWindowProcA(formProc, Wnd, Msg, W, L);
        })));
    auto postClick = [](TImage* Picture) {
        const LPARAM at = MAKELPARAM(Picture->Left() + Picture->Width() / 2, Picture->Top() + Picture->Height() / 2);
        const HWND holder = Picture->Parent()->Handle();
        ::PostMessageA(holder, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(holder, WM_LBUTTONUP, 0, at);
    };
    TImage* const buttons[] = {Form->Img_Link, Form->Img_SiteSurvey, Form->Img_Profiles};
    const int order[] = {1, 2, 0, 2, 1, 0, 1, 2, 1, 0};
    for (int b : order) {
        postClick(buttons[b]);
        PumpUntil([] { return false; }, 60);
    }
    EXPECT_TRUE(PumpUntil([this] { return Form->Pages.CurrentPage == Page::Link && !Form->Pages.Busy(); }, 10000));
    ::SetWindowLongPtrA(Form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProc));
    Form->Hide();

    ASSERT_GT(paints.size(), 10u);
    for (size_t i = 0; i < paints.size(); ++i) {
        const Paint& p = paints[i];
        EXPECT_EQ(p.Tabs, 1) << "paint " << i;
        EXPECT_EQ(p.TabPage, p.PanelPage) << "paint " << i;
        if (p.PanelPage != 0) {
            EXPECT_FALSE(p.LinkPictures) << "paint " << i << " of page " << p.PanelPage;
        }
    }
}

} // namespace
