#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "test_socket.h"

namespace webtest {

Socket ListenOnLoopback(bool ipv6, int backlog, int* port) {
    const int fd = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_storage addr{};
    socklen_t len = ipv6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    if (ipv6) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&addr);
        in6->sin6_family = AF_INET6;
        in6->sin6_addr = in6addr_loopback;
    } else {
        auto* in = reinterpret_cast<sockaddr_in*>(&addr);
        in->sin_family = AF_INET;
        in->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    }
    auto* any = reinterpret_cast<sockaddr*>(&addr);
    if (fd < 0 || bind(fd, any, len) != 0 || listen(fd, backlog) != 0 ||
        getsockname(fd, any, &len) != 0) {
        if (fd >= 0) close(fd);
        return kNoSocket;
    }
    *port = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port
                       : reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
    return fd;
}

Socket Accept(Socket listener) {
    const int fd = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? kNoSocket : fd;
}

Socket StartConnecting(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
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
