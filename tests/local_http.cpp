#include "local_http.h"

#include <winsock2.h>

#include <fstream>
#include <string>

#ifndef LOCAL_HTTP_PORT_FILE
#error LOCAL_HTTP_PORT_FILE must name the file that holds the port of the local web server
#endif

std::string LocalHttpAddress()
{
    std::ifstream file(LOCAL_HTTP_PORT_FILE);
    int port = 0;
    if (!(file >> port) || port <= 0) return "";
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

RefusingPort::RefusingPort() : Socket(INVALID_SOCKET)
{
    WSADATA data;
    Started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!Started) return;
    Socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (Socket == INVALID_SOCKET || ::bind(Socket, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(Socket, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    Port = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort()
{
    if (Socket != INVALID_SOCKET) ::closesocket(Socket);
    if (Started) ::WSACleanup();
}

std::string RefusingPort::Address() const
{
    return Port ? "http://127.0.0.1:" + std::to_string(Port) + "/" : "";
}
