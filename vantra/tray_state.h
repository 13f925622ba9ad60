// The notification-area icon: whether it exists, the picture of its
// connected cycle and the state it shows.
#pragma once
#include <cstdint>

enum class TrayState : int32_t {
    None = 0, // nothing shown yet
    Connected = 1,
    Scanning = 3, // not connected, or busy
    Disabled = 4, // monitoring stopped or adapter lost
};

// Pictures of the tray image list by index; the connected cycle runs from
// TrayIconFirst up to, not including, TrayIconLimit.
constexpr int32_t TrayImageDisabled = 1;
constexpr int32_t TrayImageScanning = 2;

struct TTrayState {
    bool TrayIconAdded = false;
    int32_t TrayIconIndex = 3; // picture of the connected cycle's next icon
    int32_t TrayIconFirst = 3, TrayIconLimit = 6;
    TrayState LastTrayState = TrayState::None;
    bool ConnectedShown = false; // the connected state has been shown since the last other one
};
