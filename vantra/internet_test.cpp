#include "internet_test.h"
#include "toolkit/seam.h"

#include <cstdlib>
#include <ctime>

namespace {
// Hosts only: opening the address is the test.
const char* const TestUrlTable[] = {"http://www.google.com", "http://www.yahoo.com", "http://www.msn.com",
                                    "http://www.wikipedia.org", "http://www.amazon.com"};
constexpr int TestUrlCount = sizeof TestUrlTable / sizeof *TestUrlTable;
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
    HINTERNET page = seam.InternetOpenUrl(session, Url, INTERNET_FLAG_RELOAD);
    if (page) seam.InternetCloseHandle(page);
    seam.InternetCloseHandle(session);
    return page != nullptr;
}
