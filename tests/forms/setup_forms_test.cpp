// The setup wizard's real windows inside a test program (Wine hides the
// pointer of one process from another, so the pointer cases run here): the
// hover groups with their pictures and sounds, dragging by bare skin, the
// pointer watcher, the pages' review, the waiting window's frames and the
// reader prompt's size. The program runs in the simulated disc's folder.
#include "dialog_user.h"
#include "setup/jpegimage.h"
#include "setup/unit1.h"
#include "setup/unit2.h"
#include "setup/unit3.h"
#include "setup/unit4.h"
#include "toolkit/application.h"
#include "toolkit/seam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

class Recorder : public TPlatformSeam {
public:
    std::vector<std::string> Sounds, Boxes;
    std::vector<UINT> Restarts;
    BOOL PlaySound(const std::string& FileName, DWORD) override
    {
        Sounds.push_back(FileName);
        return TRUE;
    }
    int MessageBox(HWND, const std::string& Text, const std::string& Caption, UINT) override
    {
        Boxes.push_back(Caption + ": " + Text);
        return IDOK;
    }
    BOOL ExitWindowsEx(UINT Flags) override
    {
        Restarts.push_back(Flags);
        return FALSE; // Windows refuses
    }
    // Opens nothing; the guide opens once GuideOpens is set.
    std::vector<std::string> Opened;
    bool GuideOpens = false;
    HINSTANCE ShellExecute(HWND, const std::string&, const std::string& File, const std::string&, const std::string&,
                           int) override
    {
        Opened.push_back(File);
        const bool guide = File == ".\\manual\\manual.pdf";
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(guide && !GuideOpens ? SE_ERR_NOASSOC : 42));
    }
    size_t Played(const std::string& Sound) const
    {
        return std::count(Sounds.begin(), Sounds.end(), ".\\image\\" + Sound);
    }
};

Recorder& Seam()
{
    static Recorder recorder;
    return recorder;
}

// Where the wizard stands on the shared screen: clear of the points where
// other test programs put the pointer.
constexpr int WizardLeft = 120, WizardTop = 300;

TForm1* Wizard()
{
    if (!Form1) {
        SetPlatform(&Seam());
        RegisterJpegFormat();
        Application->SetTitle("Wireless Network");
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);
        Form1->Show();
    }
    Form1->SetBounds(WizardLeft, WizardTop, 580, 435);
    return Form1;
}

bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds)
{
    for (const DWORD start = ::GetTickCount(); !Done(); ::Sleep(10)) {
        if (::GetTickCount() - start > Milliseconds) return false;
        Application->ProcessMessages();
    }
    return true;
}

// A bitmap of the screen's kind, selected into a device context of its own.
class TDrawing {
public:
    TDrawing(int Width, int Height)
    {
        HDC screen = ::GetDC(nullptr);
        Dc = ::CreateCompatibleDC(screen);
        Bitmap = ::CreateCompatibleBitmap(screen, Width, Height);
        ::ReleaseDC(nullptr, screen);
        Old = ::SelectObject(Dc, Bitmap);
    }
    ~TDrawing()
    {
        ::SelectObject(Dc, Old);
        ::DeleteObject(Bitmap);
        ::DeleteDC(Dc);
    }
    TDrawing(const TDrawing&) = delete;
    TDrawing& operator=(const TDrawing&) = delete;
    // How many pixels of the area are dark: the ink of the text there.
    int InkIn(const RECT& Area) const
    {
        int ink = 0;
        for (int y = Area.top; y < Area.bottom; ++y)
            for (int x = Area.left; x < Area.right; ++x) {
                const COLORREF c = ::GetPixel(Dc, x, y);
                ink += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
            }
        return ink;
    }
    HDC Dc;

private:
    HBITMAP Bitmap;
    HGDIOBJ Old;
};

// What a window paints in its client area, read back from its own painting.
std::unique_ptr<TDrawing> PrintedClient(TWinControl* Window)
{
    RECT r;
    ::GetClientRect(Window->Handle(), &r);
    auto drawing = std::make_unique<TDrawing>(r.right, r.bottom);
    ::SendMessageA(Window->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawing->Dc), PRF_CLIENT);
    return drawing;
}

COLORREF Painted(TWinControl* Window, int X, int Y) { return ::GetPixel(PrintedClient(Window)->Dc, X, Y); }

// The ink of a label's caption drawn in one line, in its font and colour,
// on a ground of one colour with room to spare.
int InkOfCaption(TLabel* Label, COLORREF Ground)
{
    const std::string text = Label->Caption();
    TDrawing drawing(1000, 40);
    RECT r{0, 0, 1000, 40};
    HBRUSH ground = ::CreateSolidBrush(Ground);
    ::FillRect(drawing.Dc, &r, ground);
    ::DeleteObject(ground);
    HGDIOBJ old = ::SelectObject(drawing.Dc, Label->Font()->Handle());
    ::SetTextColor(drawing.Dc, ColorToRGB(Label->Font()->Color()));
    ::SetBkMode(drawing.Dc, TRANSPARENT);
    ::DrawTextA(drawing.Dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
    ::SelectObject(drawing.Dc, old);
    return drawing.InkIn(r);
}

// A pixel of the picture that a (hidden) template holds.
COLORREF Template(TImage* Image, int X, int Y)
{
    auto* jpeg = dynamic_cast<TJPEGImage*>(Image->Picture()->Graphic());
    return jpeg ? jpeg->Bitmap()->Canvas()->Pixel(X, Y) : CLR_INVALID;
}

class WizardTest : public testing::Test {
protected:
    void SetUp() override
    {
        W = Wizard();
        // The watcher would clear the buttons whenever the pointer is elsewhere.
        W->FWatcher->Suspend();
        ASSERT_TRUE(PumpUntil([this] { return W->FWatcher->Suspended(); }, 2000));
        W->ShowPage(pgWelcome);
        W->ResetHoverGroups();
        Seam().Sounds.clear();
        Seam().Boxes.clear();
    }
    void TearDown() override { W->FWatcher->Resume(); }

    static void Move(TWinControl* Window, int X, int Y)
    {
        ::SendMessageA(Window->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
    }
    // The form's answer to a hit test at a point of the window.
    LRESULT HitTest(int X, int Y) const
    {
        RECT window;
        ::GetWindowRect(W->Handle(), &window);
        return ::SendMessageA(W->Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + X, window.top + Y));
    }

    // The review of an ad-hoc network of that SSID, all four rows shown;
    // LeaveReview goes back to an infrastructure network.
    void AdHocReview(const std::string& Ssid)
    {
        W->ShowPage(pgWirelessMode);
        W->SSID_EDIT->SetText(Ssid);
        W->RadioButton2->SetChecked(true);
        W->Image28Click(nullptr);
        W->Image36Click(nullptr);
        ASSERT_EQ(W->FPage, pgFinalize);
    }
    void LeaveReview()
    {
        W->Image30Click(nullptr);
        W->Image35Click(nullptr);
        W->RadioButton1->SetChecked(true);
    }

    TForm1* W = nullptr;
};

// A point of a 112 x 30 button, and of a title button, where its two pictures differ.
constexpr int ButtonX = 12, ButtonY = 15, TitleX = 6, TitleY = 14;

TEST_F(WizardTest, CloseButtonLightsAfterSetupAndLeavesSetupAsItIs)
{
    ASSERT_NE(Template(W->Image4, ButtonX, ButtonY), Template(W->Image12, ButtonX, ButtonY));
    ASSERT_NE(Template(W->Image_X_Change, TitleX, TitleY), Template(W->Image_XX, TitleX, TitleY));
    const COLORREF setupLit = Template(W->Image4, ButtonX, ButtonY);
    const COLORREF closeLit = Template(W->Image_X_Change, TitleX, TitleY);

    Move(W->Welcome_Panel, 56, 15);
    EXPECT_EQ(Painted(W->Welcome_Panel, ButtonX, ButtonY), setupLit);
    EXPECT_EQ(Seam().Played("change.wav"), 1u);

    Move(W, 536 + TitleX, 6 + TitleY); // the title strip: the form's own pointer
    EXPECT_EQ(Painted(W, 536 + TitleX, 6 + TitleY), closeLit);
    EXPECT_EQ(Painted(W->Welcome_Panel, ButtonX, ButtonY), setupLit);
    EXPECT_EQ(Seam().Played("change.wav"), 2u);
    Move(W, 536 + TitleX + 3, 6 + TitleY);
    EXPECT_EQ(Seam().Played("change.wav"), 2u); // once per arrival

    // Bare skin puts both back, without a sound on the Welcome page.
    EXPECT_EQ(HitTest(300, 300), HTCAPTION);
    EXPECT_EQ(Painted(W->Welcome_Panel, ButtonX, ButtonY), Template(W->Image12, ButtonX, ButtonY));
    EXPECT_EQ(Painted(W, 536 + TitleX, 6 + TitleY), Template(W->Image_XX, TitleX, TitleY));
    EXPECT_EQ(Seam().Played("change.wav"), 2u);
}

TEST_F(WizardTest, CongratulationsExitLightsAndChimesOnEachArrival)
{
    W->ShowPage(pgCongratulations);
    const COLORREF lit = Template(W->Image41, ButtonX, ButtonY), normal = Template(W->Image45, ButtonX, ButtonY);
    ASSERT_NE(lit, normal);
    EXPECT_EQ(Painted(W->Panel6, ButtonX, ButtonY), normal);
    Move(W->Panel6, 56, 16);
    EXPECT_EQ(Painted(W->Panel6, ButtonX, ButtonY), lit);
    EXPECT_EQ(Seam().Played("change.wav"), 1u);
    Move(W->Panel6, 60, 16);
    EXPECT_EQ(Seam().Played("change.wav"), 1u);
    EXPECT_EQ(HitTest(300, 300), HTCAPTION);
    EXPECT_EQ(Painted(W->Panel6, ButtonX, ButtonY), normal);
    Move(W->Panel6, 56, 16);
    EXPECT_EQ(Seam().Played("change.wav"), 2u);
}

TEST_F(WizardTest, PagesWithASoundOnBareSkinPlayItWhenAButtonGoesOut)
{
    W->ShowPage(pgWirelessMode);
    Move(W->WirelessMode_Panel, 56, 15); // Next
    EXPECT_EQ(HitTest(300, 150), HTCAPTION);
    EXPECT_EQ(HitTest(300, 160), HTCAPTION); // nothing lit any more: silent
    EXPECT_EQ(Seam().Played("change.wav"), 2u);
    W->ShowPage(pgLicense);
    Move(W->License_Panel, 56, 45); // Cancel
    EXPECT_EQ(HitTest(300, 150), HTCAPTION);
    EXPECT_EQ(Seam().Played("change.wav"), 3u);
}

TEST_F(WizardTest, ButtonsShowTheHandCursor)
{
    RECT window;
    ::GetWindowRect(W->Handle(), &window);
    ::SetCursorPos(window.left + 550, window.top + 20);
    EXPECT_TRUE(::SendMessageA(W->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(W->Handle()),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), Screen->Cursors(crHandPoint));
    ::SetCursorPos(window.left + 453 + 56, window.top + 260 + 45); // User Guide
    HWND panel = W->Welcome_Panel->Handle();
    EXPECT_TRUE(::SendMessageA(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), Screen->Cursors(crHandPoint));
}

TEST_F(WizardTest, DragsFromEveryBarePointButNotFromTheTitleStripOrThePanels)
{
    for (TSetupPage page : {pgWelcome, pgLicense, pgFinalize}) {
        W->ShowPage(page);
        for (int y = 1; y < 430; y += 11)
            for (int x = 1; x < 580; x += 11) {
                HWND child = ::ChildWindowFromPointEx(W->Handle(), POINT{x, y}, CWP_SKIPINVISIBLE);
                RECT window;
                ::GetWindowRect(W->Handle(), &window);
                const LPARAM at = MAKELPARAM(window.left + x, window.top + y);
                if (child != W->Handle()) { // a child window answers for itself
                    EXPECT_NE(::SendMessageA(child, WM_NCHITTEST, 0, at), HTCAPTION) << page << ": " << x << "," << y;
                } else {
                    const bool strip = x > 485 && y > 0 && y < 40;
                    EXPECT_EQ(HitTest(x, y), strip ? HTCLIENT : HTCAPTION) << page << ": " << x << "," << y;
                }
            }
    }
    // The strip's buttons take clicks: minimize takes the wizard with the application.
    W->ShowPage(pgWelcome);
    ::SendMessageA(W->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(510, 20));
    ::SendMessageA(W->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(510, 20));
    EXPECT_TRUE(PumpUntil([this] { return !::IsWindowVisible(W->Handle()); }, 2000));
    EXPECT_TRUE(::IsIconic(Application->Handle()));
    ::ShowWindow(Application->Handle(), SW_RESTORE);
    EXPECT_TRUE(PumpUntil([this] { return ::IsWindowVisible(W->Handle()) != FALSE; }, 2000));
}

TEST_F(WizardTest, HitTestsLeftOfAndAboveThePrimaryMonitorKeepTheirSign)
{
    W->SetBounds(-450, -200, 580, 435);
    EXPECT_EQ(HitTest(300, 300), HTCAPTION); // at (-150, 100)
    EXPECT_EQ(HitTest(300, 20), HTCAPTION);  // at (-150, -180)
    EXPECT_EQ(HitTest(540, 20), HTCLIENT);   // at (90, -180): the title strip
    EXPECT_EQ(HitTest(540, 60), HTCAPTION);  // at (90, -140): below it
    W->SetBounds(WizardLeft, WizardTop, 580, 435);
}

TEST_F(WizardTest, LeavingTheWindowPutsTheLitButtonBackWithinTheWatchersBeat)
{
    W->FWatcher->Resume();
    RECT window;
    ::GetWindowRect(W->Handle(), &window);
    ::SetCursorPos(window.left + 453 + 56, window.top + 260 + 15);
    Move(W->Welcome_Panel, 56, 15);
    const COLORREF lit = Template(W->Image4, ButtonX, ButtonY), normal = Template(W->Image12, ButtonX, ButtonY);
    ASSERT_EQ(Painted(W->Welcome_Panel, ButtonX, ButtonY), lit);

    ::SetCursorPos(window.right + 40 < 1000 ? 1000 : window.right + 40, 10);
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return Painted(W->Welcome_Panel, ButtonX, ButtonY) == normal; }, 3000));
    EXPECT_LT(::GetTickCount() - start, 700u);
    EXPECT_EQ(W->Welcome.Hover, THoverGroup::None);
}

TEST_F(WizardTest, ReviewShowsWhatWillBeWritten)
{
    W->ShowPage(pgWirelessMode);
    W->RadioButton1->SetChecked(true);
    W->SSID_EDIT->SetText("");
    W->Image28Click(nullptr);
    EXPECT_EQ(Seam().Boxes, std::vector<std::string>{
                                "Wireless Network: Please key in a SSID to config the wireless network setting"});
    EXPECT_EQ(W->FPage, pgWirelessMode);

    W->SSID_EDIT->SetText("Harbour");
    ::SendMessageA(W->SSID_EDIT->Handle(), WM_KEYDOWN, VK_RETURN, 0); // Enter is Next
    EXPECT_EQ(W->FPage, pgFinalize);
    EXPECT_EQ(W->Label5->Caption(), "Infrastructure");
    EXPECT_EQ(W->Label6->Caption(), "Harbour");
    EXPECT_EQ(W->Label7->Caption(), "Auto");
    EXPECT_FALSE(W->Label4->Visible());
    EXPECT_FALSE(W->Label8->Visible());
    EXPECT_EQ(W->FDefaultMode, 1);

    W->Image30Click(nullptr); // back to Wireless Mode, then ad-hoc
    EXPECT_EQ(W->FPage, pgWirelessMode);
    W->RadioButton2->SetChecked(true);
    W->Image28Click(nullptr);
    EXPECT_EQ(W->FPage, pgAdHoc);
    EXPECT_EQ(W->Label5->Caption(), "Ad-Hoc");
    W->Channel_Combo->SetItemIndex(-1);
    W->NetworkMode_Combo->SetItemIndex(1);
    W->Image36Click(nullptr);
    EXPECT_EQ(W->FPage, pgFinalize);
    EXPECT_EQ(W->FDefaultChannel, 11);
    EXPECT_EQ(W->Label7->Caption(), "11");
    EXPECT_EQ(W->Label8->Caption(), "G-Only Mode");
    EXPECT_TRUE(W->Label4->Visible());
    EXPECT_TRUE(W->Label8->Visible());

    // Ad-hoc, Back, Infrastructure, Next: channel 6, and the network mode stays.
    W->Image30Click(nullptr);
    EXPECT_EQ(W->FPage, pgAdHoc);
    W->Image35Click(nullptr);
    W->RadioButton1->SetChecked(true);
    W->Image28Click(nullptr);
    EXPECT_EQ(W->FPage, pgFinalize);
    EXPECT_EQ(W->FDefaultChannel, 6);
    EXPECT_EQ(W->FDefaultGoo, 1);
    EXPECT_EQ(W->Label7->Caption(), "Auto");
    EXPECT_FALSE(W->Label8->Visible());
    W->Channel_Combo->SetItemIndex(5);
    W->NetworkMode_Combo->SetItemIndex(0);
    W->FDefaultGoo = 0;
}

// The review's captions end in one line, clear of the values, which start
// in one line, all inside the review's box (136 to 430), the longest SSID
// too: each caption is as wide as its text in the font at hand.
TEST_F(WizardTest, ReviewCaptionsAndValuesStandInTwoClearColumns)
{
    AdHocReview(std::string(32, 'W'));
    const std::pair<TLabel*, TLabel*> rows[] = {
        {W->Label1, W->Label5}, {W->Label2, W->Label6}, {W->Label3, W->Label7}, {W->Label4, W->Label8}};
    for (const auto& row : rows) {
        EXPECT_TRUE(row.first->Visible() && row.second->Visible()) << row.first->Name;
        EXPECT_EQ(row.first->Left() + row.first->Width(), W->Label1->Left() + W->Label1->Width()) << row.first->Name;
        EXPECT_EQ(row.second->Left(), W->Label5->Left()) << row.second->Name;
        EXPECT_GE(row.second->Left() - (row.first->Left() + row.first->Width()), 6) << row.first->Name;
        EXPECT_EQ(row.second->Top(), row.first->Top()) << row.first->Name;
        EXPECT_GE(row.first->Left(), 136 + 6) << row.first->Name;
    }
    // No ink of the SSID's row from the box's inner edge to beyond its frame.
    for (int y = W->Label6->Top(); y < W->Label6->Top() + W->Label6->Height(); ++y)
        for (int x = 424; x < 440; ++x) {
            const COLORREF c = Painted(W, x, y);
            EXPECT_GT(GetRValue(c) + GetGValue(c) + GetBValue(c), 3 * 160) << x << "," << y;
        }
    LeaveReview();
}

// The review is there to be checked: an SSID of 32 characters, of the
// widest letter, shows whole in two lines, and the rows under it move down
// and still end inside the review's box (its inside ends at 363).
TEST_F(WizardTest, ReviewShowsTheWholeOfTheLongestSsid)
{
    AdHocReview(std::string(32, 'W'));
    // The SSID as one line of the review's font on the box's ground, right
    // of where its lines end.
    const int whole = InkOfCaption(W->Label6, Painted(W, 426, W->Label6->Top() + 1));
    ASSERT_GT(whole, 0);
    // All of it between the SSID's top and the next row, in the value column.
    const int shown = PrintedClient(W)->InkIn(RECT{W->Label6->Left(), W->Label6->Top(), 430, W->Label7->Top()});
    EXPECT_GE(shown, whole * 97 / 100);
    EXPECT_LE(shown, whole * 103 / 100);
    EXPECT_GE(W->Label7->Top(), W->Label6->Top() + W->Label6->Height());
    EXPECT_GE(W->Label8->Top(), W->Label7->Top() + W->Label7->Height());
    EXPECT_LE(W->Label8->Top() + W->Label8->Height(), 363);
    LeaveReview();
}

// The infrastructure path skips the ad-hoc page: the step lists of the
// review and of the last page do not show that step done.
TEST_F(WizardTest, TheAdHocStepShowsDoneOnlyOnTheAdHocPath)
{
    W->ShowPage(pgWirelessMode);
    W->SSID_EDIT->SetText("Harbour");
    W->RadioButton1->SetChecked(true);
    W->Image28Click(nullptr);
    ASSERT_EQ(W->FPage, pgFinalize);
    EXPECT_TRUE(W->Image_StepSkipped->Visible());
    W->ShowPage(pgCongratulations);
    EXPECT_TRUE(W->Image_StepSkipped->Visible());

    W->ShowPage(pgWirelessMode);
    W->RadioButton2->SetChecked(true);
    W->Image28Click(nullptr);
    EXPECT_FALSE(W->Image_StepSkipped->Visible()); // the ad-hoc page itself
    W->Image36Click(nullptr);
    ASSERT_EQ(W->FPage, pgFinalize);
    EXPECT_FALSE(W->Image_StepSkipped->Visible());
    W->ShowPage(pgCongratulations);
    EXPECT_FALSE(W->Image_StepSkipped->Visible());
    W->ShowPage(pgWirelessMode);
    W->RadioButton1->SetChecked(true);
}

TEST_F(WizardTest, SetupLeadsToTheLicenceShownAsRichText)
{
    W->Image3Click(nullptr);
    EXPECT_EQ(W->FPage, pgLicense);
    EXPECT_FALSE(W->Image43->Visible()); // minimize belongs to the Welcome page
    EXPECT_TRUE(W->Image_X->Visible());
    EXPECT_TRUE(W->RichEdit1->Focused());
    char text[200] = {};
    ::SendMessageA(W->RichEdit1->Handle(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::string(text).rfind("Vantra Software Licence Agreement", 0), 0u) << text;
    EXPECT_EQ(Seam().Played("click.wav"), 1u);
}

// The licence text keeps neither Enter nor Tab, as no field of the other
// pages does: Tab moves the focus out of it to the page's buttons and back,
// where the text is as it was left, and Enter goes on with the page's first
// button.
TEST_F(WizardTest, EnterAndTabLeaveTheLicenceText)
{
    auto place = [this] {
        DWORD start = 0, end = 0;
        ::SendMessageA(W->RichEdit1->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return std::make_pair(start, end);
    };
    W->Image3Click(nullptr);
    ASSERT_TRUE(W->RichEdit1->Focused());
    const auto left = place();
    User::Chord(0, VK_TAB);
    EXPECT_TRUE(W->License_Panel->Focused());
    EXPECT_EQ(W->FPage, pgLicense);
    User::Chord(0, VK_TAB);
    EXPECT_TRUE(W->RichEdit1->Focused());
    EXPECT_EQ(place(), left);

    User::Chord(0, VK_RETURN);
    EXPECT_EQ(W->FPage, pgWirelessMode);
    EXPECT_TRUE(W->SSID_EDIT->Focused());
}

TEST(SmallWindows, WaitingWindowShowsOneOfFourFramesAtATime)
{
    Wizard();
    EXPECT_EQ(Form3->Width(), Form3->Image1->Width());
    EXPECT_EQ(Form3->Height(), Form3->Image1->Height());
    EXPECT_TRUE(Form3->Timer1->Enabled());
    EXPECT_EQ(Form3->Timer1->Interval(), 600u);
    for (int tick = 0; tick < 5; ++tick) {
        const int frame = Form3->Frame;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Form3->Img_V[i]->Visible(), i == frame - 1) << tick;
            EXPECT_EQ(Form3->Img_P[i]->Visible(), i == frame - 1) << tick;
        }
        Form3->Timer1Timer(nullptr);
        EXPECT_EQ(Form3->Frame, frame % 4 + 1);
    }
}

TEST(SmallWindows, ReaderPromptFollowsTheScreensPixelsPerInch)
{
    Wizard();
    EXPECT_EQ(ScaledToScreen(359, 96), 359);
    EXPECT_EQ(ScaledToScreen(172, 96), 172);
    EXPECT_EQ(ScaledToScreen(359, 144), 538);
    EXPECT_EQ(ScaledToScreen(172, 144), 258);
    if (Screen->PixelsPerInch() == 96) {
        RECT frame;
        ::GetWindowRect(Form4->Handle(), &frame);
        EXPECT_EQ(frame.right - frame.left, 359);
        EXPECT_EQ(frame.bottom - frame.top, 172);
    }
}

TEST(SmallWindows, ReaderPromptOkStartsTheReaderAndTriesTheGuideEverySecondUntilItOpens)
{
    Wizard();
    Seam().Opened.clear();
    Form4->Button1Click(nullptr);
    EXPECT_EQ(Seam().Opened, std::vector<std::string>{".\\Acrobat Reader 5.0\\AR500ENU.EXE"});
    EXPECT_TRUE(Form4->Timer1->Enabled());
    EXPECT_EQ(Form4->Timer1->Interval(), 1000u);
    Form4->Timer1Timer(nullptr);
    EXPECT_TRUE(Form4->Timer1->Enabled()); // no reader yet
    Seam().GuideOpens = true;
    Form4->Timer1Timer(nullptr);
    EXPECT_FALSE(Form4->Timer1->Enabled());
    EXPECT_EQ(std::count(Seam().Opened.begin(), Seam().Opened.end(), ".\\manual\\manual.pdf"), 2);
    Seam().GuideOpens = false;
}

TEST(SmallWindows, RestartRefusedByWindowsLeavesThePromptOpen)
{
    Wizard();
    Form2->Show();
    Form2->Button1Click(nullptr);
    EXPECT_EQ(Seam().Restarts, std::vector<UINT>{EWX_REBOOT});
    EXPECT_TRUE(Form2->Visible());
    EXPECT_FALSE(Application->Terminated);
    Form2->Hide();
}

} // namespace
