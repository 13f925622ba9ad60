#include "timer.h"
#include "application.h"
#include "thread_check.h"

#include <set>

namespace {
// Identifiers of live timers, so that a stale WM_TIMER is never taken for one.
// Never freed: a timer may go after the C runtime's own teardown has begun.
std::set<TTimer*>& LiveTimers()
{
    static auto* live = new std::set<TTimer*>;
    return *live;
}
UINT_PTR IdOf(TTimer* Timer) { return reinterpret_cast<UINT_PTR>(Timer); }
} // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { LiveTimers().insert(this); }

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
    LiveTimers().erase(this);
}

TTimer* TTimer::FromId(UINT_PTR Id)
{
    auto* timer = reinterpret_cast<TTimer*>(Id);
    return LiveTimers().count(timer) ? timer : nullptr;
}

void TTimer::SetEnabled(bool Value)
{
    CheckWindowThread(Application ? Application->UtilityWindow() : nullptr, this);
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(UINT Value)
{
    CheckWindowThread(Application ? Application->UtilityWindow() : nullptr, this);
    if (Value == FInterval) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    HWND wnd = Application->UtilityWindow();
    if (Running) ::KillTimer(wnd, IdOf(this));
    Running = FEnabled && FInterval != 0 && ::SetTimer(wnd, IdOf(this), FInterval, nullptr) != 0;
}

void TTimer::Fire()
{
    if (FEnabled && FInterval != 0 && OnTimer) OnTimer(this);
}
