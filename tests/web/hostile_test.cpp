// Servers that misbehave: pages cut short, bodies that drip, and response or
// caller bytes that would break a header line.
#include <gtest/gtest.h>

#include "raw_server.h"
#include "web/request.h"
#include "web/transfer.h"

namespace {

using webtest::RawServer;

// True when every CR in `request`'s header block is followed by an LF and
// every LF preceded by a CR: no header line carries a lone line break.
bool LinesAreWhole(const std::string& request) {
    const std::string head = request.substr(0, request.find("\r\n\r\n") + 4);
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '\r' && (i + 1 == head.size() || head[i + 1] != '\n')) return false;
        if (head[i] == '\n' && (i == 0 || head[i - 1] != '\r')) return false;
        if (head[i] == '\0') return false;
    }
    return true;
}

// Fetches `bodyBytes` bytes of a ten-megabyte page sent at `pace` within
// `limits`, and checks the transfer ended as `kind` with part of them kept.
void ExpectEndedPartWay(std::size_t bodyBytes, webtest::Pace pace,
                        const web::TransferLimits& limits, web::Outcome kind) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 10000000\r\n\r\n";
    RawServer server([&](const std::string&) { return head + std::string(bodyBytes, 'd'); }, pace);
    web::TransferRequest request;
    request.endpoint = *web::EndpointOf(server.Base() + "/");
    const web::TransferResponse response = web::RunTransfer(request, limits);
    EXPECT_TRUE(response.delivered);
    EXPECT_EQ(response.outcome.kind, kind);
    EXPECT_GT(response.body.size(), 0u);
    EXPECT_LT(response.body.size(), bodyBytes);
}

TEST(CutShort, ThePageIsWhatArrived) {
    RawServer server([](const std::string& request) -> std::optional<std::string> {
        const std::string path = request.substr(4, request.find(' ', 4) - 4);
        if (path == "/short")
            return std::string("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n<b>\xCE\xD2</b>");
        if (path == "/chunks")
            return std::string(
                "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\nZZ\r\n");
        if (path == "/utf8")
            return std::string(
                "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                "Content-Length: 100\r\n\r\n\xE6\x88\x91");
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\n");  // headers only
    });
    rt::Text headers;
    EXPECT_EQ(web::WebRequestText(server.Base() + "/short", {.responseHeaders = &headers}),
              "<b>\xCE\xD2</b>");
    EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n");
    EXPECT_EQ(web::WebRequestText(server.Base() + "/chunks"), "hello");
    EXPECT_EQ(web::WebRequestText(server.Base() + "/utf8"), "\xCE\xD2");  // converted as usual
    rt::Text location = "before";
    EXPECT_EQ(web::WebRequestText(server.Base() + "/empty", {.location = &location}), "");
    EXPECT_NE(location, "before");  // a response did arrive
}

TEST(CutShort, TimeBoundsEndADripAndKeepIt) {
    // 500 bytes a second, below the lowest rate, for six seconds.
    web::TransferLimits slow;
    slow.lowSpeedSeconds = 2;
    ExpectEndedPartWay(3000, {.bytes = 50, .gapMs = 100}, slow, web::Outcome::TooSlow);

    // Fast enough, but longer than the whole call may take.
    web::TransferLimits brief;
    brief.totalMs = 1500;
    ExpectEndedPartWay(400000, {.bytes = 4000, .gapMs = 100}, brief, web::Outcome::TooLong);
}

TEST(HeaderLines, NoLineCarriesALoneBreakOrZero) {
    RawServer server([](const std::string& request) -> std::optional<std::string> {
        if (request.rfind("GET /cookie", 0) == 0)
            return std::string(
                "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\rX-Evil: 2; path=/\r\n"
                "Location: /next\rX-Loc: 3\r\nContent-Length: 2\r\n\r\nok");
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    });
    // A raw line break in the URL is escaped in the request line and Referer.
    rt::Text sent;
    web::WebRequest(server.Base() + "/a\r\nX-Injected: 1\n", {.headers = &sent});
    EXPECT_NE(sent.find("Referer: " + server.Base() + "/a%0D%0AX-Injected:%201%0A"),
              rt::Text::npos);

    // Values from response headers end at their first CR.
    rt::Text cookies = "old=0", location;
    web::WebRequest(server.Base() + "/cookie", {.cookies = &cookies, .location = &location});
    EXPECT_EQ(cookies, "a=1; old=0");
    EXPECT_EQ(location, "/next");
    web::WebRequest(server.Base() + "/again", {.cookies = &cookies});

    // Lone breaks and zero bytes of the caller's block and cookies.
    rt::Text block = "X-A: 1\nX-B: 2\rUser-Agent: ag\nX-C: 3";
    block += std::string("\r\nX-D: 4\0X-E: 5", 15);
    rt::Text lone = "c=1\nX-F: 6";
    web::WebRequest(server.Base() + "/caller", {.cookies = &lone, .headers = &block});

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    for (const std::string& request : requests) EXPECT_TRUE(LinesAreWhole(request)) << request;
    EXPECT_EQ(requests[0].find("\r\nX-Injected"), std::string::npos);
    EXPECT_NE(requests[2].find("\r\nCookie: a=1; old=0\r\n"), std::string::npos);
    EXPECT_NE(requests[3].find("\r\nX-B: 2\r\n"), std::string::npos);
    EXPECT_EQ(requests[3].find("X-E"), std::string::npos);
    EXPECT_NE(requests[3].find("\r\nCookie: c=1\r\n"), std::string::npos);
}

}  // namespace
