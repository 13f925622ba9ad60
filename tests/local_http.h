// Web addresses on this computer for the Internet tests: the local web
// server that the test run starts (tests/local_http.sh), and a port that
// refuses every connection.
#pragma once
#include <cstdint>
#include <string>

// "http://127.0.0.1:PORT/" of the running local server; empty when the
// test run did not start one.
std::string LocalHttpAddress();

// A port of 127.0.0.1 that is bound and never listens, so that a
// connection to it is refused at once, for as long as the object lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    std::string Address() const; // "http://127.0.0.1:PORT/"

private:
    bool Started = false;
    uintptr_t Socket; // a SOCKET
    int Port = 0;
};
