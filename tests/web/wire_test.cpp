// What the page request sends and how it reads the answer, checked byte for
// byte against a raw server on 127.0.0.1.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "raw_server.h"
#include "web/request.h"
#include "web/request_headers.h"

namespace {

using webtest::RawServer;

// WinINet (the Windows build) sends each caller line as name, ": " and the
// value without the spaces around it; libcurl sends the line as given.
#ifdef _WIN32
constexpr bool kLinesRebuilt = true;
#else
constexpr bool kLinesRebuilt = false;
#endif

std::string Answer(const std::string& body, const std::string& headers = "") {
    return "HTTP/1.1 200 OK\r\n" + headers + "Content-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

RawServer::Responder Always(std::string answer) {
    return [answer](const std::string&) { return answer; };
}

std::string BodyOf(const std::string& request) {
    return request.substr(request.find("\r\n\r\n") + 4);
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(WireRequest, DefaultRequestSendsTheFourLineBlock) {
    RawServer server(Always(Answer("ok")));
    const rt::Text url = server.Base() + "/p?q=1";
    rt::Text headers;
    EXPECT_EQ(web::WebRequestText(url, {.headers = &headers}), "ok");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET /p?q=1 HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
                  "\r\nUser-Agent: " + web::kDefaultAgent + "\r\nReferer: " + url +
                  "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
                  "Content-Type: application/x-www-form-urlencoded\r\n\r\n");
    EXPECT_EQ(headers, "Referer: " + url +
                           "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
                           "Content-Type: application/x-www-form-urlencoded");
}

TEST(WireRequest, CallerUserAgentLineIsTheOnlyAgentSent) {
    RawServer server(Always(Answer("ok")));
    for (const rt::Text given : {"User-Agent:  Foo/1 \r\nX-Test: 1",
                                 "X-Test: 1\r\nuser-agent: low/1", "User-Agent: Solo/2"}) {
        rt::Text headers = given;
        web::WebRequest(server.Base() + "/", {.headers = &headers});
    }
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(Count(requests[0], "ser-Agent:"), 1);
    EXPECT_NE(requests[0].find(kLinesRebuilt ? "\r\nUser-Agent: Foo/1\r\nX-Test: 1\r\n"
                                             : "\r\nUser-Agent:  Foo/1 \r\nX-Test: 1\r\n"),
              std::string::npos);
    EXPECT_EQ(Count(requests[1], "ser-Agent:") + Count(requests[1], "ser-agent:"), 1);
    EXPECT_NE(requests[1].find("\r\nuser-agent: low/1\r\n"), std::string::npos);
    EXPECT_EQ(Count(requests[2], "ser-Agent:"), 1);
    EXPECT_NE(requests[2].find("\r\nUser-Agent: Solo/2\r\n"), std::string::npos);
    for (const auto& r : requests) EXPECT_EQ(r.find("MSIE"), std::string::npos);
}

TEST(WireRequest, LowerCaseRefererDoesNotCount) {
    RawServer server(Always(Answer("ok")));
    rt::Text headers = "referer: http://elsewhere/";
    const rt::Text url = server.Base() + "/r";
    web::WebRequest(url, {.headers = &headers});
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(
        server.Requests()[0].find("\r\nreferer: http://elsewhere/\r\nReferer: " + url + "\r\n"),
        std::string::npos);
    headers = "Referer: mine";
    web::WebRequest(url, {.headers = &headers});
    ASSERT_TRUE(server.WaitForRequests(2));
    EXPECT_EQ(Count(server.Requests()[1], "Referer:"), 1);
}

TEST(WireRequest, CallerLinesWithoutAValueAreSentAsGiven) {
    RawServer server(Always(Answer("ok")));
    rt::Text headers = "X-Empty:\r\nAccept:  ";
    web::WebRequest(server.Base() + "/", {.headers = &headers});
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(server.Requests()[0].find(kLinesRebuilt ? "\r\nX-Empty: \r\nAccept: \r\nReferer: "
                                                      : "\r\nX-Empty:\r\nAccept:\r\nReferer: "),
              std::string::npos);
    EXPECT_EQ(server.Requests()[0].find("*/*"), std::string::npos);
}

TEST(WireRequest, PostSendsTextBytesAndKeepsThemInPostBytes) {
    RawServer server(Always(Answer("ok")));
    rt::ByteBuffer postBytes;
    web::WebRequest(server.Base() + "/f",
                    {.method = 1, .postText = rt::Text("a=1&b=2"), .postBytes = &postBytes});
    EXPECT_EQ(postBytes, (rt::ByteBuffer{'a', '=', '1', '&', 'b', '=', '2'}));

    rt::ByteBuffer binary = {'x', 0, 'y'};
    web::WebRequest(server.Base() + "/g",
                    {.method = 1, .postText = rt::Text("ignored"), .postBytes = &binary});
    web::WebRequest(server.Base() + "/h", {.method = 2, .postText = rt::Text("q=1")});
    web::WebRequest(server.Base() + "/e", {.method = 1});

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].substr(0, 20), "POST /f HTTP/1.1\r\nHo");
    EXPECT_NE(requests[0].find("\r\nContent-Length: 7\r\n"), std::string::npos);
    EXPECT_EQ(BodyOf(requests[0]), "a=1&b=2");
    EXPECT_EQ(BodyOf(requests[1]), std::string("x\0y", 3));
    EXPECT_EQ(requests[2].substr(0, 19), "GET /h HTTP/1.1\r\nHo");
    EXPECT_EQ(BodyOf(requests[2]), "q=1");
    EXPECT_NE(requests[3].find("\r\nContent-Length: 0\r\n"), std::string::npos);
    for (const auto& r : requests) EXPECT_EQ(r.find("Expect:"), std::string::npos);
}

TEST(WireResponse, RawHeadersAreTheFinalBlockWithCrLf) {
    RawServer server(Always("HTTP/1.1 200 OK\nX-Bare: lf\r\nContent-Length: 2\r\n\r\nok"));
    rt::Text responseHeaders, location;
    web::WebRequest(server.Base() + "/",
                    {.location = &location, .responseHeaders = &responseHeaders});
    EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nX-Bare: lf\r\nContent-Length: 2\r\n\r\n");
    EXPECT_EQ(location, responseHeaders);  // no Location line: the whole header text
}

TEST(WireResponse, HeadersLongerThanTheBufferReadAsSpaces) {
    // Two lines: wine's WinINet cuts a single line at 4 KiB.
    const std::string half(2600, 'v');
    RawServer server(
        Always(Answer("ok", "X-Long: " + half + "\r\nX-Longer: " + half + "\r\nLocation: /l\r\n")));
    rt::Text responseHeaders, location = "stale";
    EXPECT_EQ(web::WebRequestText(server.Base() + "/",
                                  {.location = &location, .responseHeaders = &responseHeaders}),
              "ok");
    EXPECT_EQ(responseHeaders, rt::Text(5000, ' '));
    EXPECT_EQ(location, responseHeaders);
}

TEST(WireCookies, SetCookieLinesBecomeReceivedCookies) {
    RawServer server([](const std::string& request) -> std::optional<std::string> {
        if (request.find(" /two ") != std::string::npos) {
            return Answer("", "Set-Cookie: wa=1; Path=/; HttpOnly\r\nSet-Cookie: wb=2;\r\n");
        }
        return Answer("", "Set-Cookie: wa=1; Path=/\r\nSet-Cookie: wc=3\r\n");
    });
    rt::Text received;
    web::WebRequest(server.Base() + "/two", {.receivedCookies = &received});
    EXPECT_EQ(received, "wa=1; wb=2");
    web::WebRequest(server.Base() + "/bare", {.receivedCookies = &received});
    EXPECT_EQ(received, "wa=1; ");
}

TEST(WireCookies, SuppliedCookiesAreSentAndMerged) {
    RawServer server(Always(Answer("", "Set-Cookie: ma=1; Path=/\r\nSet-Cookie: mb = 2 ; x\r\n")));
    rt::Text cookies = "ma=0;mc=3";
    rt::Text received;
    web::WebRequest(server.Base() + "/", {.cookies = &cookies, .receivedCookies = &received});
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_NE(server.Requests()[0].find("\r\nCookie: ma=0;mc=3\r\n"), std::string::npos);
    EXPECT_EQ(Count(server.Requests()[0], "Cookie:"), 1);  // nothing from the shared store
    EXPECT_EQ(cookies, "ma=1; mb=2; mc=3");
    EXPECT_EQ(received, "ma=1;mb=2");  // the merge removes spaces in place
}

TEST(WireRedirect, MovedIsFollowedByHandWithTheOldPathAppended) {
    RawServer* self = nullptr;
    RawServer server([&self](const std::string& request) -> std::optional<std::string> {
        if (request.rfind("GET /x?y=1 ", 0) == 0) {
            return "HTTP/1.1 301 Moved Permanently\r\nLocation: " + self->Base() +
                   "/new\r\nContent-Length: 0\r\n\r\n";
        }
        return Answer("landed");
    });
    self = &server;
    rt::Text location = "stale", responseHeaders;
    EXPECT_EQ(web::WebRequestText(
                  server.Base() + "/x?y=1",
                  {.location = &location, .noRedirect = true, .responseHeaders = &responseHeaders}),
              "landed");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].substr(0, 26), "GET /new/x?y=1 HTTP/1.1\r\nH");
    // The follow-up sends the header block completed for the first request.
    EXPECT_NE(requests[1].find("\r\nReferer: " + server.Base() + "/x?y=1\r\n"), std::string::npos);
    EXPECT_EQ(Count(requests[1], "Referer:"), 1);
    EXPECT_EQ(location, responseHeaders);
}

TEST(WireRedirect, OtherAnswersAreNotFollowedByHand) {
    RawServer server([](const std::string& request) -> std::optional<std::string> {
        const std::string status =
            request.rfind("GET /302", 0) == 0  ? "HTTP/1.1 302 Moved Temporarily"
            : request.rfind("GET /10", 0) == 0 ? "HTTP/1.0 301 Moved Permanently"
                                               : "HTTP/1.1 301 Gone Elsewhere";
        return status + "\r\nLocation: /target\r\nContent-Length: 4\r\n\r\nbody";
    });
    for (const char* path : {"/302", "/10", "/other"}) {
        rt::Text location;
        EXPECT_EQ(
            web::WebRequestText(server.Base() + path, {.location = &location, .noRedirect = true}),
            "body");
        EXPECT_EQ(location, "/target");
    }
    EXPECT_EQ(server.Requests().size(), 3u);
}

TEST(WireRedirect, LoopsEndAfterElevenRequestsInAllSayingSo) {
    RawServer* self = nullptr;
    int answers = 0;
    RawServer server([&](const std::string& request) -> std::optional<std::string> {
        const std::string body = "hop" + std::to_string(++answers);
        const std::string status = request.rfind("GET /found", 0) == 0
                                       ? "HTTP/1.1 302 Found"
                                       : "HTTP/1.1 301 Moved Permanently";
        const std::string target = request.rfind("GET /found", 0) == 0 ? "/found" : "/m";
        return status + "\r\nLocation: " + self->Base() + target +
               "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    });
    self = &server;
    // Followed by hand (the old path appended), automatically, and both: a
    // "301 Moved" is followed automatically first.
    const std::pair<const char*, bool> loops[] = {{"/x", true}, {"/x", false}, {"/found", false}};
    std::size_t before = 0;
    for (const auto& [path, noRedirect] : loops) {
        answers = 0;
        rt::Text location;
        web::RequestOutcome outcome;
        EXPECT_EQ(web::WebRequestText(
                      server.Base() + path,
                      {.location = &location, .noRedirect = noRedirect, .outcome = &outcome}),
                  "hop11");
        EXPECT_EQ(outcome.kind, web::Outcome::TooManyRedirects);
        const auto requests = server.Requests();
        ASSERT_EQ(requests.size() - before, 11u) << path;
        if (noRedirect) {
            EXPECT_EQ(requests[before + 2].substr(0, 13), "GET /m/m/x HT");
        }
        EXPECT_EQ(location, server.Base() + (path == std::string("/found") ? "/found" : "/m"));
        before = requests.size();
    }
}

TEST(WireRedirect, FollowUpsKeepTheMethodRules) {
    RawServer other(Always(Answer("other")));
    RawServer server([&](const std::string& request) -> std::optional<std::string> {
        auto redirect = [](const std::string& status, const std::string& to) {
            return "HTTP/1.1 " + status + "\r\nLocation: " + to + "\r\nContent-Length: 0\r\n\r\n";
        };
        if (request.rfind("POST /a/303 ", 0) == 0) return redirect("303 See Other", "../b?x=1");
        if (request.rfind("POST /307 ", 0) == 0) return redirect("307 Temporary", "/landing");
        if (request.rfind("GET /away ", 0) == 0) return redirect("302 Found", other.Base() + "/o");
        if (request.rfind("GET /here ", 0) == 0) return redirect("302 Found", "/landing");
        return Answer("landed");
    });
    const rt::Text body = "k=v";
    EXPECT_EQ(web::WebRequestText(server.Base() + "/a/303", {.method = 1, .postText = body}),
              "landed");
    EXPECT_EQ(web::WebRequestText(server.Base() + "/307", {.method = 1, .postText = body}),
              "landed");
    // The caller's cookies and credentials go to the same scheme, host and port only.
    for (const char* path : {"/away", "/here"}) {
        rt::Text cookies = "c=1", headers = "Authorization: secret";
        web::WebRequestText(server.Base() + path, {.cookies = &cookies, .headers = &headers});
    }
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 7u);
    EXPECT_EQ(requests[1].rfind("GET /b?x=1 HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(requests[1].find("Content-Length"), std::string::npos);
    EXPECT_NE(requests[1].find("\r\nReferer: " + server.Base() + "/a/303\r\n"), std::string::npos);
    EXPECT_EQ(requests[3].rfind("POST /landing HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(BodyOf(requests[3]), "k=v");
    EXPECT_NE(requests[6].find("\r\nAuthorization: secret\r\n"), std::string::npos);
    EXPECT_NE(requests[6].find("\r\nCookie: c=1\r\n"), std::string::npos);
    ASSERT_EQ(other.Requests().size(), 1u);
    EXPECT_NE(other.Requests()[0].find("\r\nHost: 127.0.0.1:" + std::to_string(other.Port())),
              std::string::npos);
    EXPECT_EQ(other.Requests()[0].find("secret"), std::string::npos);
    EXPECT_EQ(other.Requests()[0].find("c=1"), std::string::npos);
}

TEST(WireUrl, UrlWithoutSchemeIsHttpWithThePathFromTheFirstSlash) {
    RawServer server(Always(Answer("ok")));
    EXPECT_EQ(web::WebRequestText("127.0.0.1:" + std::to_string(server.Port()) + "/A/b?c=D"), "ok");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].substr(0, 22), "GET /A/b?c=D HTTP/1.1\r");
}

TEST(WireUrl, BytesAUrlCannotCarryArePercentEncodedOthersGoAsGiven) {
    RawServer server(Always(Answer("ok")));
    EXPECT_EQ(web::WebRequestText(server.Base() + "/a b/\xCE\xD2/{x}|\"?q=%41"), "ok");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /a%20b/%CE%D2/{x}|\"?q=%41 HTTP/1.1\r\n", 0), 0u);
}

TEST(WireUrl, HostWithBytesNoNameCarriesFailsWithoutARequest) {
    RawServer server(Always(Answer("ok")));
    const std::string port = std::to_string(server.Port());
    // The host is "127.0.0.1@127.0.0.1" (cut at its first ":"), no name.
    for (const rt::Text& url : {"http://127.0.0.1@127.0.0.1:" + port + "/x",
                                "http://127.0.0.1#127.0.0.1:" + port + "/x"}) {
        rt::Text location = "kept";
        EXPECT_EQ(web::WebRequestText(url, {.location = &location}), "");
        EXPECT_EQ(location, "kept");
    }
    EXPECT_EQ(web::WebRequestText("http://127.0.0.1:" + port + "?q=1"), "ok");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET / HTTP/1.1\r\n", 0), 0u);
}

TEST(WireUrl, Ipv6AddressIsRequestedWithItsBrackets) {
    std::unique_ptr<RawServer> server;
    try {
        server = std::make_unique<RawServer>(Always(Answer("six", "Set-Cookie: v6=1\r\n")), true);
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "no IPv6 loopback ([::1]) on this machine";
    }
    const std::string port = std::to_string(server->Port());
    EXPECT_EQ(web::WebRequestText("http://[::1]:" + port + "/x?q=1"), "six");
    EXPECT_EQ(web::WebRequestText("HTTP://[0:0::1]:" + port + "/y"), "six");
    const auto requests = server->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].rfind("GET /x?q=1 HTTP/1.1\r\nHost: [::1]:" + port + "\r\n", 0), 0u);
    EXPECT_NE(requests[1].find("\r\nReferer: HTTP://[0:0::1]:" + port + "/y\r\n"),
              std::string::npos);
    EXPECT_EQ(requests[1].find("Cookie"), std::string::npos);  // another host to the store
}

TEST(WireUrl, HttpsConnectsToTheLowerCaseHostOnTheGivenPort) {
    RawServer server([](const std::string&) { return std::string(); });
    rt::Text headers = "X: 1", location = "kept";
    const rt::Text url = "HTTPS://LocalHost:" + std::to_string(server.Port()) + "/s";
    EXPECT_TRUE(web::WebRequest(url, {.headers = &headers, .location = &location}).empty());
    ASSERT_TRUE(server.WaitForRequests(1));
    const std::string hello = server.Requests()[0];
    ASSERT_FALSE(hello.empty());
    EXPECT_EQ(static_cast<unsigned char>(hello[0]), 0x16);  // a TLS handshake record
    EXPECT_NE(hello.find("localhost"), std::string::npos);  // server name, lower case
    EXPECT_EQ(hello.find("LocalHost"), std::string::npos);
    EXPECT_EQ(headers, "X: 1");
    EXPECT_EQ(location, "kept");
}

TEST(WireProxy, ProxyCarriesHttpOnly) {
    RawServer proxy(Always(Answer("via proxy")));
    RawServer tls([](const std::string&) { return std::string(); });
    const rt::Text proxyAddress = "127.0.0.1:" + std::to_string(proxy.Port());
    EXPECT_EQ(web::WebRequestText("http://127.0.0.1:9/x", {.proxy = proxyAddress}), "via proxy");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].find("GET http://127.0.0.1:9/x HTTP/1.1\r\n"), 0u);

    web::WebRequest("https://localhost:" + std::to_string(tls.Port()) + "/",
                    {.proxy = proxyAddress});
    ASSERT_TRUE(tls.WaitForRequests(1));
    EXPECT_EQ(static_cast<unsigned char>(tls.Requests()[0][0]), 0x16);
    EXPECT_EQ(proxy.Requests().size(), 1u);
}

TEST(WireText, Utf8IsDetectedInTheFirst499BytesOrInTheHeaders) {
    auto bodyWithMarkAt = [](std::size_t position) {
        return std::string(position - 1, 'x') + "utf-8 \xE6\x88\x91";
    };
    RawServer server([&](const std::string& request) -> std::optional<std::string> {
        if (request.rfind("GET /499", 0) == 0) return Answer(bodyWithMarkAt(499));
        if (request.rfind("GET /500", 0) == 0) return Answer(bodyWithMarkAt(500));
        if (request.rfind("GET /600", 0) == 0) return Answer(bodyWithMarkAt(600));
        return Answer(bodyWithMarkAt(600), "Content-Type: text/html; charset=UTF-8\r\n");
    });
    const rt::Text converted = web::WebRequestText(server.Base() + "/499");
    EXPECT_EQ(converted, std::string(498, 'x') + "utf-8 \xCE\xD2");
    EXPECT_EQ(web::WebRequestText(server.Base() + "/500"), bodyWithMarkAt(500));
    EXPECT_EQ(web::WebRequestText(server.Base() + "/600"), bodyWithMarkAt(600));
    EXPECT_EQ(web::WebRequestText(server.Base() + "/header"),
              std::string(599, 'x') + "utf-8 \xCE\xD2");
    const rt::ByteBuffer raw = web::WebRequest(server.Base() + "/499");
    EXPECT_EQ(rt::Text(raw.begin(), raw.end()), bodyWithMarkAt(499));
}

TEST(WireText, ZeroByteCutsTheTextButNotTheBytes) {
    RawServer server(Always(Answer(std::string("ab\0cd", 5))));
    EXPECT_EQ(web::WebRequest(server.Base() + "/").size(), 5u);
    EXPECT_EQ(web::WebRequestText(server.Base() + "/"), "ab");
}

TEST(WireText, EmptyBodyIsAnEmptyResultOfASuccessfulCall) {
    RawServer server(Always(Answer("")));
    rt::Text responseHeaders;
    EXPECT_TRUE(web::WebRequest(server.Base() + "/").empty());
    EXPECT_EQ(web::WebRequestText(server.Base() + "/", {.responseHeaders = &responseHeaders}), "");
    EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
}

}  // namespace
