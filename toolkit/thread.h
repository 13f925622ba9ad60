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
// message boxes included, and waits for it. Queue hands a call over the same
// way without waiting: a call that may let messages in (one that sends a
// message to another program, pumps or runs a modal loop) is queued, since
// an exit run inside it would wait for this thread while this thread waits
// for the call. Freeing a parked thread does not wait for it and it
// never runs again; freeing a running one waits for Execute to return, and
// the main thread keeps servicing synchronised calls while it waits. Free
// waits for nothing: a running thread is left to free its object itself.
#pragma once
#include "live_count.h"
#include "persistent.h"

#include <windows.h>

#include <cstdint>
#include <functional>

// The toolkit's scale of thread priorities, idle to time-critical.
enum TThreadPriority : uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// How a thread's wait for an object ended.
enum class TWaitResult : uint8_t { Signalled, TimedOut, Stopped };

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
    // Frees the object without waiting: at once when the thread is parked,
    // has ended or never started (one resumed since it parked counts as
    // running, though it has not woken yet). Otherwise the thread is
    // terminated and frees the object itself, when Execute returns or at its
    // next safe point, where it ends without returning into the object's
    // code; a call it synchronises from now on does not run. The caller must
    // not use the object again either way.
    void Free();
    HANDLE Handle() const;
    void SetPriority(TThreadPriority Priority);
    DWORD ThreadID() const { return Id; }
    // Runs Method on the main thread; called from this thread (a safe point).
    void Synchronize(const std::function<void()>& Method);
    // Runs Method on the main thread later, after the messages already
    // waiting there, unless the thread has been given up by then; called
    // from this thread (a safe point).
    void Queue(std::function<void()> Method);
    // Waits on this thread until Object is signalled, at most Milliseconds.
    // Stopped when the thread is asked to park or terminate meanwhile (or
    // already was); it parks at its next safe point, which this is not.
    TWaitResult WaitForSignal(HANDLE Object, DWORD Milliseconds);
    // The object whose Execute runs on the calling thread; null elsewhere.
    static TThread* Current();

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
