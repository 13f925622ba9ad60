// TThread: a worker that runs Execute on a thread of its own.
//
// It is created suspended and started by Resume. Suspension is cooperative:
// Suspend asks the thread to stop, and it parks at its next safe point (the
// start of Sleep or Synchronize, or an interrupted Sleep), never while it
// might hold a lock. Suspended is true before the first Resume, while the
// thread is parked, and once Execute has returned (normally or by an
// exception, which is traced through the platform seam); a resumed thread is
// not suspended until it parks again. Calling Suspend from the thread itself
// parks it at once.
//
// Synchronize runs a call on the main thread through the application's
// utility window, which every message loop there services, modal loops and
// message boxes included. Freeing a parked thread does not wait for it and it
// never runs again; freeing a running one waits for Execute to return, and
// the main thread keeps servicing synchronised calls while it waits.
#pragma once
#include "live_count.h"
#include "persistent.h"

#include <windows.h>

#include <cstdint>
#include <functional>

// The toolkit's scale of thread priorities, idle to time-critical.
enum TThreadPriority : uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    CLASS_NAME(TThread)
    TThread();
    ~TThread() override;

    void Resume();
    void Suspend();
    bool Suspended() const;
    void Terminate();
    bool Terminated() const;
    DWORD WaitFor(); // until Execute has returned
    HANDLE Handle() const;
    void SetPriority(TThreadPriority Priority);
    DWORD ThreadID() const { return Id; }
    // Runs Method on the main thread; called from this thread (a safe point).
    void Synchronize(const std::function<void()>& Method);

protected:
    virtual void Execute() = 0;
    // True when Wake, Terminate or Suspend cut the sleep short.
    bool Sleep(DWORD Milliseconds);
    // Cuts the thread's current or next Sleep short.
    void Wake();

private:
    struct State;
    static DWORD WINAPI ThreadProc(void* Param);
    void Park();
    State* S;
    DWORD Id = 0;
    TLiveCount<TThread> Live;
};

// Waits for Handle; on the main thread, calls synchronised from other
// threads are serviced meanwhile.
DWORD WaitServicingSynchronize(HANDLE Handle, DWORD Milliseconds);
