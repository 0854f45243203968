// The page request tells a caller that asks how it ended, without changing
// what it returns.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>

#include "raw_server.h"
#include "runtime/thread.h"
#include "web/request.h"
#include "web/transfer.h"

namespace {

using web::Outcome;
using web::RequestOutcome;
using webtest::RawServer;

// A listening socket on 127.0.0.1 that never accepts: its backlog is full
// after one connection, so a further connection attempt gets no answer.
class FullBacklog {
public:
    FullBacklog() {
        listen_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(listen_, 0);
        getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        for (int& fd : filler_) {
            fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        }
        usleep(50 * 1000);
    }
    ~FullBacklog() {
        for (int fd : filler_) close(fd);
        close(listen_);
    }
    FullBacklog(const FullBacklog&) = delete;
    FullBacklog& operator=(const FullBacklog&) = delete;
    int port() const { return port_; }

private:
    int listen_ = -1;
    int filler_[2] = {-1, -1};
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
        return gone.port();
    }();

    struct Case {
        std::string url;
        RequestOutcome expected;
        rt::Text page;
    };
    const Case cases[] = {
        {server.base() + "/", {Outcome::kOk, 200}, "ok"},
        {server.base() + "/missing", {Outcome::kHttpStatus, 404}, "gone"},
        {server.base() + "/short", {Outcome::kCutShort, 200}, "part"},
        {"http://127.0.0.1:" + std::to_string(closedPort) + "/",
         {Outcome::kConnectionRefused, 0},
         ""},
        {"http://nonexistent.invalid/", {Outcome::kHostNotFound, 0}, ""},
        {"http://bad@host/", {Outcome::kHostNotFound, 0}, ""},
    };
    for (const Case& c : cases) {
        RequestOutcome outcome{Outcome::kFailed, -1};
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
            web::WebRequest(server.base() + "/", {.outcome = &stopped});
        },
        &worker));
    rt::StopThread(worker);
    go = true;
    worker.join();
    EXPECT_EQ(stopped.kind, Outcome::kStopped);
}

TEST(Outcome, TimeoutsTellConnectFromTransfer) {
    web::TransferLimits limits;
    limits.connectTimeoutMs = 300;
    limits.lowSpeedSeconds = 1;
    web::TransferRequest request;

    FullBacklog unanswered;
    request.endpoint =
        *web::EndpointOf("http://127.0.0.1:" + std::to_string(unanswered.port()) + "/");
    EXPECT_EQ(web::RunTransfer(request, limits).outcome.kind, Outcome::kConnectTimedOut);

    RawServer silent([](const std::string&) { return std::nullopt; });
    request.endpoint = *web::EndpointOf(silent.base() + "/");
    EXPECT_EQ(web::RunTransfer(request, limits).outcome.kind, Outcome::kTooSlow);

    limits.maxBodyBytes = 1;
    RawServer big([](const std::string&) {
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nab");
    });
    request.endpoint = *web::EndpointOf(big.base() + "/");
    EXPECT_EQ(web::RunTransfer(request, limits).outcome.kind, Outcome::kBodyTooLarge);
}

}  // namespace
