#include <winsock2.h>
#include <ws2tcpip.h>

#include "loopback_address.h"
#include "test_socket.h"

namespace webtest {
namespace {

// Winsock is started once, before the first socket.
const bool winsockStarted = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();

SOCKET Native(Socket socket) { return static_cast<SOCKET>(socket); }

}  // namespace

Socket ListenOnLoopback(bool ipv6, int backlog, int* port) {
    if (!winsockStarted) return kNoSocket;
    const SOCKET s = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_storage addr;
    int len = LoopbackAddress(ipv6, 0, &addr);
    auto* any = reinterpret_cast<sockaddr*>(&addr);
    if (s == INVALID_SOCKET || bind(s, any, len) != 0 || listen(s, backlog) != 0 ||
        getsockname(s, any, &len) != 0) {
        if (s != INVALID_SOCKET) closesocket(s);
        return kNoSocket;
    }
    *port = PortOf(addr);
    return static_cast<Socket>(s);
}

Socket Accept(Socket listener) {
    const SOCKET s = accept(Native(listener), nullptr, nullptr);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<Socket>(s);
}

Socket StartConnecting(int port) {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_storage addr;
    const int len = LoopbackAddress(false, port, &addr);
    connect(s, reinterpret_cast<sockaddr*>(&addr), len);
    return static_cast<Socket>(s);
}

long Receive(Socket socket, char* buffer, std::size_t size) {
    return recv(Native(socket), buffer, static_cast<int>(size), 0);
}

long Send(Socket socket, const char* data, std::size_t size) {
    return send(Native(socket), data, static_cast<int>(size), 0);
}

void ShutdownSending(Socket socket) { shutdown(Native(socket), SD_SEND); }

void Close(Socket socket) { closesocket(Native(socket)); }

bool WaitReadable(const Socket* sockets, bool* readable, int count, int timeoutMs) {
    WSAPOLLFD fds[4] = {};
    for (int i = 0; i < count; ++i) {
        fds[i].fd = Native(sockets[i]);
        fds[i].events = POLLRDNORM;
    }
    const int n = WSAPoll(fds, static_cast<ULONG>(count), timeoutMs);
    for (int i = 0; i < count; ++i) readable[i] = (fds[i].revents & (POLLRDNORM | POLLHUP)) != 0;
    return n > 0;
}

}  // namespace webtest
