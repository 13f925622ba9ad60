// The Site Survey page: the refresh and the list it fills from the survey
// table, the marks that tell the current link's row, and the timer that
// keeps that row selected and in view.
//
// The refresh, the fill and the marking pump messages while they walk the
// list (their waits, and between rows), so a click on Refresh or a timer
// can start another walk inside them. Each holds the list while it runs;
// another walk that starts meanwhile is skipped, and rows are reached by
// index after every pump.
#include "drivers/bindings.h"
#include "drivers/record_text.h"
#include "mainfrm.h"
#include "toolkit/application.h"
#include "wzc_service.h"

#include <algorithm>

namespace {

class TListHold {
public:
    TListHold(TSurveyState& State, SurveyListUse Use) : Survey(State) { Survey.ListUse = Use; }
    ~TListHold() { Survey.ListUse = SurveyListUse::Idle; }
    TListHold(const TListHold&) = delete;
    TListHold& operator=(const TListHold&) = delete;

private:
    TSurveyState& Survey;
};

std::string LinkSsid(const WlanInfo& Link) { return SsidToText(Link.SSID, Link.SSID_length); }

bool ZeroMac(const uint8_t* Mac) { return std::all_of(Mac, Mac + 6, [](uint8_t b) { return b == 0; }); }

std::string BssidOf(TListItem* Row) { return Row->SubItems()->Get(SurveySubItem::Bssid); }

bool IsInfrastructureRow(TListItem* Row) { return Row->SubItems()->Get(SurveySubItem::Infrastructure) == "1"; }

// Marks, added to a row's base picture.
constexpr int32_t ConnectedMark = static_cast<int32_t>(SurveyMark::Connected);
constexpr int32_t FailedMark = static_cast<int32_t>(SurveyMark::Failed);

// Passes of 500 ms after which a matched row whose link is not up counts as failed.
constexpr int32_t MarkWaitLimit = 20;

// Rows the list shows at once, and the height of one, for keeping the
// link's row in view.
constexpr int32_t VisibleRows = 5;
constexpr int32_t RowHeight = 16;

} // namespace

void TMainFrm::Connections_RefreshBtnClick(TObject*)
{
    if (!Link.AdapterOpened) {
        for (TTimer* timer : {UpdateTimer, CheckTimer, ConnectCheckTimer}) timer->SetEnabled(false);
        return;
    }
    PlaySoundThenStop("click.wav");
    Survey.SurveyInProgress = true;
    RefreshSiteSurvey();
    if (!Program.Quitting) CheckTimer->SetEnabled(true);
}

void TMainFrm::RefreshSiteSurvey()
{
    // A refresh skipped inside a running one leaves the tray to it; any
    // other way out ends the tray's survey state.
    if (Pages.CurrentPage != Page::SiteSurvey || Survey.ListUse != SurveyListUse::Idle) {
        if (Survey.ListUse != SurveyListUse::Refresh) Survey.SurveyInProgress = false;
        return;
    }
    struct EndSurveyState {
        bool& InProgress;
        ~EndSurveyState() { InProgress = false; }
    } end{Survey.SurveyInProgress};
    // Once quitting, the exit that set it closes the window.
    if (Program.Quitting) return;
    TChipsetHold library;
    if (!HoldChipsetLibrary(library)) return;
    {
        TListHold hold(Survey, SurveyListUse::Refresh);
        SurveyAndMarkRows();
    }
    if (Program.Quitting) return;
    Survey.ConnectPending = true;

    Connections_RefreshBtn->SetEnabled(true);
    UpdateSurveyConnectButton();
    ConnectCheckTimer->SetInterval(300);
    ConnectCheckTimer->SetEnabled(true);
    UpdateTimer->SetEnabled(true);
}

// The refresh's walk of the list: neither button works on the list while
// it is being made and marked (UpdateConnectButton keeps Connect off).
void TMainFrm::SurveyAndMarkRows()
{
    Connections_RefreshBtn->SetEnabled(false);
    Connections_ConnectBtn->SetEnabled(false);
    TListItems* rows = Connections_LstV_APs->Items();
    rows->Clear();
    if (!Link.AdapterOpened) Survey.SurveyCount = 0;
    Connections_LstV_APs->Invalidate();
    Application->ProcessMessages();
    if (Program.Quitting) return;
    UpdateTimer->SetEnabled(false);
    ShowSearchPanel();
    WaitPumping(100);
    if (Program.Quitting) return;

    DoSiteSurvey(Survey.SurveyEntries, Survey.SurveyCount, 1);
    Pal_Search->Hide();
    if (Program.Quitting) return;
    FillSurveyRows();
    if (Program.Quitting) return;
    if (rows->Count() > 0) MarkSurveyRows();
}

// The search picture over the list, at its own size.
void TMainFrm::ShowSearchPanel()
{
    Img_Search->SetBounds(0, 0, Img_Search->Picture()->Width(), Img_Search->Picture()->Height());
    Pal_Search->SetBounds(Connections_LstV_APs->Left() + 60, Connections_LstV_APs->Top() + 38, Img_Search->Width(),
                          Img_Search->Height());
    Pal_Search->BringToFront();
    Pal_Search->Show();
}

bool TMainFrm::DoSiteSurvey(SurveyTable& Entries, int32_t& Count, uint8_t Mode)
{
    // Nothing reaches the adapter while the TCP/IP thread reconfigures its card.
    if (Program.Quitting || !Link.AdapterOpened || !TcpIpThread->Suspended()) return false;
    WlanInfo link{};
    WlanWepInfo wep{};
    WlanCall(Chipset.WLAN_Get_Info, &link);
    WlanCall(Chipset.WLAN_Get_WEP_Info, &wep);
    // A survey that failed heard nothing: the last one's entries would show
    // under this one's time.
    if (!WlanCall(Chipset.WLAN_Get_Site_Survey, Entries, &Count, Mode)) Count = 0;
    Count = CheckSurveyEntries(Entries, Count);
    if (link.StationState == WLAN_STATION_STATE_READY) AddMissingLink(Entries, Count, link, wep);
    SortSurveyEntries(Entries, Count);
    return true;
}

void TMainFrm::FillSurveyList()
{
    if (Survey.ListUse != SurveyListUse::Idle) return;
    TListHold hold(Survey, SurveyListUse::Fill);
    FillSurveyRows();
    UpdateSurveyConnectButton();
}

void TMainFrm::FillSurveyRows()
{
    if (Program.Quitting) return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::string time = SurveyTimeText(now.wHour, now.wMinute, now.wSecond);

    TListItems* rows = Connections_LstV_APs->Items();
    rows->Clear();
    if (!Link.AdapterOpened) Survey.SurveyCount = 0;
    Connections_LstV_APs->Invalidate();
    Survey.SurveyHintTexts.fill(std::string());
    Survey.SurveyLogLines.fill(std::string());

    // The table is sorted: the rows beyond the list's room are the weakest.
    const int32_t count = std::min(Survey.SurveyCount, int32_t{SurveyListRows});
    for (int32_t i = 0; i < count; ++i) {
        Application->ProcessMessages();
        if (Program.Quitting) return;
        const SiteSurveyEntry& entry = Survey.SurveyEntries[i];
        const SurveyRowTexts texts = SurveyRow(entry);
        TListItem* row = rows->Add();
        row->SetCaption(texts.Caption);
        for (const std::string& text : texts.SubItems) row->SubItems()->Add(text);
        row->SetImageIndex(texts.ImageIndex);
        Survey.SurveyHintTexts[i] = SurveyHintText(entry);
        Survey.SurveyLogLines[i] = SurveyLogLine(entry, time);
    }
}

void TMainFrm::UpdateSurveyConnectButton()
{
    if (Connections_LstV_APs->Items()->Count() > 0) UpdateConnectButton();
    else Connections_ConnectBtn->SetEnabled(false);
}

void TMainFrm::MarkSurveyEntries()
{
    if (Survey.ListUse != SurveyListUse::Idle) return;
    TListHold hold(Survey, SurveyListUse::Mark);
    MarkSurveyRows();
}

void TMainFrm::MarkSurveyRows()
{
    TListItems* rows = Connections_LstV_APs->Items();
    if (rows->Count() == 0 || Program.Quitting || !Link.AdapterOpened) return;
    ResetSurveyImages();
    if (!TcpIpThread->Suspended()) return; // the card is being reconfigured
    WlanCall(Chipset.WLAN_Get_Info, &Link.CurrentLinkInfo);
    // The link as read now: the poll may read it again during the waits.
    const WlanInfo link = Link.CurrentLinkInfo;
    const std::string linkBssid = MacToText(link.Bssid);
    const std::string linkSsid = LinkSsid(link);
    const bool up = link.StationState == WLAN_STATION_STATE_READY;
    // A connect that runs inside one of the pumps below marks the list itself.
    const uint32_t connects = Survey.Connects;
    auto overtaken = [&](int32_t r) { return Program.Quitting || r >= rows->Count() || Survey.Connects != connects; };

    for (int32_t r = 0; r < rows->Count(); ++r) {
        Application->ProcessMessages();
        if (overtaken(r)) return;
        TListItem* row = rows->Item(r);
        const bool infrastructure = IsInfrastructureRow(row);
        const bool match = infrastructure ? BssidOf(row) == linkBssid && link.OperatingModeID == 1
                                          : row->Caption() == linkSsid && link.OperatingModeID == 0;
        const int32_t image = row->ImageIndex();
        const SurveyMark mark = MarkOfImage(image);
        if (match && mark == SurveyMark::None) {
            if (up) {
                row->SetImageIndex(image + ConnectedMark);
                WaitPumping(1000);
                if (overtaken(r)) return;
                SelectSurveyRow(r, true);
                Survey.ConnectPending = false;
                Survey.MarkWaitCount = 0;
            } else {
                WaitPumping(500);
                if (overtaken(r)) return;
                if (++Survey.MarkWaitCount >= MarkWaitLimit) {
                    rows->Item(r)->SetImageIndex(image + FailedMark);
                    Survey.MarkWaitCount = 0;
                    Survey.ConnectPending = false;
                }
            }
        } else if (match && mark == SurveyMark::Failed && up) {
            SelectSurveyRow(r, true);
            row->SetImageIndex(image + FailedMark);
            Survey.ConnectPending = false;
        } else if (mark == SurveyMark::Failed) {
            row->SetImageIndex(image - FailedMark);
        } else if (infrastructure && mark == SurveyMark::Connected) {
            row->SetImageIndex(image - ConnectedMark);
        }
    }
}

int32_t TMainFrm::SurveyRowOf(const std::string& Ssid, const std::string& BssidText)
{
    TListItems* rows = Connections_LstV_APs->Items();
    for (int32_t r = 0; r < rows->Count(); ++r)
        if (rows->Item(r)->Caption() == Ssid && BssidOf(rows->Item(r)) == BssidText) return r;
    return -1;
}

void TMainFrm::SelectSurveyRow(int32_t Index, bool Focus)
{
    TListItem* row = Connections_LstV_APs->Items()->Item(Index);
    row->SetSelected(true);
    if (Focus) row->SetFocused(true);
}

void TMainFrm::ResetSurveyImages()
{
    TListItems* rows = Connections_LstV_APs->Items();
    for (int32_t r = 0; r < rows->Count(); ++r) {
        TListItem* row = rows->Item(r);
        if (MarkOfImage(row->ImageIndex()) == SurveyMark::Connected) row->SetImageIndex(row->ImageIndex() - ConnectedMark);
    }
}

void TMainFrm::CheckConnectedApListed()
{
    WlanInfo& link = Link.CurrentLinkInfo;
    for (int tries = 0; tries < 20; ++tries) {
        if (!Link.AdapterOpened && Program.EndingSession) return;
        WlanCall(Chipset.WLAN_Get_Info, &link);
        if (!ZeroMac(link.Bssid)) break;
        WaitPumping(100);
        if (Program.Quitting) return;
    }
    TListItems* rows = Connections_LstV_APs->Items();
    if (ZeroMac(link.Bssid) || !Link.LinkUp() || rows->Count() == 0) return;

    // The whole name: a listed "cafe-2" is not the link "cafe".
    const std::string ssid = LinkSsid(link);
    const std::string bssid = MacToText(link.Bssid);
    for (int32_t r = 0; r < rows->Count(); ++r) {
        TListItem* row = rows->Item(r);
        if (row->Caption() == ssid && (link.OperatingModeID == 0 || BssidOf(row) == bssid)) return;
    }
    Survey.SurveyInProgress = true;
    RefreshSiteSurvey();
}

void TMainFrm::CheckTimerTimer(TObject*)
{
    if (!Link.AdapterOpened) {
        for (TTimer* timer : {UpdateTimer, CheckTimer, ConnectCheckTimer}) timer->SetEnabled(false);
        return;
    }
    if (!TcpIpThread->Suspended()) return;
    CheckTimer->SetEnabled(false);
    TListView* list = Connections_LstV_APs;
    TListItems* rows = list->Items();
    if (!Poll.LinkInfoValid || rows->Count() == 0) return;
    if (list->Enabled() && list->Visible() && Visible()) list->SetFocus();
    if (!Link.LinkUp()) {
        CheckTimer->SetEnabled(true);
        return;
    }
    const int32_t selected = list->ItemIndex();
    if (selected < 0) return;

    const WlanInfo& link = Link.CurrentLinkInfo;
    const bool adhoc = link.OperatingModeID == 0;
    TListItem* row = rows->Item(selected);
    const std::string rowText = adhoc ? row->Caption() : BssidOf(row);
    const TListItem* topRow = list->TopItem();
    const int32_t top = topRow ? topRow->Index() : 0;
    if ((selected < top || selected >= top + VisibleRows) && !rowText.empty())
        list->Scroll(0, (selected - top) * RowHeight);
    if (adhoc) {
        const std::string ssid = LinkSsid(link);
        if (rowText != ssid) SelectSurveyRowBySsid(ssid);
    } else {
        const std::string bssid = MacToText(link.Bssid);
        if (rowText != bssid) SelectSurveyRowByBssid(bssid);
    }
    CheckTimer->SetEnabled(true);
}

void TMainFrm::SelectSurveyRowByBssid(const std::string& BssidText)
{
    TListItems* rows = Connections_LstV_APs->Items();
    if (BssidText.empty()) return;
    for (int32_t r = 0; r < rows->Count(); ++r) {
        if (BssidOf(rows->Item(r)) != BssidText) continue;
        if (Visible()) SelectSurveyRow(r, true);
        Survey.SelectedRowIndex = r;
        return;
    }
}

void TMainFrm::SelectSurveyRowBySsid(const std::string& Ssid)
{
    Survey.SelectedRowIndex = -1;
    TListItems* rows = Connections_LstV_APs->Items();
    for (int32_t r = 0; r < rows->Count(); ++r) {
        if (rows->Item(r)->Caption() != Ssid) continue;
        SelectSurveyRow(r, false);
        Survey.SelectedRowIndex = r;
        return;
    }
}

void TMainFrm::Connections_LstV_APsClick(TObject*)
{
    // The user chose a row: the timer leaves the selection alone until
    // another routine enables it again.
    CheckTimer->SetEnabled(false);
    CheckTimer->SetInterval(0);
    CheckTimer->SetInterval(5000);
}

void TMainFrm::Connections_LstV_APsDblClick(TObject*)
{
    if (WzcServiceBlocks(Program.WinVersionCode)) return;
    ResetSurveyImages();
    CheckTimer->SetEnabled(false);
    CheckTimer->SetInterval(0);
    Connections_ConnectBtnClick(this);
    if (Program.Quitting) return;
    CheckTimerTimer(this);
}

// The details are the selected row's: a row that only changes its picture
// (a mark set or taken off) or loses the selection leaves them.
void TMainFrm::Connections_LstV_APsChange(TObject*, TListItem* Item, TItemChange)
{
    if (!Item || !Item->Selected()) return;
    const int32_t r = Item->Index();
    SurveyDetails details;
    if (r < 0 || r >= SurveyListRows || !ReadSurveyLogLine(Survey.SurveyLogLines[r], details)) return;
    Survey_Lbl_NetworkType->SetCaption(details.NetworkType);
    Survey_Lbl_Channel->SetCaption(details.Channel);
    Survey_Lbl_WEP->SetCaption(details.Wep);
    Survey_Lbl_MAC->SetCaption(details.Mac);
    Survey_Lbl_STime->SetCaption(details.Time);
}

void TMainFrm::Connections_LstV_APsInfoTip(TObject*, TListItem* Item, std::string& InfoTip)
{
    const int32_t r = Item ? Item->Index() : -1;
    InfoTip = r >= 0 && r < SurveyListRows ? Survey.SurveyHintTexts[r] : std::string();
}
