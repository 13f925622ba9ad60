// The status poll's counters: its first pass, the state it chose last, and
// the pacing of the link-detail refresh and of the status-picture thread.
#pragma once
#include "tray_state.h"

#include <cstdint>

struct TPollState {
    bool LinkInfoValid = false; // the poll's last link read succeeded
    bool FirstPollDone = false;
    TrayState LastPollState = TrayState::Scanning;
    int32_t PollTickCount = 0, GifResumeLimit = 59; // ticks between resumptions of the status-picture thread
    int32_t HiddenRefreshStep = 0; // into the minutes between refreshes while the window is hidden
    uint32_t HiddenSince = 0;      // tick count of the last refresh while hidden
    int32_t DetailTickCount = 0;   // ticks since the last refresh while visible; 3 forces one
};
