// TTimer: fires OnTimer on the main thread every Interval milliseconds while
// Enabled. Interval 0 never fires; a change of Enabled or Interval starts
// the countdown afresh.
#pragma once
#include "component.h"
#include "live_count.h"

#include <windows.h>

class TTimer : public TComponent {
public:
    CLASS_NAME(TTimer)
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    UINT Interval() const { return FInterval; }
    void SetInterval(UINT Value);

    TNotifyEvent OnTimer;

    // The timer behind a WM_TIMER identifier of the utility window.
    static TTimer* FromId(UINT_PTR Id);
    void Fire();

private:
    void UpdateTimer();
    TLiveCount<TTimer> Live;
    bool FEnabled = true;
    UINT FInterval = 1000;
    bool Running = false;
};
