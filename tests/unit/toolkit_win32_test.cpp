// Semantics of the Windows part of the toolkit that the programs rely on:
// timers, cooperative thread suspension, synchronised calls serviced by
// every message loop, two-phase form creation, subclassing, settings files.
#include "toolkit/application.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/inifile.h"
#include "toolkit/seam.h"
#include "toolkit/thread.h"
#include "toolkit/thread_check.h"
#include "toolkit/timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

// Pumps messages until the predicate holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) return false;
        Application->ProcessMessages();
        ::Sleep(5);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

TEST(Timer, IntervalZeroNeverFires)
{
    TTimer timer(nullptr);
    int fired = 0;
    timer.OnTimer = [&](TObject*) { ++fired; };
    timer.SetInterval(0);
    timer.SetEnabled(true);
    PumpFor(300);
    EXPECT_EQ(fired, 0);
    timer.SetInterval(50);
    EXPECT_TRUE(PumpUntil([&] { return fired > 0; }, 2000));
}

TEST(Timer, ReEnablingRestartsTheCountdown)
{
    TTimer timer(nullptr);
    std::atomic<DWORD> firedAt{0};
    timer.OnTimer = [&](TObject*) {
        if (!firedAt) firedAt = ::GetTickCount();
    };
    timer.SetInterval(400);
    DWORD start = ::GetTickCount();
    PumpFor(250);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    DWORD restart = ::GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return firedAt != 0; }, 3000));
    EXPECT_GE(firedAt - start, 400u + 200u);
    EXPECT_GE(firedAt - restart + 20, 400u);
    timer.SetEnabled(false);
}

class CountingThread : public TThread {
public:
    std::atomic<int> Passes{0};
    void Execute() override
    {
        while (!Terminated()) {
            ++Passes;
            Sleep(2);
        }
    }
};

TEST(Thread, CreatedSuspendedAndParkedBySuspendFromTheMainThread)
{
    CountingThread thread;
    EXPECT_TRUE(thread.Suspended());
    ::Sleep(50);
    EXPECT_EQ(thread.Passes, 0);

    thread.Resume();
    ASSERT_TRUE(PumpUntil([&] { return thread.Passes > 5; }, 2000));
    thread.Suspend();
    ASSERT_TRUE(PumpUntil([&] { return thread.Suspended(); }, 2000));
    int parkedAt = thread.Passes;
    ::Sleep(100);
    EXPECT_EQ(thread.Passes, parkedAt);

    thread.Resume();
    EXPECT_FALSE(thread.Suspended());
    EXPECT_TRUE(PumpUntil([&] { return thread.Passes > parkedAt + 5; }, 2000));
}

class SelfSuspendingThread : public TThread {
public:
    std::atomic<int> Rounds{0};
    void Execute() override
    {
        while (!Terminated()) {
            ++Rounds;
            Suspend(); // parks here until resumed
        }
    }
};

TEST(Thread, SuspendsItselfAndRunsOneRoundPerResume)
{
    SelfSuspendingThread thread;
    for (int i = 1; i <= 3; ++i) {
        thread.Resume();
        ASSERT_TRUE(PumpUntil([&] { return thread.Rounds == i && thread.Suspended(); }, 2000)) << i;
    }
}

TEST(Thread, FreeingAParkedThreadDoesNotWaitAndItNeverRunsAgain)
{
    auto* thread = new CountingThread;
    thread->Resume();
    thread->Suspend();
    ASSERT_TRUE(PumpUntil([&] { return thread->Suspended(); }, 2000));
    DWORD start = ::GetTickCount();
    delete thread;
    EXPECT_LT(::GetTickCount() - start, 100u);

    delete new CountingThread; // never started
}

// Suspend right after Resume, before the worker has woken: it must park
// again and say so, every time.
TEST(Thread, SuspendRightAfterResumeParksAgainAndSaysSo)
{
    CountingThread thread;
    for (int round = 0; round < 10000; ++round) {
        thread.Resume();
        ASSERT_FALSE(thread.Suspended()) << round; // resumed, not yet parked again
        thread.Suspend();
        const DWORD start = ::GetTickCount();
        while (!thread.Suspended()) {
            ASSERT_LT(::GetTickCount() - start, 5000u) << "stuck at round " << round;
            ::SwitchToThread();
        }
    }
}

class ThrowingThread : public TThread {
public:
    CLASS_NAME(ThrowingThread)
    void Execute() override { throw std::runtime_error("the card went away"); }
};

class TraceRecorder : public TPlatformSeam {
public:
    std::vector<std::string> Lines;
    std::mutex Lock;
    void Trace(const std::string& Text) override
    {
        std::lock_guard<std::mutex> hold(Lock);
        Lines.push_back(Text);
    }
};

TEST(Thread, ABodyThatEndedCountsAsSuspendedAndItsExceptionIsTraced)
{
    TraceRecorder recorder;
    TPlatformSeam* previous = SetPlatform(&recorder);
    {
        CountingThread finished;
        finished.Resume();
        finished.Terminate();
        finished.WaitFor();
        EXPECT_TRUE(finished.Suspended());

        ThrowingThread failed;
        failed.Resume();
        failed.WaitFor();
        EXPECT_TRUE(failed.Suspended());
        failed.Suspend(); // asks a thread that has ended: nothing to wait for
        EXPECT_TRUE(failed.Suspended());
    }
    SetPlatform(previous);
    ASSERT_EQ(recorder.Lines.size(), 1u);
    EXPECT_EQ(recorder.Lines[0], "ThrowingThread ended by an exception: the card went away");
}

class SyncThread : public TThread {
public:
    std::function<void()> Call;
    std::atomic<bool> Done{false};
    std::atomic<DWORD> RanOn{0};
    void Execute() override
    {
        Synchronize([&] {
            RanOn = ::GetCurrentThreadId();
            if (Call) Call();
        });
        Done = true;
    }
};

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileItWaitsInAMessageBox)
{
    SyncThread thread;
    const char* caption = "toolkit synchronise test";
    thread.Call = [] {};
    // The box is closed by the worker once its synchronised call returned;
    // a watchdog closes it anyway so that a failure cannot hang the test.
    std::atomic<bool> stop{false};
    std::thread closer([&] {
        DWORD start = ::GetTickCount();
        while (!stop && ::GetTickCount() - start < 10000) {
            HWND box = ::FindWindowA(nullptr, caption);
            if (box && (thread.Done || ::GetTickCount() - start > 8000)) {
                ::PostMessageA(box, WM_CLOSE, 0, 0);
                return;
            }
            ::Sleep(20);
        }
    });
    thread.Resume();
    ::MessageBoxA(nullptr, "waiting", caption, MB_OK);
    stop = true;
    closer.join();
    EXPECT_TRUE(thread.Done);
    EXPECT_EQ(thread.RanOn, ::GetCurrentThreadId());
}

TEST(Thread, WaitingForAThreadServicesItsSynchronisedCalls)
{
    SyncThread thread;
    int value = 0;
    thread.Call = [&] { value = 42; };
    thread.Resume();
    DWORD start = ::GetTickCount();
    thread.WaitFor(); // would deadlock if the wait did not service the call
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_EQ(value, 42);
}

TEST(Thread, ExceptionsOfASynchronisedCallReachTheWorker)
{
    struct Thrower : TThread {
        std::atomic<bool> Caught{false};
        void Execute() override
        {
            try {
                Synchronize([] { throw EConvertError("bad"); });
            } catch (const EConvertError&) {
                Caught = true;
            }
        }
    } thread;
    thread.Resume();
    thread.WaitFor();
    EXPECT_TRUE(thread.Caught);
}

// Tells the test what became of it: destroyed, on which thread, and whether
// its body ran on after that. The body keeps what it tells through copies of
// its own, as the object may be gone.
struct TFreeReport {
    std::atomic<bool> Destroyed{false};
    std::atomic<DWORD> DestroyedOn{0};
    std::atomic<bool> RanAfterDestroyed{false};
    std::atomic<bool> SynchronisedCallRan{false};
};

class ReportingThread : public TThread {
public:
    ReportingThread(TFreeReport& Report, HANDLE Blocker = nullptr) : Report(Report), Blocker(Blocker) {}
    ~ReportingThread() override
    {
        Report.DestroyedOn = ::GetCurrentThreadId();
        Report.Destroyed = true;
    }
    std::atomic<int> Passes{0};

protected:
    void Execute() override
    {
        TFreeReport& report = Report;
        const HANDLE blocker = Blocker;
        for (;;) {
            ++Passes;
            if (blocker) {
                ::WaitForSingleObject(blocker, INFINITE); // not a safe point
                Synchronize([&report] { report.SynchronisedCallRan = true; });
            } else {
                Sleep(1);
            }
            if (report.Destroyed) {
                report.RanAfterDestroyed = true;
                return;
            }
            if (Terminated()) return;
        }
    }

private:
    TFreeReport& Report;
    const HANDLE Blocker;
};

// A parked thread resumed and freed at once, before it has woken: Free must
// count it as running and leave it to free itself, never destroy it under
// the thread's feet, and never wait for it.
TEST(Thread, FreeRightAfterResumeNeverRunsOnAFreedObjectNorWaits)
{
    const int alive = TLiveCount<TThread>::Alive();
    constexpr int Pairs = 300;
    std::vector<std::unique_ptr<TFreeReport>> reports;
    int slow = 0;
    DWORD longest = 0;
    for (int pair = 0; pair < Pairs; ++pair) {
        reports.push_back(std::make_unique<TFreeReport>());
        auto* thread = new ReportingThread(*reports.back());
        thread->Resume();
        ASSERT_TRUE(PumpUntil([&] { return thread->Passes > 0; }, 5000)) << pair;
        thread->Suspend();
        ASSERT_TRUE(PumpUntil([&] { return thread->Suspended(); }, 5000)) << pair;
        thread->Resume();
        const DWORD start = ::GetTickCount();
        thread->Free();
        const DWORD took = ::GetTickCount() - start;
        slow += took >= 200;
        longest = std::max(longest, took);
    }
    ASSERT_TRUE(PumpUntil([&] { return TLiveCount<TThread>::Alive() == alive; }, 20000));
    int ranAfterDestroyed = 0;
    for (const auto& report : reports) {
        EXPECT_TRUE(report->Destroyed);
        ranAfterDestroyed += report->RanAfterDestroyed;
    }
    std::printf("%d Resume-then-Free pairs: %d ran on a destroyed object, %d waited 200 ms or more, the longest "
                "Free took %lu ms\n",
                Pairs, ranAfterDestroyed, slow, static_cast<unsigned long>(longest));
    EXPECT_EQ(ranAfterDestroyed, 0) << "of " << Pairs;
    EXPECT_EQ(slow, 0) << "of " << Pairs << " waited 200 ms or more";
}

// Free waits for nothing: a thread that never started, has parked or has
// ended is freed at once and never runs again; one that is running is left
// to free itself on its own thread at its next safe point, where it ends,
// and the call it meant to synchronise does not run.
TEST(Thread, FreeFreesAtOnceOrLeavesTheThreadToFreeItself)
{
    const int alive = TLiveCount<TThread>::Alive();
    {
        TFreeReport never;
        (new ReportingThread(never))->Free();
        EXPECT_TRUE(never.Destroyed);
        EXPECT_EQ(never.DestroyedOn, ::GetCurrentThreadId());
    }
    {
        TFreeReport parked;
        auto* thread = new ReportingThread(parked);
        thread->Resume();
        thread->Suspend();
        ASSERT_TRUE(PumpUntil([&] { return thread->Suspended(); }, 5000));
        thread->Free();
        EXPECT_TRUE(parked.Destroyed);
        EXPECT_EQ(parked.DestroyedOn, ::GetCurrentThreadId());
        ASSERT_TRUE(PumpUntil([&] { return TLiveCount<TThread>::Alive() == alive; }, 5000));
        EXPECT_FALSE(parked.RanAfterDestroyed);
    }
    {
        TFreeReport running;
        HANDLE blocker = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        auto* thread = new ReportingThread(running, blocker);
        thread->Resume();
        ASSERT_TRUE(PumpUntil([&] { return thread->Passes > 0; }, 5000));
        const DWORD start = ::GetTickCount();
        thread->Free(); // while it waits outside any safe point
        EXPECT_LT(::GetTickCount() - start, 200u);
        EXPECT_FALSE(running.Destroyed);
        ::SetEvent(blocker);
        ASSERT_TRUE(PumpUntil([&] { return running.Destroyed.load(); }, 5000));
        EXPECT_NE(running.DestroyedOn, ::GetCurrentThreadId());
        ASSERT_TRUE(PumpUntil([&] { return TLiveCount<TThread>::Alive() == alive; }, 5000));
        EXPECT_FALSE(running.SynchronisedCallRan);
        EXPECT_FALSE(running.RanAfterDestroyed);
        ::CloseHandle(blocker);
    }
}

// Waits for an object on a worker, and the three ways such a wait ends.
class SignalWaiter : public TThread {
public:
    explicit SignalWaiter(HANDLE Object) : Object(Object) {}
    std::atomic<bool> Waiting{false}, Ended{false};
    std::atomic<int> Result{-1};
    DWORD Limit = INFINITE;
    bool StopFirst = false; // asks itself to park before it waits

protected:
    void Execute() override
    {
        if (StopFirst) Terminate();
        Waiting = true;
        Result = int(WaitForSignal(Object, Limit));
        Ended = true;
    }

private:
    const HANDLE Object;
};

TEST(Thread, WaitForSignalEndsSignalledTimedOutOrStopped)
{
    HANDLE object = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        SignalWaiter signalled(object);
        signalled.Resume();
        ASSERT_TRUE(PumpUntil([&] { return signalled.Waiting.load(); }, 5000));
        ::SetEvent(object);
        ASSERT_TRUE(PumpUntil([&] { return signalled.Ended.load(); }, 5000));
        EXPECT_EQ(signalled.Result, int(TWaitResult::Signalled));
        ::ResetEvent(object);
    }
    {
        SignalWaiter timedOut(object);
        timedOut.Limit = 300;
        const DWORD start = ::GetTickCount();
        timedOut.Resume();
        ASSERT_TRUE(PumpUntil([&] { return timedOut.Ended.load(); }, 5000));
        EXPECT_EQ(timedOut.Result, int(TWaitResult::TimedOut));
        EXPECT_GE(::GetTickCount() - start + 20, 300u);
    }
    // Asked to park or to end meanwhile, or already: the wait ends at once.
    for (int how = 0; how < 3; ++how) {
        SignalWaiter stopped(object);
        stopped.StopFirst = how == 2;
        stopped.Resume();
        ASSERT_TRUE(PumpUntil([&] { return stopped.Waiting.load(); }, 5000));
        if (how == 0) stopped.Suspend();
        if (how == 1) stopped.Terminate();
        ASSERT_TRUE(PumpUntil([&] { return stopped.Ended.load(); }, 5000)) << how;
        EXPECT_EQ(stopped.Result, int(TWaitResult::Stopped)) << how;
        stopped.Terminate();
    }
    ::CloseHandle(object);
}

// A form whose creation handler sees the derived object complete.
class TProbeForm : public TForm {
public:
    explicit TProbeForm(TComponent* AOwner) : TForm(AOwner), Marker(7)
    {
        OnCreate = [this](TObject*) { SeenInCreate = Marker; };
    }
    int Marker;
    int SeenInCreate = 0;
    std::vector<UINT> Dispatched;

protected:
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg >= WM_APP && Message.Msg < WM_APP + 100) {
            Dispatched.push_back(Message.Msg);
            Message.Result = Message.Msg - WM_APP;
            return;
        }
        TForm::Dispatch(Message);
    }
};

WNDPROC OldProc;
std::vector<UINT> Subclassed;

LRESULT CALLBACK ReplacementProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg >= WM_APP && Msg < WM_APP + 100) Subclassed.push_back(Msg);
    if (Msg == WM_APP + 50) return 500;
    return ::CallWindowProcA(OldProc, Wnd, Msg, WParam, LParam);
}

TEST(Form, TwoPhaseCreationDispatchAndSubclassing)
{
    TProbeForm* form = nullptr;
    Application->CreateForm(form);
    EXPECT_EQ(form->SeenInCreate, 7);
    EXPECT_FALSE(form->HandleAllocated()); // nothing needed a window yet

    HWND wnd = form->Handle();
    EXPECT_EQ(::SendMessageA(wnd, WM_APP + 3, 0, 0), 3);
    OldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReplacementProc)));
    EXPECT_EQ(::SendMessageA(wnd, WM_APP + 4, 0, 0), 4);
    EXPECT_EQ(::SendMessageA(wnd, WM_APP + 50, 0, 0), 500);
    EXPECT_EQ(Subclassed, (std::vector<UINT>{WM_APP + 4, WM_APP + 50}));
    EXPECT_EQ(form->Dispatched, (std::vector<UINT>{WM_APP + 3, WM_APP + 4}));
    EXPECT_EQ(Application->MainForm, form);
    delete form;
    EXPECT_EQ(Application->MainForm, nullptr);
}

TEST(Form, KeyPreviewAndCloseHandlers)
{
    TForm form(nullptr);
    form.KeyPreview = true;
    std::string keys;
    form.OnKeyPress = [&](TObject*, char& key) { keys += key; };
    bool allow = false;
    int closes = 0;
    form.OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
    form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    ::SendMessageA(form.Handle(), WM_CHAR, 27, 0);
    EXPECT_EQ(keys, "\x1b");
    ::SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 0);
    allow = true;
    ::SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
}

std::vector<std::string> OffThread;
void NoteOffThread(const std::string& What) { OffThread.push_back(What); }

// What the check reported of one change made on a thread of its own. (The
// main thread waits meanwhile, so no change here may send its window a
// message.)
std::vector<std::string> ChangedOnAWorker(const std::function<void()>& Change)
{
    OffThread.clear();
    std::thread(Change).join();
    return OffThread;
}

TEST(ThreadCheck, ChangesOffTheWindowsThreadAreCaught)
{
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->Name = "Status";
    label->SetParent(&form);
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    TThreadCheckFailure previous = SetThreadCheckFailure(NoteOffThread);

    // Before the form has a window nothing owns the label yet.
    EXPECT_TRUE(ChangedOnAWorker([&] { label->SetCaption("early"); }).empty());
    form.HandleNeeded();
    OffThread.clear();
    label->SetCaption("on the main thread");
    label->Hide();
    form.SetBounds(0, 0, 200, 100);
    timer.SetInterval(50);
    EXPECT_TRUE(OffThread.empty());

#ifdef TOOLKIT_THREAD_CHECKS
    const std::vector<std::string> caption = ChangedOnAWorker([&] { label->SetCaption("from a worker"); });
    ASSERT_FALSE(caption.empty());
    EXPECT_EQ(caption[0].rfind("TLabel Status on thread ", 0), 0u) << caption[0];
    EXPECT_FALSE(ChangedOnAWorker([&] { label->Show(); }).empty());
    EXPECT_FALSE(ChangedOnAWorker([&] { label->BringToFront(); }).empty());
    EXPECT_FALSE(ChangedOnAWorker([&] { label->SetBounds(5, 5, 80, 13); }).empty());
    const std::vector<std::string> timing = ChangedOnAWorker([&] { timer.SetEnabled(true); });
    ASSERT_FALSE(timing.empty());
    EXPECT_EQ(timing[0].rfind("TTimer ", 0), 0u) << timing[0];
    timer.SetEnabled(false);
#else
    ADD_FAILURE() << "the test programs are built without the thread check";
#endif
    SetThreadCheckFailure(previous);
}

class Recorder : public TPlatformSeam {
public:
    std::vector<std::string> Calls;
    int MessageBox(HWND, const std::string& Text, const std::string& Caption, UINT Flags) override
    {
        Calls.push_back(Caption + "|" + Text + "|" + std::to_string(Flags));
        return IDOK;
    }
};

TEST(Application, MessageBoxesAndExceptionsGoThroughTheSeam)
{
    Recorder recorder;
    TPlatformSeam* previous = SetPlatform(&recorder);
    Application->MessageBox("Can't Load 802.11g dll.", "Load dll error", MB_ICONERROR);
    try {
        throw EConvertError("Bad value");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    SetPlatform(previous);
    ASSERT_EQ(recorder.Calls.size(), 2u);
    EXPECT_EQ(recorder.Calls[0], "Load dll error|Can't Load 802.11g dll.|16");
    EXPECT_EQ(recorder.Calls[1], Application->Title() + "|Bad value.|" + std::to_string(MB_OK | MB_ICONSTOP));
}

std::string TempIni(const std::string& name, const std::string& text)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(IniFile, RoundTripsTextsAndReadsIntegersStrictly)
{
    std::string path = TempIni("toolkit.ini", "[Numbers]\r\nplain=42\r\npadded=  -7  \r\nhex=0x10\r\nmixed=12abc\r\n"
                                              "huge=99999999999\r\nempty=\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("numbers", "PLAIN", 0), 42);
    EXPECT_EQ(ini.ReadInteger("Numbers", "padded", 0), -7);
    for (const char* key : {"hex", "mixed", "huge", "empty", "absent"})
        EXPECT_EQ(ini.ReadInteger("Numbers", key, 11), 11) << key;

    ini.WriteString("Texts", "SSID", "My Home Network 5");
    ini.WriteInteger("Texts", "First", 0);
    EXPECT_EQ(ini.ReadString("texts", "ssid", "?"), "My Home Network 5");
    EXPECT_TRUE(ini.SectionExists("TEXTS"));
    EXPECT_FALSE(ini.SectionExists("DeviceID"));
    EXPECT_TRUE(ini.ValueExists("Texts", "first"));
    EXPECT_FALSE(ini.ValueExists("Texts", "ID1"));
    ini.UpdateFile();
    EXPECT_NE(ReadFile(path).find("SSID=My Home Network 5"), std::string::npos);

    std::string longValue(5000, 'v');
    ini.WriteString("Texts", "Long", longValue);
    EXPECT_EQ(ini.ReadString("Texts", "Long", ""), longValue);
    std::remove(path.c_str());
}

TEST(IniFile, RefusesRelativePaths)
{
    EXPECT_THROW(TIniFile("WLAN.INI"), EIniFileException);
    EXPECT_THROW(TIniFile("sub\\WLAN.INI"), EIniFileException);
}

} // namespace
