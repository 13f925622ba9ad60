#include "thread.h"
#include "application.h"
#include "exceptions.h"
#include "format.h"
#include "seam.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <condition_variable>

// Shared by the object and its thread, so that a thread abandoned when its
// object is freed never touches freed memory.
//
// Each Resume starts a new round; a thread parks in the round it saw, and
// counts as suspended only while that round lasts. So a Suspend that follows
// a Resume before the thread has woken parks it again at its next safe point,
// and Suspended tells the truth throughout.
struct TThread::State {
    std::mutex Lock;
    std::condition_variable Changed;
    HANDLE Thread = nullptr;
    HANDLE Wake = nullptr; // interrupts Sleep
    bool Started = false;
    bool SuspendRequested = false;
    bool Parked = false;
    bool Finished = false;  // Execute has returned
    bool Abandoned = false; // the object is gone
    bool FreeOnEnd = false; // the object is the thread's to free
    unsigned Round = 0;       // Resumes so far
    unsigned ParkedRound = 0; // the round the thread parked in
    std::atomic<bool> Terminated{false};
    std::atomic<int> References{2};
    TThread* Object;
    const char* ClassName = nullptr;

    bool Suspended() const { return !Started || Finished || (Parked && ParkedRound == Round); }
    bool GivenUp() const { return Abandoned || FreeOnEnd; }

    void Release()
    {
        if (--References == 0) {
            ::CloseHandle(Wake);
            ::CloseHandle(Thread);
            delete this;
        }
    }

    // Ends the thread at a safe point once its owner has given it up,
    // without returning into the object's code; frees the object first when
    // it was left to the thread.
    [[noreturn]] void End(std::unique_lock<std::mutex>& Hold)
    {
        TThread* orphan = FreeOnEnd && !Abandoned ? Object : nullptr;
        Hold.unlock();
        delete orphan; // on its own thread, its destructor waits for nothing
        Release();
        ::ExitThread(0);
    }
};

namespace {
thread_local TThread* CurrentThread = nullptr;
} // namespace

DWORD WaitServicingSynchronize(HANDLE Handle, DWORD Milliseconds)
{
    if (::GetCurrentThreadId() != MainThreadID()) return ::WaitForSingleObject(Handle, Milliseconds);
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD elapsed = ::GetTickCount() - start;
        DWORD left = Milliseconds == INFINITE ? INFINITE : Milliseconds > elapsed ? Milliseconds - elapsed : 0;
        DWORD r = ::MsgWaitForMultipleObjects(1, &Handle, FALSE, left, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) return r;
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // delivers the sent messages
    }
}

TThread::TThread() : S(new State)
{
    S->Object = this;
    S->Wake = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    S->Thread = ::CreateThread(nullptr, 0, ThreadProc, S, CREATE_SUSPENDED, &Id);
    if (!S->Thread) throw EThread(Format(Texts::ThreadError, "cannot create thread", int(::GetLastError())));
}

TThread::~TThread()
{
    Terminate();
    bool wait;
    {
        std::lock_guard<std::mutex> hold(S->Lock);
        // A thread that parks from now on ends there instead. One that Free
        // found parked was given up there and is not waited for.
        wait = !S->Abandoned && !S->Suspended();
        S->Abandoned = true;
        S->Changed.notify_all();
    }
    if (!S->Started) ::ResumeThread(S->Thread); // it sees Abandoned and ends before Execute
    if (wait && ::GetCurrentThreadId() != Id) WaitServicingSynchronize(S->Thread, INFINITE);
    S->Release();
}

DWORD WINAPI TThread::ThreadProc(void* Param)
{
    auto* s = static_cast<State*>(Param);
    bool run;
    {
        std::lock_guard<std::mutex> hold(s->Lock);
        run = !s->Abandoned;
    }
    if (run) {
        CurrentThread = s->Object;
        // A worker's failure ends that worker only, and is told.
        try {
            s->Object->Execute();
        } catch (const std::exception& e) {
            Platform().Trace(Format("%s ended by an exception: %s", s->ClassName, e.what()));
        } catch (...) {
            Platform().Trace(Format("%s ended by an exception", s->ClassName));
        }
    }
    TThread* orphan;
    {
        std::lock_guard<std::mutex> hold(s->Lock);
        s->Finished = true;
        orphan = s->FreeOnEnd ? s->Object : nullptr;
    }
    delete orphan;
    s->Release();
    return 0;
}

void TThread::Resume()
{
    std::lock_guard<std::mutex> hold(S->Lock);
    S->SuspendRequested = false;
    ++S->Round;
    if (!S->Started) {
        S->Started = true;
        S->ClassName = ClassName();
        ::ResumeThread(S->Thread);
    }
    S->Changed.notify_all();
}

void TThread::Suspend()
{
    {
        std::lock_guard<std::mutex> hold(S->Lock);
        S->SuspendRequested = true;
    }
    if (::GetCurrentThreadId() == Id) Park();
    else ::SetEvent(S->Wake);
}

bool TThread::Suspended() const
{
    std::lock_guard<std::mutex> hold(S->Lock);
    return S->Suspended();
}

void TThread::Terminate()
{
    S->Terminated = true;
    ::SetEvent(S->Wake);
}

bool TThread::Terminated() const { return S->Terminated; }

HANDLE TThread::Handle() const { return S->Thread; }

void TThread::Free()
{
    Terminate();
    {
        std::lock_guard<std::mutex> hold(S->Lock);
        // A resumed thread that has not woken yet is running: destroyed now,
        // it would wake into a destroyed object.
        if (!S->Suspended()) {
            S->FreeOnEnd = true;
            return;
        }
        // Decided under the same lock: a parked thread wakes from here on
        // only to end.
        S->Abandoned = true;
        S->Changed.notify_all();
    }
    delete this;
}

TThread* TThread::Current() { return CurrentThread; }

DWORD TThread::WaitFor()
{
    WaitServicingSynchronize(S->Thread, INFINITE);
    DWORD code = 0;
    ::GetExitCodeThread(S->Thread, &code);
    return code;
}

void TThread::Park()
{
    State* s = S;
    std::unique_lock<std::mutex> hold(s->Lock);
    if (s->SuspendRequested && !s->GivenUp()) {
        s->Parked = true;
        const unsigned round = s->ParkedRound = s->Round;
        s->Changed.wait(hold, [s, round] { return s->Round != round || s->Abandoned; });
        s->Parked = false;
    }
    if (s->GivenUp()) s->End(hold);
}

bool TThread::Sleep(DWORD Milliseconds)
{
    Park();
    if (::WaitForSingleObject(S->Wake, Milliseconds) != WAIT_OBJECT_0) return false;
    Park();
    return true;
}

void TThread::Wake() { ::SetEvent(S->Wake); }

void TThread::SetPriority(TThreadPriority Priority)
{
    static const int Levels[] = {THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                                 THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                                 THREAD_PRIORITY_TIME_CRITICAL};
    ::SetThreadPriority(S->Thread, Levels[Priority]);
}

void TThread::Synchronize(const std::function<void()>& Method)
{
    Park();
    if (::GetCurrentThreadId() == MainThreadID()) {
        Method();
        return;
    }
    State* s = S;
    std::exception_ptr failure;
    // Runs on the main thread, as Free does: a thread given up on meanwhile
    // has nothing run for it any more.
    std::function<void()> call = [&] {
        {
            std::lock_guard<std::mutex> hold(s->Lock);
            if (s->GivenUp()) return;
        }
        try {
            Method();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    ::SendMessageA(Application->UtilityWindow(), WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&call));
    {
        std::unique_lock<std::mutex> hold(s->Lock);
        if (s->GivenUp()) s->End(hold);
    }
    if (failure) std::rethrow_exception(failure);
}

void TThread::Queue(std::function<void()> Method)
{
    Park();
    if (::GetCurrentThreadId() == MainThreadID()) {
        Method();
        return;
    }
    // The call keeps the shared state alive until it has run or been dropped.
    ++S->References;
    const std::shared_ptr<State> s(S, [](State* Shared) { Shared->Release(); });
    Application->Queue([s, Method = std::move(Method)] {
        {
            std::lock_guard<std::mutex> hold(s->Lock);
            if (s->GivenUp()) return;
        }
        Method();
    });
}

TWaitResult TThread::WaitForSignal(HANDLE Object, DWORD Milliseconds)
{
    const HANDLE objects[] = {Object, S->Wake};
    const DWORD start = ::GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(S->Lock);
            if (S->SuspendRequested || S->Terminated) return TWaitResult::Stopped;
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= Milliseconds) return TWaitResult::TimedOut;
        const DWORD woken = ::WaitForMultipleObjects(2, objects, FALSE, Milliseconds - elapsed);
        if (woken == WAIT_OBJECT_0) return TWaitResult::Signalled;
        if (woken != WAIT_OBJECT_0 + 1) return TWaitResult::TimedOut;
        // Woken: asked to stop, or a wake-up left over from before.
    }
}
