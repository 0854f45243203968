// The page request tells a caller that asks how it ended, without changing
// what it returns.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "raw_server.h"
#include "runtime/thread.h"
#include "test_socket.h"
#include "web/request.h"
#include "web/transfer.h"

namespace {

using web::Outcome;
using web::RequestOutcome;
using webtest::RawServer;

// A listening socket on 127.0.0.1 that never accepts: its backlog is full
// after one connection, so a further connection attempt gets no answer.
// (Linux drops the connection attempt; so does wine, over Linux sockets.)
class FullBacklog {
public:
    FullBacklog() {
        listen_ = webtest::ListenOnLoopback(false, 0, &port_);
        for (webtest::Socket& s : filler_) s = webtest::StartConnecting(port_);
        usleep(50 * 1000);
    }
    ~FullBacklog() {
        for (webtest::Socket s : filler_) webtest::Close(s);
        webtest::Close(listen_);
    }
    FullBacklog(const FullBacklog&) = delete;
    FullBacklog& operator=(const FullBacklog&) = delete;
    int Port() const { return port_; }

private:
    webtest::Socket listen_ = webtest::kNoSocket;
    webtest::Socket filler_[2] = {webtest::kNoSocket, webtest::kNoSocket};
    int port_ = 0;
};

TEST(Outcome, EachEndIsReportedAndTheResultStaysTheSame) {
    RawServer server([](const std::string& request) -> std::optional<std::string> {
        if (request.rfind("GET /missing ", 0) == 0)
            return std::string("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone");
        if (request.rfind("GET /short ", 0) == 0)
            return std::string("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\npart");
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    });
    const int closedPort = [] {
        RawServer gone([](const std::string&) { return std::nullopt; });
        return gone.Port();
    }();

    struct Case {
        std::string url;
        RequestOutcome expected;
        rt::Text page;
    };
    const Case cases[] = {
        {server.Base() + "/", {Outcome::Ok, 200}, "ok"},
        {server.Base() + "/missing", {Outcome::HttpStatus, 404}, "gone"},
        {server.Base() + "/short", {Outcome::CutShort, 200}, "part"},
        {"http://127.0.0.1:" + std::to_string(closedPort) + "/",
         {Outcome::ConnectionRefused, 0},
         ""},
        {"http://nonexistent.invalid/", {Outcome::HostNotFound, 0}, ""},
        {"http://bad@host/", {Outcome::HostNotFound, 0}, ""},
    };
    for (const Case& c : cases) {
        RequestOutcome outcome{Outcome::Failed, -1};
        EXPECT_EQ(web::WebRequestText(c.url, {.outcome = &outcome}), c.page) << c.url;
        EXPECT_EQ(outcome, c.expected) << c.url;
        EXPECT_EQ(web::WebRequestText(c.url), c.page) << c.url;
    }

    RequestOutcome stopped;
    std::atomic<bool> go{false};
    rt::ThreadHandle worker;
    ASSERT_TRUE(rt::StartThread(
        [&] {
            while (!go) usleep(1000);
            web::WebRequest(server.Base() + "/", {.outcome = &stopped});
        },
        &worker));
    rt::StopThread(worker);
    go = true;
    worker.join();
    EXPECT_EQ(stopped.kind, Outcome::Stopped);
}

TEST(Outcome, TimeoutsTellConnectFromTransfer) {
    web::TransferLimits limits;
    limits.connectTimeoutMs = 300;
    limits.lowSpeedSeconds = 1;
    web::TransferRequest request;

    FullBacklog unanswered;
    request.endpoint =
        *web::EndpointOf("http://127.0.0.1:" + std::to_string(unanswered.Port()) + "/");
    EXPECT_EQ(web::RunTransfer(request, limits).outcome.kind, Outcome::ConnectTimedOut);

    RawServer silent([](const std::string&) { return std::nullopt; });
    request.endpoint = *web::EndpointOf(silent.Base() + "/");
    EXPECT_EQ(web::RunTransfer(request, limits).outcome.kind, Outcome::TooSlow);

    limits.maxBodyBytes = 1;
    RawServer big([](const std::string&) {
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nab");
    });
    request.endpoint = *web::EndpointOf(big.Base() + "/");
    EXPECT_EQ(web::RunTransfer(request, limits).outcome.kind, Outcome::BodyTooLarge);
}

}  // namespace
