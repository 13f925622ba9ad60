// Web addresses on this computer for the Internet tests: the local web
// server that the test run starts (tests/local_http.sh), a port that
// refuses every connection, and a server that never answers.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

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

// A server on 127.0.0.1 that accepts every connection and never answers,
// holding each open, for as long as the object lives.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    std::string Address() const; // "http://127.0.0.1:PORT/"
    int Connections() const { return Accepted; } // accepted so far

private:
    void Accept();
    bool Started = false;
    uintptr_t Listener; // a SOCKET
    int Port = 0;
    std::atomic<bool> Stopping{false};
    std::atomic<int> Accepted{0};
    std::vector<uintptr_t> Held;
    std::thread Acceptor;
};
