// The page request against a cpp-httplib server: the shared cookie store,
// automatic redirects, failures and the bounds on misbehaving servers.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "http_server.h"
#include "raw_server.h"
#include "web/request.h"
#include "web/transfer.h"

namespace {

using webtest::HttpServer;

// A port on 127.0.0.1 with nothing listening on it.
int ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    close(fd);
    return ntohs(addr.sin_port);
}

void Routes(httplib::Server& s) {
    s.Get("/set", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "storeid=42; Path=/");
        res.set_content("set", "text/plain");
    });
    s.Get("/manual", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "manualid=7; Path=/");
        res.set_content("manual", "text/plain");
    });
    s.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.get_header_value("Cookie"), "text/plain");
    });
    s.Get("/hop", [](const httplib::Request&, httplib::Response& res) {
        res.status = 302;
        res.set_header("Location", "/landing");
        res.set_content("moving", "text/plain");
    });
    s.Get("/landing", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("X-Final", "yes");
        res.set_content("landed", "text/plain");
    });
    s.Get("/big", [](const httplib::Request&, httplib::Response& res) {
        std::string body(3u << 20, 'b');
        for (std::size_t i = 0; i < body.size(); i += 4096)
            body[i] = static_cast<char>('a' + i % 26);
        res.set_content(body, "application/octet-stream");
    });
    s.Get("/endless", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/octet-stream",
                                         [](std::size_t, httplib::DataSink& sink) {
                                             static const std::string kBlock(64 * 1024, 'e');
                                             return sink.write(kBlock.data(), kBlock.size());
                                         });
    });
}

TEST(CookieStore, CookiesAreKeptBetweenCallsThatSupplyNone) {
    HttpServer server(Routes);
    EXPECT_EQ(web::WebRequestText(server.Base() + "/set"), "set");
    EXPECT_NE(web::WebRequestText(server.Base() + "/echo").find("storeid=42"), rt::Text::npos);
}

TEST(CookieStore, SuppliedCookiesBypassTheStore) {
    HttpServer server(Routes);
    web::WebRequestText(server.Base() + "/set");
    rt::Text cookies;
    EXPECT_EQ(web::WebRequestText(server.Base() + "/echo", {.cookies = &cookies}), "");
    EXPECT_EQ(web::WebRequestText(server.Base() + "/manual", {.cookies = &cookies}), "manual");
    EXPECT_EQ(cookies, "manualid=7");
    EXPECT_EQ(web::WebRequestText(server.Base() + "/echo").find("manualid"), rt::Text::npos);
}

TEST(CookieStore, NewCookiesOnEveryAnswerKeepOnlyTheNewestOfTheHost) {
    int answers = 0;
    webtest::RawServer flood([&](const std::string&) -> std::optional<std::string> {
        std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n";
        ++answers;
        for (int i = 0; i < 100; ++i) {
            head += "Set-Cookie: p" + std::to_string(answers) + "c" + std::to_string(i) +
                    "=1; Path=/\r\n";
        }
        return head + "\r\nok";
    });
    for (int page = 0; page < 4; ++page) EXPECT_EQ(web::WebRequestText(flood.Base() + "/"), "ok");
    const std::string last = flood.Requests()[3];
    const std::size_t from = last.find("\r\nCookie: "), to = last.find("\r\n", from + 2);
    ASSERT_NE(from, std::string::npos);
    const std::string line = last.substr(from, to - from);
    EXPECT_EQ(std::count(line.begin(), line.end(), '='), 180);
    EXPECT_EQ(line.find("p1c"), std::string::npos);
    EXPECT_EQ(line.find("p2c19="), std::string::npos);
    EXPECT_EQ(line.find("Cookie: p2c20=1; "), 2u);  // the oldest kept comes first
    EXPECT_NE(line.find("; p3c99=1"), std::string::npos);
}

TEST(AutomaticRedirect, FollowedUnlessNoRedirectWithFinalHeaders) {
    HttpServer server(Routes);
    rt::Text responseHeaders, location;
    EXPECT_EQ(web::WebRequestText(server.Base() + "/hop",
                                  {.location = &location, .responseHeaders = &responseHeaders}),
              "landed");
    EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(responseHeaders.find("X-Final: yes\r\n"), rt::Text::npos);
    EXPECT_EQ(responseHeaders.find("Location"), rt::Text::npos);

    EXPECT_EQ(
        web::WebRequestText(server.Base() + "/hop", {.location = &location, .noRedirect = true}),
        "moving");
    EXPECT_EQ(location, "/landing");
}

TEST(Bounds, LargeBodyArrivesWhole) {
    HttpServer server(Routes);
    const rt::ByteBuffer body = web::WebRequest(server.Base() + "/big");
    ASSERT_EQ(body.size(), 3u << 20);
    EXPECT_EQ(body[4096], 'a' + 4096 % 26);
}

TEST(Bounds, EndlessBodyFailsAtTheLimit) {
    HttpServer server(Routes);
    rt::Text responseHeaders = "before";
    EXPECT_TRUE(
        web::WebRequest(server.Base() + "/endless", {.responseHeaders = &responseHeaders}).empty());
    EXPECT_EQ(responseHeaders, "before");
}

TEST(Bounds, BodyLimitAllowsExactlyItsSize) {
    webtest::RawServer server([](const std::string& request) -> std::optional<std::string> {
        const std::size_t n = request.rfind("GET /1001 ", 0) == 0 ? 1001 : 1000;
        return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(n) + "\r\n\r\n" +
               std::string(n, 'x');
    });
    web::TransferLimits limits;
    limits.maxBodyBytes = 1000;
    web::TransferRequest request;
    request.endpoint = *web::EndpointOf(server.Base() + "/1000");
    const auto full = web::RunTransfer(request, limits);
    ASSERT_TRUE(full.delivered);
    EXPECT_EQ(full.body.size(), 1000u);
    request.endpoint = *web::EndpointOf(server.Base() + "/1001");
    EXPECT_FALSE(web::RunTransfer(request, limits).delivered);
}

TEST(Bounds, SilentServerFailsAtTheLowSpeedLimit) {
    webtest::RawServer silent([](const std::string&) { return std::nullopt; });
    web::TransferRequest request;
    request.endpoint = *web::EndpointOf(silent.Base() + "/");
    web::TransferLimits limits;
    limits.lowSpeedSeconds = 1;
    EXPECT_FALSE(web::RunTransfer(request, limits).delivered);
}

TEST(Failures, HttpsWithAnUntrustedCertificateFails) {
    char dir[] = "/tmp/web-tls-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string cert = std::string(dir) + "/cert.pem", key = std::string(dir) + "/key.pem";
    const std::string make =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 -subj "
        "/CN=localhost "
        "-keyout " +
        key + " -out " + cert + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0);
    httplib::SSLServer server(cert.c_str(), key.c_str());
    std::atomic<int> served{0};
    server.Get("/", [&](const httplib::Request&, httplib::Response& res) {
        ++served;
        res.set_content("secret", "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running()) usleep(1000);

    EXPECT_EQ(web::WebRequestText("https://localhost:" + std::to_string(port) + "/"), "");
    EXPECT_EQ(served.load(), 0);
    server.stop();
    thread.join();
    [[maybe_unused]] const int rc = std::system(("rm -rf " + std::string(dir)).c_str());
}

TEST(Failures, RefusedOrUnresolvableChangesNoArgument) {
    for (const rt::Text& url : {"http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x",
                                rt::Text("http://nonexistent.invalid/x")}) {
        rt::Text cookies = "c=1", received = "r", headers = "H: 1", location = "l", seen = "s";
        rt::ByteBuffer postBytes;
        EXPECT_EQ(web::WebRequestText(url, {.method = 1,
                                            .postText = rt::Text("body"),
                                            .cookies = &cookies,
                                            .receivedCookies = &received,
                                            .headers = &headers,
                                            .location = &location,
                                            .postBytes = &postBytes,
                                            .responseHeaders = &seen}),
                  "");
        EXPECT_EQ(cookies, "c=1");
        EXPECT_EQ(received, "r");
        EXPECT_EQ(headers, "H: 1");
        EXPECT_EQ(location, "l");
        EXPECT_EQ(seen, "s");
        EXPECT_TRUE(postBytes.empty());
    }
}

}  // namespace
