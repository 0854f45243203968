// A minimal HTTP server on 127.0.0.1 that hands back exact bytes and records
// the exact bytes it received, for tests that check what goes over the wire.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "test_socket.h"

namespace webtest {

// An answer sent `bytes` at a time with `gapMs` between the pieces.
struct Pace {
    std::size_t bytes = 0;  // 0: all at once
    int gapMs = 0;
};

class RawServer {
public:
    // Given the request bytes (header block and body), returns the bytes to
    // answer with, or nothing to keep the connection open without a word
    // until the server is destroyed.
    using Responder = std::function<std::optional<std::string>(const std::string& request)>;

    explicit RawServer(Responder responder, Pace pace = {});
    // Listens on [::1] instead of 127.0.0.1; throws when the machine has no
    // IPv6 loopback.
    RawServer(Responder responder, bool ipv6);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int Port() const { return port_; }
    std::string Base() const {
        return (ipv6_ ? "http://[::1]:" : "http://127.0.0.1:") + std::to_string(port_);
    }
    std::vector<std::string> Requests() const;
    // Waits up to about five seconds for `n` recorded requests.
    bool WaitForRequests(std::size_t n) const;

private:
    void Serve();
    void Handle(Socket connection);
    bool AwaitData(Socket socket) const;
    bool ShuttingDown(int waitMs) const;
    void SendAnswer(Socket connection, const std::string& answer) const;

    void ListenOn(bool ipv6);

    Responder responder_;
    Pace pace_;
    bool ipv6_ = false;
    Socket listener_ = kNoSocket;
    // A connected pair: a byte sent on one end wakes the server to shut down.
    Socket wakeSender_ = kNoSocket;
    Socket wakeReceiver_ = kNoSocket;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// Reads one request from `connection` the way RawServer does: the header
// block, then as many body bytes as Content-Length says; a TLS handshake
// record is taken as it arrives.
std::string ReadRequest(Socket connection);

}  // namespace webtest
