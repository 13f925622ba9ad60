// The site survey: the table the chipset library fills, the texts kept for
// the list's rows, whether a refresh runs, and what the list still has to
// be marked against.
#pragma once
#include "drivers/records.h"
#include "survey_table.h"

#include <array>
#include <cstdint>
#include <string>

// Who walks the list's rows while pumping messages. Whatever runs inside
// those pumps (a click on Refresh, a timer) finds the list in use and
// leaves it alone, so no row goes from under a running walk.
enum class SurveyListUse { Idle, Refresh, Fill, Mark };

struct TSurveyState {
    SurveyTable SurveyEntries{};
    int32_t SurveyCount = 0;
    std::array<std::string, SurveyListRows> SurveyHintTexts; // row i's tooltip
    std::array<std::string, SurveyListRows> SurveyLogLines;  // row i's details, as comma text
    bool SurveyInProgress = false; // the tray keeps its state meanwhile
    bool ConnectPending = false;   // the list is still to be marked against the link
    int32_t MarkWaitCount = 0;     // 500 ms waits for a matched row whose link is not up yet
    int32_t SelectedRowIndex = -1; // the row of the survey or profile list a connect works on
    int32_t LastTopIndex = 0;      // top row of the list at the last poll
    SurveyListUse ListUse = SurveyListUse::Idle;
    WlanWepInfo DialogWepInfo{};   // the WEP key dialog's answer, for the connect
};
