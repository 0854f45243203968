#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loopback_address.h"
#include "test_socket.h"

namespace webtest {

Socket ListenOnLoopback(bool ipv6, int backlog, int* port) {
    const int fd = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_storage addr;
    socklen_t len = LoopbackAddress(ipv6, 0, &addr);
    auto* any = reinterpret_cast<sockaddr*>(&addr);
    if (fd < 0 || bind(fd, any, len) != 0 || listen(fd, backlog) != 0 ||
        getsockname(fd, any, &len) != 0) {
        if (fd >= 0) close(fd);
        return kNoSocket;
    }
    *port = PortOf(addr);
    return fd;
}

Socket Accept(Socket listener) {
    const int fd = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? kNoSocket : fd;
}

Socket StartConnecting(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_storage addr;
    const int len = LoopbackAddress(false, port, &addr);
    connect(fd, reinterpret_cast<sockaddr*>(&addr), len);
    return fd;
}

long Receive(Socket socket, char* buffer, std::size_t size) {
    return recv(static_cast<int>(socket), buffer, size, 0);
}

long Send(Socket socket, const char* data, std::size_t size) {
    return send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
}

void ShutdownSending(Socket socket) { shutdown(static_cast<int>(socket), SHUT_WR); }

void Close(Socket socket) { close(static_cast<int>(socket)); }

bool WaitReadable(const Socket* sockets, bool* readable, int count, int timeoutMs) {
    pollfd fds[4] = {};
    for (int i = 0; i < count; ++i) fds[i] = {static_cast<int>(sockets[i]), POLLIN, 0};
    int n;
    while ((n = poll(fds, static_cast<nfds_t>(count), timeoutMs)) < 0) {}
    for (int i = 0; i < count; ++i) readable[i] = (fds[i].revents & (POLLIN | POLLHUP)) != 0;
    return n > 0;
}

}  // namespace webtest
