#include "raw_server.h"

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

std::string ReadRequest(Socket connection) {
    std::string data;
    char buffer[4096];
    for (;;) {
        const long n = Receive(connection, buffer, sizeof buffer);
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
    ListenOn(false);
}

RawServer::RawServer(Responder responder, bool ipv6)
    : responder_(std::move(responder)), ipv6_(ipv6) {
    ListenOn(ipv6);
}

void RawServer::ListenOn(bool ipv6) {
    listener_ = ListenOnLoopback(ipv6, 16, &port_);
    int wakePort = 0;
    const Socket wakeListener = ListenOnLoopback(false, 1, &wakePort);
    if (wakeListener != kNoSocket) {
        wakeSender_ = StartConnecting(wakePort);
        wakeReceiver_ = Accept(wakeListener);
        Close(wakeListener);
    }
    if (listener_ == kNoSocket || wakeReceiver_ == kNoSocket) {
        for (Socket s : {listener_, wakeSender_, wakeReceiver_}) {
            if (s != kNoSocket) Close(s);
        }
        throw std::runtime_error("test server could not listen");
    }
    thread_ = std::thread([this] { Serve(); });
}

RawServer::~RawServer() {
    Send(wakeSender_, "x", 1);
    thread_.join();
    for (Socket s : {listener_, wakeSender_, wakeReceiver_}) Close(s);
}

std::vector<std::string> RawServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool RawServer::WaitForRequests(std::size_t n) const {
    for (int i = 0; i < 500; ++i) {
        if (Requests().size() >= n) return true;
        usleep(10000);
    }
    return false;
}

// True when `socket` has data; false when the server is being shut down.
bool RawServer::AwaitData(Socket socket) const {
    const Socket sockets[2] = {socket, wakeReceiver_};
    bool readable[2] = {};
    while (!WaitReadable(sockets, readable, 2, -1)) {}
    return !readable[1];
}

void RawServer::Serve() {
    while (AwaitData(listener_)) {
        const Socket connection = Accept(listener_);
        if (connection == kNoSocket) continue;
        Handle(connection);
        Close(connection);
    }
}

void RawServer::Handle(Socket connection) {
    if (!AwaitData(connection)) return;
    const std::string request = ReadRequest(connection);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    const std::optional<std::string> answer = responder_(request);
    if (!answer) {
        // Hold the connection without a word until the client leaves or the
        // server shuts down.
        char c;
        while (AwaitData(connection) && Receive(connection, &c, 1) > 0) {}
        return;
    }
    SendAnswer(connection, *answer);
    ShutdownSending(connection);
}

bool RawServer::ShuttingDown(int waitMs) const {
    bool readable = false;
    return WaitReadable(&wakeReceiver_, &readable, 1, waitMs);
}

void RawServer::SendAnswer(Socket connection, const std::string& answer) const {
    const std::size_t piece = pace_.bytes == 0 ? answer.size() : pace_.bytes;
    std::size_t sent = 0;
    while (sent < answer.size()) {
        if (sent > 0 && pace_.gapMs > 0 && ShuttingDown(pace_.gapMs)) return;
        const std::size_t end = std::min(answer.size(), sent + piece);
        while (sent < end) {
            const long n = Send(connection, answer.data() + sent, end - sent);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
    }
}

}  // namespace webtest
