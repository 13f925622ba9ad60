#include "internet_test.h"
#include "toolkit/seam.h"

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

TInternetTest::TAnswer::TAnswer() : Event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

TInternetTest::TAnswer::~TAnswer() { ::CloseHandle(Event); }

void TInternetTest::TAnswer::Tell(bool Reachable)
{
    Answer = Reachable;
    ::SetEvent(Event);
}

bool TInternetTest::Running() const { return Last && ::WaitForSingleObject(Last->Done(), 0) == WAIT_TIMEOUT; }

std::shared_ptr<const TInternetTest::TAnswer> TInternetTest::Start()
{
    if (Running()) return Last;
    Last = std::make_shared<TAnswer>();
    try {
        std::thread([answer = Last] { answer->Tell(TestInternetConnection()); }).detach();
    } catch (const std::system_error&) {
        Last->Tell(false); // no thread, no answer: no Internet
    }
    return Last;
}
