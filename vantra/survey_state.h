// The site survey: the table the chipset library fills, whether a refresh
// runs, and what the list still has to be marked against.
#pragma once
#include "drivers/records.h"

#include <cstdint>

struct TSurveyState {
    SiteSurveyEntry SurveyEntries[SurveyCapacity]{};
    int32_t SurveyCount = 0;
    bool SurveyInProgress = false; // the tray keeps its state meanwhile
    bool ConnectPending = false;   // the list is still to be marked against the link
    int32_t LastTopIndex = 0;      // top row of the list at the last poll
    WlanWepInfo DialogWepInfo{};   // the WEP key dialog's answer, for the connect
    int32_t SelectedRowIndex = -1; // the survey or profile row that a connect works on; -1 none
};
