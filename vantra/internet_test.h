// Whether the Internet answers: the link page's infrastructure picture
// stands for a link that reaches it, the missing-Internet picture for one
// that does not.
#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

// An answer that has not come within this long counts as no Internet; the
// WinINet handles get it as their connect, send and receive time-outs.
constexpr DWORD InternetTestLimitMs = 5000;

// Opens one of five large public portals, chosen at random: one attempt.
// Blocks for as long as WinINet does.
bool TestInternetConnection();
// Whether Url opens over WinINet; nothing is read from it. Every handle
// opened is closed again. An empty Url gives false.
bool OpenUrlTest(const std::string& Url);

// The Internet tests of the status pictures, one at a time. Each runs
// TestInternetConnection on a thread of its own, which nobody waits for:
// WinINet may block far beyond its time-outs (name resolution, proxy
// detection, a server that accepts and never answers). Waiters wait on the
// answer as long as they like and may give it up; the test touches nothing
// but its answer, and closes what it opened once WinINet returns. One
// thread uses the object.
class TInternetTest {
public:
    // What one test answers, shared with the thread that runs it.
    class TAnswer {
    public:
        TAnswer();
        ~TAnswer();
        TAnswer(const TAnswer&) = delete;
        TAnswer& operator=(const TAnswer&) = delete;
        HANDLE Done() const { return Event; } // signalled once the test has ended
        bool Reachable() const { return Answer; } // once Done is signalled
        void Tell(bool Reachable);             // by the test, once

    private:
        const HANDLE Event;
        std::atomic<bool> Answer{false};
    };

    // The test to wait for: the one started last while it still runs, so
    // that tests never pile up, otherwise a new one.
    std::shared_ptr<const TAnswer> Start();
    bool Running() const;

private:
    std::shared_ptr<TAnswer> Last;
};
