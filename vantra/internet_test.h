// Whether the Internet answers: the link page's infrastructure picture
// stands for a link that reaches it, the missing-Internet picture for one
// that does not.
#pragma once
#include <windows.h>

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

// Runs TestInternetConnection on a thread of its own, which nobody waits
// for: WinINet may block beyond its time-outs. The caller waits for Done as
// long as it likes and may give the test up; the test then ends by itself,
// touching nothing but the answer it shares with this object.
class TInternetTest {
public:
    TInternetTest(); // starts the test
    HANDLE Done() const;
    bool Reachable() const; // the answer, once Done is signalled

private:
    struct Answer;
    std::shared_ptr<Answer> Shared;
};
