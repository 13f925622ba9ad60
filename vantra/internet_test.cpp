#include "internet_test.h"
#include "toolkit/seam.h"

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <thread>

namespace {
// Hosts only: opening the address is the test.
const char* const TestUrlTable[] = {"http://www.google.com", "http://www.yahoo.com", "http://www.msn.com",
                                    "http://www.wikipedia.org", "http://www.amazon.com"};
constexpr int TestUrlCount = sizeof TestUrlTable / sizeof *TestUrlTable;

// The handles opened in the session take these; one connect attempt, not
// WinINet's several.
void LimitWaits(HINTERNET Session)
{
    DWORD limit = InternetTestLimitMs;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        ::InternetSetOptionA(Session, option, &limit, sizeof limit);
    DWORD once = 1;
    ::InternetSetOptionA(Session, INTERNET_OPTION_CONNECT_RETRIES, &once, sizeof once);
}
} // namespace

bool TestInternetConnection()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return OpenUrlTest(TestUrlTable[std::rand() % TestUrlCount]);
}

bool OpenUrlTest(const std::string& Url)
{
    if (Url.empty()) return false;
    TPlatformSeam& seam = Platform();
    HINTERNET session = seam.InternetOpen("Kova28x", INTERNET_OPEN_TYPE_PRECONFIG, INTERNET_FLAG_NO_CACHE_WRITE);
    if (!session) return false;
    LimitWaits(session);
    HINTERNET page = seam.InternetOpenUrl(session, Url, INTERNET_FLAG_RELOAD);
    if (page) seam.InternetCloseHandle(page);
    seam.InternetCloseHandle(session);
    return page != nullptr;
}

struct TInternetTest::Answer {
    const HANDLE Done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> Reachable{false};
    ~Answer() { ::CloseHandle(Done); }
};

TInternetTest::TInternetTest() : Shared(std::make_shared<Answer>())
{
    try {
        std::thread([answer = Shared] {
            answer->Reachable = TestInternetConnection();
            ::SetEvent(answer->Done);
        }).detach();
    } catch (const std::system_error&) {
        ::SetEvent(Shared->Done); // no thread, no answer: no Internet
    }
}

HANDLE TInternetTest::Done() const { return Shared->Done; }

bool TInternetTest::Reachable() const { return Shared->Reachable; }
