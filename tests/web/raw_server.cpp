#include "raw_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace webtest {
namespace {

std::size_t ContentLength(const std::string& head) {
    std::string lower = head;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos) return 0;
    return std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

}  // namespace

std::string ReadRequest(int fd) {
    std::string data;
    char buffer[4096];
    for (;;) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return data;
        data.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<unsigned char>(data[0]) == 0x16) return data;  // TLS ClientHello
        const std::size_t end = data.find("\r\n\r\n");
        if (end != std::string::npos &&
            data.size() >= end + 4 + ContentLength(data.substr(0, end))) {
            return data;
        }
    }
}

RawServer::RawServer(Responder responder, Pace pace)
    : responder_(std::move(responder)), pace_(pace) {
    listenOn(false);
}

RawServer::RawServer(Responder responder, bool ipv6)
    : responder_(std::move(responder)), ipv6_(ipv6) {
    listenOn(ipv6);
}

void RawServer::listenOn(bool ipv6) {
    listenFd_ = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    wakeFd_ = eventfd(0, EFD_CLOEXEC);
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
    if (listenFd_ < 0 || wakeFd_ < 0 || bind(listenFd_, any, len) != 0 ||
        listen(listenFd_, 16) != 0 || getsockname(listenFd_, any, &len) != 0) {
        if (listenFd_ >= 0) close(listenFd_);
        if (wakeFd_ >= 0) close(wakeFd_);
        throw std::runtime_error("test server could not listen");
    }
    port_ = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port
                       : reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
    thread_ = std::thread([this] { serve(); });
}

RawServer::~RawServer() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
    thread_.join();
    close(listenFd_);
    close(wakeFd_);
}

std::vector<std::string> RawServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool RawServer::waitForRequests(std::size_t n) const {
    for (int i = 0; i < 500; ++i) {
        if (requests().size() >= n) return true;
        usleep(10000);
    }
    return false;
}

// True when `fd` has data; false when the server is being shut down.
bool RawServer::waitReadable(int fd) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    while (poll(fds, 2, -1) < 0) {}
    return (fds[1].revents & POLLIN) == 0;
}

void RawServer::serve() {
    while (waitReadable(listenFd_)) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        handle(fd);
        close(fd);
    }
}

void RawServer::handle(int fd) {
    if (!waitReadable(fd)) return;
    const std::string request = ReadRequest(fd);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    const std::optional<std::string> answer = responder_(request);
    if (!answer) {
        // Hold the connection without a word until the client leaves or the
        // server shuts down.
        char c;
        while (waitReadable(fd) && recv(fd, &c, 1, 0) > 0) {}
        return;
    }
    send(fd, *answer);
    shutdown(fd, SHUT_WR);
}

bool RawServer::shuttingDown(int waitMs) const {
    pollfd wake = {wakeFd_, POLLIN, 0};
    return poll(&wake, 1, waitMs) > 0;
}

void RawServer::send(int fd, const std::string& answer) const {
    const std::size_t piece = pace_.bytes == 0 ? answer.size() : pace_.bytes;
    std::size_t sent = 0;
    while (sent < answer.size()) {
        if (sent > 0 && pace_.gapMs > 0 && shuttingDown(pace_.gapMs)) return;
        const std::size_t end = std::min(answer.size(), sent + piece);
        while (sent < end) {
            const ssize_t n = ::send(fd, answer.data() + sent, end - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }
}

}  // namespace webtest
