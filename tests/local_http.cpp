#include "local_http.h"

#include <winsock2.h>

#include <fstream>
#include <string>

#ifndef LOCAL_HTTP_PORT_FILE
#error LOCAL_HTTP_PORT_FILE must name the file that holds the port of the local web server
#endif

namespace {

// A socket bound to a port of 127.0.0.1 that the system picks, and that port.
SOCKET BoundLoopbackSocket(int& Port)
{
    const SOCKET bound = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (bound == INVALID_SOCKET || ::bind(bound, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(bound, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return bound;
    Port = ntohs(address.sin_port);
    return bound;
}

std::string LoopbackAddress(int Port) { return Port ? "http://127.0.0.1:" + std::to_string(Port) + "/" : ""; }

} // namespace

std::string LocalHttpAddress()
{
    std::ifstream file(LOCAL_HTTP_PORT_FILE);
    int port = 0;
    if (!(file >> port) || port <= 0) return "";
    return LoopbackAddress(port);
}

RefusingPort::RefusingPort() : Socket(INVALID_SOCKET)
{
    WSADATA data;
    Started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!Started) return;
    Socket = BoundLoopbackSocket(Port);
}

RefusingPort::~RefusingPort()
{
    if (Socket != INVALID_SOCKET) ::closesocket(Socket);
    if (Started) ::WSACleanup();
}

std::string RefusingPort::Address() const { return LoopbackAddress(Port); }

SilentServer::SilentServer() : Listener(INVALID_SOCKET)
{
    WSADATA data;
    Started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!Started) return;
    int port = 0;
    Listener = BoundLoopbackSocket(port);
    if (!port || ::listen(Listener, SOMAXCONN) != 0) return;
    Port = port;
    Acceptor = std::thread([this] { Accept(); });
}

// Looks for a connection every 50 ms, so that it sees the end coming.
void SilentServer::Accept()
{
    while (!Stopping) {
        fd_set waiting;
        FD_ZERO(&waiting);
        FD_SET(Listener, &waiting);
        timeval pause{0, 50000};
        if (::select(0, &waiting, nullptr, nullptr, &pause) != 1) continue;
        const SOCKET connection = ::accept(Listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) continue;
        Held.push_back(connection);
        ++Accepted;
    }
}

SilentServer::~SilentServer()
{
    Stopping = true;
    if (Acceptor.joinable()) Acceptor.join();
    for (uintptr_t connection : Held) ::closesocket(connection);
    if (Listener != INVALID_SOCKET) ::closesocket(Listener);
    if (Started) ::WSACleanup();
}

std::string SilentServer::Address() const { return LoopbackAddress(Port); }
