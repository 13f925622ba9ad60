// The Site Survey page of the real main window over the stand-in chipset
// library: the refresh and its list, the current link added, marked and
// kept selected, the failed mark, the survey state ended on every way out,
// refreshes started inside running ones, a crowded world and SSIDs that
// hold quotes, commas and high bytes.
#include "mainfrm_harness.h"
#include "vantra/drivers/bindings.h"
#include "vantra/drivers/record_text.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/timer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace {

using Harness::CallCount;

struct CellSpec {
    std::string Ssid, Bssid;
    int Signal = 50, Mode = 1, Channel = 6, Band = 0, Wep = 0, Turbo = 0;
};

std::string ReadWorld()
{
    std::ifstream in(Harness::WorldPath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWorld(const std::string& Text)
{
    std::ofstream(Harness::WorldPath(), std::ios::binary | std::ios::trunc) << Text;
}

// The world's cells replaced; everything before them is kept.
void SetCells(const std::vector<CellSpec>& Cells)
{
    std::string text = ReadWorld();
    text.erase(text.find("[Cell1]"));
    int n = 0;
    for (const CellSpec& c : Cells) {
        std::ostringstream cell;
        cell << "[Cell" << ++n << "]\r\nSSID=" << c.Ssid << "\r\nBSSID=" << c.Bssid << "\r\nMode=" << c.Mode
             << "\r\nChannel=" << c.Channel << "\r\nBand=" << c.Band << "\r\nSignal=" << c.Signal
             << "\r\nWep=" << c.Wep << "\r\nKey=" << (c.Wep ? "0102030405" : "") << "\r\nTurbo=" << c.Turbo << "\r\n\r\n";
        text += cell.str();
    }
    WriteWorld(text);
}

std::string Bssid(int N) { return Format("02-5A-%02X-%02X-10-%02X", N / 256, N % 256, N % 97); }

// A crowd of access points named "ap<N>", signals 30 to 79 over and over.
std::vector<CellSpec> Crowd(int Count)
{
    std::vector<CellSpec> cells;
    for (int i = 1; i <= Count; ++i) cells.push_back({"ap" + std::to_string(i), Bssid(i), 30 + i % 50});
    return cells;
}

void Join(const std::string& Ssid, uint8_t Mode)
{
    WlanInfo info{};
    info.OperatingModeID = Mode;
    info.SSID_length = static_cast<uint8_t>(Ssid.size());
    std::memcpy(info.SSID, Ssid.data(), Ssid.size());
    SetConfigDefaults(&info);
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Set_Config, &info));
}

// Samples, every few milliseconds while it runs, what a handler started
// inside the code under test would see.
class Probe {
public:
    explicit Probe(std::function<bool()> Sample) : Timer(nullptr), Sample(std::move(Sample))
    {
        Timer.SetInterval(10);
        Timer.OnTimer = [this](TObject*) {
            if (this->Sample()) Timer.SetEnabled(false);
        };
    }

private:
    TTimer Timer;
    std::function<bool()> Sample;
};

class SurveyPage : public testing::Test {
protected:
    void SetUp() override
    {
        Form = Harness::Form();
        static const std::string original = ReadWorld();
        Original = original;
        Harness::Reset();
        Form->Connections_LstV_APs->Items()->Clear();
        Form->Survey.SurveyCount = 0;
        Form->Survey.MarkWaitCount = 0;
        Form->Survey.SelectedRowIndex = -1;
        Form->ShowSurveyPage();
    }
    void TearDown() override
    {
        StopTimers();
        WriteWorld(Original);
        Harness::Reset();
    }
    void StopTimers()
    {
        for (TTimer* timer : {Form->UpdateTimer, Form->CheckTimer, Form->ConnectCheckTimer}) timer->SetEnabled(false);
    }
    void Refresh()
    {
        Form->Connections_RefreshBtnClick(Form->Connections_RefreshBtn);
        StopTimers();
    }
    TListItems* Rows() { return Form->Connections_LstV_APs->Items(); }
    std::vector<std::string> Captions()
    {
        std::vector<std::string> captions;
        for (int i = 0; i < Rows()->Count(); ++i) captions.push_back(Rows()->Item(i)->Caption());
        return captions;
    }
    int RowOf(const std::string& Caption)
    {
        for (int i = 0; i < Rows()->Count(); ++i)
            if (Rows()->Item(i)->Caption() == Caption) return i;
        return -1;
    }
    std::string Labels()
    {
        return Form->Survey_Lbl_NetworkType->Caption() + "|" + Form->Survey_Lbl_Channel->Caption() + "|" +
               Form->Survey_Lbl_WEP->Caption() + "|" + Form->Survey_Lbl_MAC->Caption();
    }
    std::string Tip(int Row)
    {
        std::string tip;
        Form->Connections_LstV_APs->OnInfoTip(Form->Connections_LstV_APs, Row < 0 ? nullptr : Rows()->Item(Row), tip);
        return tip;
    }

    TMainFrm* Form = nullptr;
    std::string Original;
};

const std::vector<CellSpec> Neighbourhood = {
    {"mirelow-office", "02-24-B2-05-6C-D1", 41, 1, 1, 0, 2},
    {"tarvane", "02-0F-3D-4A-11-20", 82, 1, 11},
    {"orsa-5g", "02-3A-71-D2-0F-66", 12, 1, 36, 1},
    {"lanparty", "02-48-C9-33-A1-0E", 30, 0, 3},
    {"Cafe Lumen", "02-30-5A-88-19-E4", 23, 1, 6, 0, 0, 1},
    {"Kestrel-Home", "02-1C-10-7E-42-93", 64, 1, 6, 2, 1},
    {"wepparty", "02-48-C9-33-A1-0F", 5, 0, 9, 0, 1},
};

TEST_F(SurveyPage, RefreshListsTheNeighbourhoodStrongestFirst)
{
    SetCells(Neighbourhood);
    bool searchShown = false;
    RECT searchAt{};
    int searchWidth = 0;
    {
        Probe probe([&] {
            if (Form->Survey.ListUse != SurveyListUse::Refresh || !Form->Pal_Search->Visible()) return false;
            searchShown = true;
            TPanel* panel = Form->Pal_Search;
            searchAt = RECT{panel->Left(), panel->Top(), panel->Left() + panel->Width(), panel->Top() + panel->Height()};
            searchWidth = Form->Img_Search->Picture()->Width();
            return true;
        });
        Form->Connections_RefreshBtnClick(Form->Connections_RefreshBtn);
    }
    EXPECT_EQ(CallCount("WLAN_Get_Site_Survey"), 1u);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"tarvane", "Kestrel-Home", "mirelow-office", "lanparty",
                                                    "Cafe Lumen", "orsa-5g", "wepparty"}));

    // The search picture showed over the list while the survey ran, and went.
    EXPECT_TRUE(searchShown);
    EXPECT_EQ(searchAt.left, 40 + 60);
    EXPECT_EQ(searchAt.top, 230 + 38);
    EXPECT_EQ(searchWidth, 80);
    EXPECT_EQ(searchAt.right - searchAt.left, 80);
    EXPECT_FALSE(Form->Pal_Search->Visible());

    // Sub-items and pictures of the rows.
    auto subItems = [this](int Row) {
        std::string all;
        for (int i = 0; i < 5; ++i) all += Rows()->Item(Row)->SubItems()->Get(i) + (i < 4 ? "," : "");
        return all;
    };
    EXPECT_EQ(subItems(0), "B,Good,02-0F-3D-4A-11-20,1,0");
    EXPECT_EQ(subItems(1), "A,Good,02-1C-10-7E-42-93,1,1");
    EXPECT_EQ(subItems(2), "B,Fair,02-24-B2-05-6C-D1,1,1");
    EXPECT_EQ(subItems(3), "B,Fair,02-48-C9-33-A1-0E,0,0");
    EXPECT_EQ(subItems(5), "A,Poor,02-3A-71-D2-0F-66,1,0");
    const int pictures[] = {0, 3, 3, 6, 0, 0, 9};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(Rows()->Item(i)->ImageIndex(), pictures[i]) << i;

    // Tooltips; none for no row.
    EXPECT_EQ(Tip(1), "\n    SSID:Kestrel-Home    \n    Infrastructure    \n    Wep Enabled    \n"
                      "    BSSID:02-1C-10-7E-42-93    \n");
    EXPECT_EQ(Tip(-1), "");

    // Choosing a row shows its details from its log line.
    Rows()->Item(4)->SetSelected(true);
    EXPECT_EQ(Labels(), "Infrastructure|6|WEP Disabled|02-30-5A-88-19-E4");
    EXPECT_TRUE(std::regex_match(Form->Survey_Lbl_STime->Caption(), std::regex("[ 1][0-9]:[0-5][0-9]:[0-5][0-9] [AP]M")))
        << Form->Survey_Lbl_STime->Caption();
    EXPECT_TRUE(std::regex_match(Form->Survey.SurveyLogLines[4],
                                 std::regex("\"Cafe Lumen\",\"Infrastructure\",\"6\",\"WEP Disabled\",\"Turbo Enabled\","
                                            "\"02-30-5A-88-19-E4\",\"[ 1][0-9]:[0-5][0-9]:[0-5][0-9] [AP]M\"")))
        << Form->Survey.SurveyLogLines[4];
    Rows()->Item(3)->SetSelected(true);
    EXPECT_EQ(Labels(), "AdHoc|3|WEP Disabled|02-48-C9-33-A1-0E");
    // Each label has room for its whole text.
    for (TLabel* label : {Form->Survey_Lbl_NetworkType, Form->Survey_Lbl_Channel, Form->Survey_Lbl_WEP,
                          Form->Survey_Lbl_MAC, Form->Survey_Lbl_STime}) {
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, label->Font()->Handle());
        SIZE text{};
        ::GetTextExtentPoint32A(dc, label->Caption().c_str(), static_cast<int>(label->Caption().size()), &text);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        EXPECT_GE(label->Width(), text.cx) << label->Name;
        EXPECT_GE(label->Height(), text.cy) << label->Name;
    }

    // Afterwards: the sound, the buttons, the timers and the tray's state.
    EXPECT_EQ(Harness::Seam().Sounds, std::vector<std::string>{"Sound\\click.wav"});
    EXPECT_FALSE(Form->Survey.SurveyInProgress);
    EXPECT_TRUE(Form->Survey.ConnectPending);
    EXPECT_TRUE(Form->Connections_RefreshBtn->Enabled());
    EXPECT_TRUE(Form->Connections_ConnectBtn->Enabled());
    EXPECT_TRUE(Form->UpdateTimer->Enabled());
    EXPECT_TRUE(Form->CheckTimer->Enabled());
    EXPECT_TRUE(Form->ConnectCheckTimer->Enabled());
    EXPECT_EQ(Form->ConnectCheckTimer->Interval(), 300u);
}

// The list's pictures, drawn as the list draws them: the mark's badge at the
// top right, the padlock at the bottom right, the rest of the corner masked.
TEST_F(SurveyPage, RowPicturesShowMarkAndPadlock)
{
    TImageList* pictures = Form->ImgLst_OpratingMode;
    ASSERT_EQ(pictures->Count(), 12);
    TBitmap canvas;
    canvas.SetPixelFormat(pf24bit);
    canvas.SetSize(16, 16);
    const RECT all{0, 0, 16, 16};
    for (int i = 0; i < 12; ++i) {
        canvas.Canvas()->Brush()->SetColor(clWhite);
        canvas.Canvas()->FillRect(all);
        pictures->Draw(canvas.Canvas(), 0, 0, i);
        const TColor badge = canvas.Canvas()->Pixel(13, 2), lock = canvas.Canvas()->Pixel(13, 13);
        const TColor expectedBadge = i % 3 == 0 ? clWhite : i % 3 == 1 ? 0x3B42C8 : 0x5B9E2E; // BGR
        EXPECT_EQ(badge, expectedBadge) << "picture " << i;
        EXPECT_EQ(lock, (i / 3) % 2 ? 0x083A5A : clWhite) << "picture " << i;
    }
}

// A world of 150 access points: the library reports 100, the link beyond
// them is added, and the list keeps the 100 strongest of the 101.
TEST_F(SurveyPage, ACrowdedWorldKeepsTheStrongestAndAddsTheLink)
{
    std::vector<CellSpec> cells = Crowd(150);
    cells[99].Signal = 5; // ap100, the weakest the library reports
    cells.back() = {"far-but-loud", Bssid(150), 95};
    SetCells(cells);
    Join("far-but-loud", 1);
    Refresh();

    EXPECT_EQ(Form->Survey.SurveyCount, 101);
    ASSERT_EQ(Rows()->Count(), SurveyListRows);
    EXPECT_EQ(Rows()->Item(0)->Caption(), "far-but-loud");
    EXPECT_EQ(Rows()->Item(0)->SubItems()->Get(2), Bssid(150));
    EXPECT_EQ(Rows()->Item(0)->ImageIndex(), 2); // marked connected
    EXPECT_TRUE(Rows()->Item(0)->Selected());
    EXPECT_TRUE(Rows()->Item(0)->Focused());
    EXPECT_EQ(RowOf("ap100"), -1);
    EXPECT_NE(RowOf("ap99"), -1);
    for (int i = 1; i < Rows()->Count(); ++i)
        EXPECT_EQ(Rows()->Item(i)->ImageIndex(), 0) << Rows()->Item(i)->Caption();
    Rows()->Item(99)->SetSelected(true);
    EXPECT_EQ(Form->Survey_Lbl_MAC->Caption(), Rows()->Item(99)->SubItems()->Get(2));
}

// Infrastructure links are told by BSSID, ad-hoc links by SSID; the check
// timer brings the link's row back into view and selection.
TEST_F(SurveyPage, ALinkBeyondTheSurveyIsAddedAndKeptInView)
{
    std::vector<CellSpec> cells = Crowd(120);
    cells[110] = {"cellar", Bssid(111), 45, 0, 4};
    SetCells(cells);
    Join("cellar", 0);
    Refresh();
    const int row = RowOf("cellar");
    ASSERT_GT(row, 10);
    EXPECT_EQ(Rows()->Item(row)->ImageIndex(), 8); // ad hoc, connected
    EXPECT_EQ(Rows()->Item(row)->SubItems()->Get(3), "0");

    Form->Show();
    Rows()->Item(0)->SetSelected(true);
    Form->Link.CurrentLinkInfo.StationState = WLAN_STATION_STATE_READY;
    Form->CheckTimerTimer(nullptr);
    EXPECT_TRUE(Rows()->Item(row)->Selected());
    EXPECT_EQ(Form->Survey.SelectedRowIndex, row);
    EXPECT_TRUE(Form->CheckTimer->Enabled());
    Form->CheckTimer->SetEnabled(false);
    Form->CheckTimerTimer(nullptr); // scrolls the selected row to the top
    Harness::Pump();
    const int top = Form->Connections_LstV_APs->TopItem()->Index();
    EXPECT_LE(top, row);
    EXPECT_LT(row, top + 5);

    // A click on a row leaves the selection to the user.
    Form->Connections_LstV_APs->OnClick(Form->Connections_LstV_APs);
    EXPECT_FALSE(Form->CheckTimer->Enabled());
    EXPECT_EQ(Form->CheckTimer->Interval(), 5000u);
}

TEST_F(SurveyPage, ALinkThatNeverComesUpIsMarkedFailedAfterTwentyPasses)
{
    SetCells(Neighbourhood);
    Harness::SetWorld("World", "JoinMs", "100000000");
    Join("lanparty", 0);
    Refresh(); // the first pass
    const int row = RowOf("lanparty");
    ASSERT_NE(row, -1);
    EXPECT_EQ(Form->Survey.MarkWaitCount, 1);
    for (int pass = 2; pass < 20; ++pass) Form->MarkSurveyEntries();
    EXPECT_EQ(Rows()->Item(row)->ImageIndex(), 6);
    EXPECT_TRUE(Form->Survey.ConnectPending);

    const DWORD start = ::GetTickCount();
    Form->MarkSurveyEntries(); // the twentieth
    EXPECT_GE(::GetTickCount() - start, 490u);
    EXPECT_EQ(Rows()->Item(row)->ImageIndex(), 7);
    EXPECT_FALSE(Form->Survey.ConnectPending);
    EXPECT_EQ(Form->Survey.MarkWaitCount, 0);
    EXPECT_FALSE(Rows()->Item(row)->Selected());

    // The link comes up: marked connected and selected.
    Harness::SetWorld("World", "JoinMs", "0");
    Form->Survey.ConnectPending = true;
    Form->MarkSurveyEntries();
    EXPECT_EQ(Rows()->Item(row)->ImageIndex(), 8);
    EXPECT_TRUE(Rows()->Item(row)->Selected());
    EXPECT_FALSE(Form->Survey.ConnectPending);

    // The reset before every connect takes the connected mark off.
    Form->ResetSurveyImages();
    EXPECT_EQ(Rows()->Item(row)->ImageIndex(), 6);
}

TEST_F(SurveyPage, SurveyStateEndsOnEveryWayOut)
{
    SetCells(Neighbourhood);
    // Not on the survey page.
    Form->Pages.CurrentPage = Page::Link;
    Form->Survey.SurveyInProgress = true;
    Form->RefreshSiteSurvey();
    EXPECT_FALSE(Form->Survey.SurveyInProgress);
    Form->Pages.CurrentPage = Page::SiteSurvey;

    // The library fails: nothing heard, nothing stale shown.
    Refresh();
    ASSERT_EQ(Rows()->Count(), 7);
    Harness::SetWorld("World", "Fail", "WLAN_Get_Site_Survey");
    Refresh();
    EXPECT_FALSE(Form->Survey.SurveyInProgress);
    EXPECT_EQ(Rows()->Count(), 0);
    EXPECT_TRUE(Form->Connections_RefreshBtn->Enabled());
    EXPECT_FALSE(Form->Connections_ConnectBtn->Enabled());
    Harness::SetWorld("World", "Fail", "");

    // No adapter: an empty list, no survey.
    Harness::ClearCalls();
    Form->Link.AdapterOpened = false;
    Form->Survey.SurveyInProgress = true;
    Form->RefreshSiteSurvey();
    EXPECT_FALSE(Form->Survey.SurveyInProgress);
    EXPECT_EQ(Form->Survey.SurveyCount, 0);
    EXPECT_EQ(CallCount("WLAN_Get_Site_Survey"), 0u);
    Form->UpdateTimer->SetEnabled(true);
    Form->Connections_RefreshBtnClick(nullptr); // the button without an adapter stops the timers
    EXPECT_FALSE(Form->UpdateTimer->Enabled());
    EXPECT_FALSE(Form->Survey.SurveyInProgress);
    Form->Link.AdapterOpened = true;

    // The utility starts quitting during the refresh's wait.
    {
        Probe quit([&] {
            if (Form->Survey.ListUse != SurveyListUse::Refresh) return false;
            Form->Program.Quitting = true;
            return true;
        });
        Form->Connections_RefreshBtnClick(nullptr);
    }
    EXPECT_TRUE(Form->Program.Quitting);
    Form->Program.Quitting = false;
    EXPECT_FALSE(Form->Survey.SurveyInProgress);
    EXPECT_EQ(CallCount("WLAN_Get_Site_Survey"), 0u);
    EXPECT_FALSE(Form->CheckTimer->Enabled());
}

// Connect stays off for the whole refresh, its marking waits too, whatever
// shows the page's controls meanwhile; it comes back once the list is made.
TEST_F(SurveyPage, ConnectStaysOffWhileARefreshRuns)
{
    SetCells(Neighbourhood);
    Join("tarvane", 1); // the marking waits for the link's row
    Refresh();
    ASSERT_TRUE(Form->Connections_ConnectBtn->Enabled());
    int samples = 0, connectable = 0;
    {
        Probe probe([&] {
            if (Form->Survey.ListUse != SurveyListUse::Refresh) return false;
            ++samples;
            Form->ShowSurveyControls(true); // as the page's showing does
            connectable += Form->Connections_ConnectBtn->Enabled();
            return false;
        });
        Refresh();
    }
    EXPECT_GT(samples, 5);
    EXPECT_EQ(connectable, 0);
    EXPECT_TRUE(Form->Connections_ConnectBtn->Enabled());
}

// A click on Refresh (or a timer) inside the waits of a running refresh or
// marking is skipped: one survey, nothing emptied under the running walk.
TEST_F(SurveyPage, ARefreshStartedInsideARunningOneIsSkipped)
{
    SetCells(Neighbourhood);
    Join("tarvane", 1);
    int innerRefreshes = 0;
    SurveyListUse seen = SurveyListUse::Idle;
    {
        Probe click([&] {
            if (Form->Survey.ListUse == SurveyListUse::Idle) return false;
            seen = Form->Survey.ListUse;
            ++innerRefreshes;
            Form->Connections_RefreshBtnClick(nullptr);
            Form->FillSurveyList();
            Form->MarkSurveyEntries();
            return innerRefreshes == 3;
        });
        Refresh();
    }
    EXPECT_EQ(innerRefreshes, 3);
    EXPECT_EQ(seen, SurveyListUse::Refresh);
    EXPECT_EQ(CallCount("WLAN_Get_Site_Survey"), 1u);
    EXPECT_EQ(Rows()->Count(), 7);
    EXPECT_EQ(Rows()->Item(0)->ImageIndex(), 2);
    EXPECT_FALSE(Form->Survey.SurveyInProgress);

    // Inside a marking's wait: the refresh it skips ends the survey state too.
    Form->ResetSurveyImages();
    bool clicked = false;
    {
        Probe click([&] {
            if (Form->Survey.ListUse != SurveyListUse::Mark) return false;
            Form->Connections_RefreshBtnClick(nullptr);
            clicked = true;
            return true;
        });
        Form->MarkSurveyEntries();
    }
    StopTimers();
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(Form->Survey.SurveyInProgress);
    EXPECT_EQ(CallCount("WLAN_Get_Site_Survey"), 1u);
    EXPECT_EQ(Rows()->Count(), 7);
    EXPECT_EQ(Rows()->Item(0)->ImageIndex(), 2);
}

// One double click is one connect: the list reports it, and the window's
// own handling of the mouse must not report it again. On a WEP row it opens
// the key dialog once; Cancel there connects nothing.
TEST_F(SurveyPage, ADoubleClickOnAWepRowOpensTheKeyDialogOnce)
{
    SetCells(Neighbourhood);
    Refresh();
    const int row = RowOf("Kestrel-Home");
    ASSERT_GE(row, 0);
    TSiteSurveyWEPFrm* dialog = Harness::Dialog();
    int opened = 0;
    const TNotifyEvent shown = dialog->OnShow;
    dialog->OnShow = [&](TObject* Sender) {
        shown(Sender);
        ++opened;
    };
    TTimer cancel(nullptr); // the user's Cancel, once the dialog is up
    cancel.SetInterval(20);
    cancel.OnTimer = [&](TObject*) {
        if (dialog->Visible()) ::PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    };
    cancel.SetEnabled(true);
    Form->Show();
    const uint32_t connects = Form->Survey.Connects;

    const HWND list = Form->Connections_LstV_APs->Handle();
    RECT label{};
    label.left = LVIR_LABEL;
    ::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label));
    const LPARAM at = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        ::PostMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    EXPECT_TRUE(Harness::PumpUntil([&] { return opened > 0 && !dialog->Visible() && Form->Visible(); }, 10000));
    Harness::Pump();
    cancel.SetEnabled(false);
    dialog->OnShow = shown;
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Form->Survey.Connects, connects);
}

// The details are those of the selected row, and that row shows as selected
// also while the list lacks the focus: after a connect, which takes the
// connected mark off the link's row, the user still sees which row they
// describe.
TEST_F(SurveyPage, TheSelectedRowShowsWithoutTheFocusAndTheDetailsAreItsOwn)
{
    SetCells(Neighbourhood);
    Join("tarvane", 1);
    Refresh(); // marks the link's row connected
    const int cafe = RowOf("Cafe Lumen"), tarvane = RowOf("tarvane");
    ASSERT_EQ(Rows()->Item(tarvane)->ImageIndex(), 2);
    Form->Show();
    Rows()->Item(cafe)->SetSelected(true);
    Form->Connections_RefreshBtn->SetFocus();
    ASSERT_FALSE(Form->Connections_LstV_APs->Focused());
    Form->ResetSurveyImages(); // as a connect begins
    EXPECT_EQ(Rows()->Item(tarvane)->ImageIndex(), 0);
    EXPECT_EQ(Labels(), "Infrastructure|6|WEP Disabled|02-30-5A-88-19-E4");

    // The list as it draws itself: a point of each row right of its band letter.
    auto background = [this](int Row) {
        return Harness::RowPixel(Form->Connections_LstV_APs, Row, Form->Connections_LstV_APs->ColumnWidth(0) + 25);
    };
    EXPECT_EQ(background(cafe), static_cast<TColor>(::GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(background(tarvane), static_cast<TColor>(::GetSysColor(COLOR_WINDOW)));
}

TEST_F(SurveyPage, SsidsWithQuotesCommasAndHighBytesShowUnharmed)
{
    const std::string highBytes(32, '\xFF');
    SetCells({{"say \"hi\", you", "02-77-00-00-00-01", 70, 1, 11},
              {",", "02-77-00-00-00-02", 60, 0, 2, 0, 1},
              {highBytes, "02-77-00-00-00-03", 50, 1, 36, 1, 0, 1},
              {"a\"\",\"b", "02-77-00-00-00-04", 40, 1, 1}});
    Refresh();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"say \"hi\", you", ",", highBytes, "a\"\",\"b"}));
    const char* const labels[] = {"Infrastructure|11|WEP Disabled|02-77-00-00-00-01",
                                  "AdHoc|2|WEP Enabled|02-77-00-00-00-02",
                                  "Infrastructure|36|WEP Disabled|02-77-00-00-00-03",
                                  "Infrastructure|1|WEP Disabled|02-77-00-00-00-04"};
    for (int i = 0; i < Rows()->Count(); ++i) {
        Rows()->Item(i)->SetSelected(true);
        EXPECT_EQ(Labels(), labels[i]) << i;
        EXPECT_EQ(Tip(i).find("\n    SSID:" + Rows()->Item(i)->Caption() + "    \n"), 0u) << i;
    }
    EXPECT_EQ(Rows()->Item(2)->SubItems()->Get(0), "A");
}

// Each row's signal stands in the list beside its SSID and band, whole in
// the list's client area without scrolling, its title too.
TEST_F(SurveyPage, EachRowShowsItsSignalBesideItsSsidAndBand)
{
    SetCells(Neighbourhood);
    Refresh();
    ASSERT_EQ(Rows()->Count(), 7); // more than the list shows: the scroll bar takes its room
    const HWND list = Form->Connections_LstV_APs->Handle();
    RECT client;
    ::GetClientRect(list, &client);
    auto text = [&](int Row, int Column) {
        char buffer[64] = {};
        LVITEMA item{};
        item.iSubItem = Column;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        ::SendMessageA(list, LVM_GETITEMTEXTA, Row, reinterpret_cast<LPARAM>(&item));
        return std::string(buffer);
    };
    const std::pair<const char*, const char*> signals[] = {{"tarvane", "Good"},    {"Kestrel-Home", "Good"},
                                                          {"mirelow-office", "Fair"}, {"lanparty", "Fair"},
                                                          {"Cafe Lumen", "Fair"},     {"orsa-5g", "Poor"},
                                                          {"wepparty", "Poor"}};
    for (const auto& s : signals) {
        const int row = RowOf(s.first);
        ASSERT_GE(row, 0) << s.first;
        EXPECT_EQ(text(row, 2), s.second) << s.first;
    }
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    std::vector<std::string> titles;
    for (int column = 0; column < 3; ++column) {
        RECT cell{};
        ::SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&cell));
        EXPECT_LE(cell.right, client.right) << column; // in view without scrolling
        char title[16] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = sizeof title;
        ::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        titles.push_back(title);
        const int needed = static_cast<int>(::SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(title)));
        EXPECT_GE(cell.right - cell.left, needed + 12) << title; // the header's margins
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"SSID", "Band", "Signal"}));
}

// The row's tip comes up under the pointer, and follows it to another row.
TEST_F(SurveyPage, TheHoverTipShowsTheRowUnderThePointer)
{
    SetCells(Neighbourhood);
    Refresh();
    Form->Show();
    Harness::Pump();
    const HWND list = Form->Connections_LstV_APs->Handle();
    auto pointAt = [&](int Row) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        ::SendMessageA(list, LVM_GETITEMRECT, Row, reinterpret_cast<LPARAM>(&bounds));
        POINT p{bounds.left + 40, (bounds.top + bounds.bottom) / 2};
        ::ClientToScreen(list, &p);
        ::SetCursorPos(p.x, p.y);
        ::ScreenToClient(list, &p);
        ::PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    };
    // The tip on screen, and its text.
    auto shownTip = [&] {
        std::string shown;
        Harness::PumpUntil(
            [&] {
                for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
                    char name[64] = {};
                    ::GetClassNameA(w, name, sizeof name);
                    if (std::string(name) != TOOLTIPS_CLASSA || !::IsWindowVisible(w) ||
                        ::GetWindowThreadProcessId(w, nullptr) != ::GetCurrentThreadId())
                        continue;
                    char text[512] = {};
                    ::GetWindowTextA(w, text, sizeof text);
                    shown = text;
                    return !shown.empty();
                }
                return false;
            },
            5000);
        return shown;
    };
    const int kestrel = RowOf("Kestrel-Home"), lanparty = RowOf("lanparty");
    pointAt(kestrel);
    EXPECT_EQ(shownTip(), Tip(kestrel));
    pointAt(lanparty);
    EXPECT_TRUE(Harness::PumpUntil([&] { return shownTip() == Tip(lanparty); }, 5000));
    ::SetCursorPos(0, 0);
    Form->Hide();
}

} // namespace
