// A stop request of the calling thread ends a transfer in progress.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "monotonic_seconds.h"
#include "raw_server.h"
#include "runtime/thread.h"
#include "web/request.h"

namespace {

using webtest::Seconds;

TEST(Abort, StopEndsARequestToASilentServer) {
    webtest::RawServer silent([](const std::string&) { return std::nullopt; });
    std::atomic<bool> returned{false};
    rt::Text result = "unset";
    rt::ThreadHandle worker;
    ASSERT_TRUE(rt::StartThread(
        [&] {
            result = web::WebRequestText(silent.Base() + "/wait");
            returned = true;
        },
        &worker));
    ASSERT_TRUE(silent.WaitForRequests(1));
    const double stoppedAt = Seconds();
    EXPECT_TRUE(rt::StopThread(worker));
    worker.join();
    // Far below the 30 s a silent server is otherwise given.
    EXPECT_LT(Seconds() - stoppedAt, 5.0);
    EXPECT_TRUE(returned);
    EXPECT_EQ(result, "");
}

TEST(Abort, StopInsideABodyKeepsNothingOfIt) {
    webtest::RawServer drip(
        [](const std::string&) {
            return "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(5000, 'd');
        },
        {.bytes = 100, .gapMs = 50});
    rt::Text result = "unset";
    rt::ThreadHandle worker;
    ASSERT_TRUE(rt::StartThread([&] { result = web::WebRequestText(drip.Base() + "/"); }, &worker));
    ASSERT_TRUE(drip.WaitForRequests(1));
    usleep(300 * 1000);  // part of the body has arrived
    rt::StopThread(worker);
    worker.join();
    EXPECT_EQ(result, "");
}

TEST(Abort, StoppedThreadSendsNoRequest) {
    webtest::RawServer server(
        [](const std::string&) { return std::string("HTTP/1.1 200 OK\r\n\r\n"); });
    std::atomic<bool> go{false};
    rt::ByteBuffer result = {1};
    rt::ThreadHandle worker;
    ASSERT_TRUE(rt::StartThread(
        [&] {
            while (!go) usleep(1000);
            result = web::WebRequest(server.Base() + "/never");
        },
        &worker));
    rt::StopThread(worker);
    go = true;
    worker.join();
    EXPECT_TRUE(result.empty());
    EXPECT_TRUE(server.Requests().empty());
}

}  // namespace
