#include "web/url.h"

#include <gtest/gtest.h>

#include "web/endpoint.h"
#include "web/redirect.h"
#include "web/request_headers.h"

namespace {

TEST(UrlHost, LowerCaseHostWithOrWithoutPort) {
    EXPECT_EQ(web::UrlHost("HTTP://Www.Example.COM:8080/a/B", false), "www.example.com");
    EXPECT_EQ(web::UrlHost("HTTP://Www.Example.COM:8080/a/B", true), "www.example.com:8080");
    EXPECT_EQ(web::UrlHost("https://Secure.Example:8443", true), "secure.example:8443");
    EXPECT_EQ(web::UrlHost("http://a.b", false), "a.b");
    EXPECT_EQ(web::UrlHost("Example.com/x/y", false), "example.com");
    EXPECT_EQ(web::UrlHost("", false), "");
}

TEST(UrlPort, ExplicitPortOrSchemeDefault) {
    EXPECT_EQ(web::UrlPort("http://a.b/x"), 80);
    EXPECT_EQ(web::UrlPort("a.b/x"), 80);
    EXPECT_EQ(web::UrlPort("HTTPS://a.b/x"), 443);
    EXPECT_EQ(web::UrlPort("https://a.b:8443/x"), 8443);
    EXPECT_EQ(web::UrlPort("http://a.b:81"), 81);
    EXPECT_EQ(web::UrlPort("http://a.b:/x"), 0);
    EXPECT_EQ(web::UrlPort("http://a.b:zz/x"), 0);
}

TEST(UrlPath, FromFirstSlashAfterHostToTheEnd) {
    EXPECT_EQ(web::UrlPath("http://a.b/x?y=1"), "/x?y=1");
    EXPECT_EQ(web::UrlPath("http://a.b"), "/");
    EXPECT_EQ(web::UrlPath("http://A.B:81/Q/R"), "/Q/R");
    EXPECT_EQ(web::UrlPath("A.b/p/q"), "/p/q");
    EXPECT_EQ(web::UrlPath("http://a.b//search/k?page=2&mode=auto"), "//search/k?page=2&mode=auto");
    EXPECT_EQ(web::UrlPath("https://h:8443/a"), "/a");  // not the "h" of "https"
}

TEST(Endpoint, HostPortAndTargetOfARequest) {
    EXPECT_EQ(web::UrlHost("http://[::1]:8080/x", false), "[::1]");
    EXPECT_EQ(web::UrlHost("http://[::1]:8080/x", true), "[::1]:8080");
    EXPECT_EQ(web::UrlPort("http://[::1]:8080/x"), 8080);
    EXPECT_EQ(web::UrlPort("https://[::1]/x"), 443);
    EXPECT_EQ(web::UrlPath("http://[::1]:8080/x?q=[1]"), "/x?q=[1]");

    const web::Endpoint v6 = *web::EndpointOf("http://[::FFFF:127.0.0.1]:8080/a b#frag");
    EXPECT_EQ(v6, (web::Endpoint{false, "[::ffff:127.0.0.1]", 8080, "/a%20b"}));
    EXPECT_EQ(web::HostAndPort(v6), "[::ffff:127.0.0.1]:8080");
    EXPECT_EQ(web::HostAndPort(*web::EndpointOf("HTTPS://H:443")), "h");
    EXPECT_EQ(web::HostAndPort(*web::EndpointOf("https://h:80/")), "h:80");

    web::Outcome why = web::Outcome::Ok;
    EXPECT_FALSE(web::EndpointOf("http://[::1/x", &why));
    EXPECT_EQ(why, web::Outcome::HostNotFound);
    EXPECT_FALSE(web::EndpointOf("http://[1::z]/", &why));
    EXPECT_EQ(why, web::Outcome::HostNotFound);
    EXPECT_FALSE(web::EndpointOf("http://h:65536/", &why));
    EXPECT_EQ(why, web::Outcome::Failed);
    EXPECT_FALSE(web::EndpointOf("/relative", &why));
    EXPECT_EQ(why, web::Outcome::Failed);
}

TEST(Redirect, LocationsResolveAgainstTheRequest) {
    const web::Endpoint base = *web::EndpointOf("https://h:8443/a/b/c?q");
    const std::pair<const char*, const char*> cases[] = {
        {"/x?y", "https://h:8443/x?y"},
        {"x/y", "https://h:8443/a/b/x/y"},
        {"../x#f", "https://h:8443/a/x#f"},
        {"./../../../x", "https://h:8443/x"},
        {"?z", "https://h:8443/a/b/c?z"},
        {"#f", "https://h:8443/a/b/c?q"},
        {"//o/p", "https://o/p"},
        {"HTTP://O/./p", "HTTP://O/./p"},
        {"/a/../b", "https://h:8443/a/../b"},  // an absolute path goes as given
    };
    for (const auto& [location, url] : cases) {
        EXPECT_EQ(web::ResolveLocation(base, location), url) << location;
    }
    for (const char* other : {"", "ftp://o/x", "magnet:?xt=urn:btih:1"}) {
        EXPECT_FALSE(web::ResolveLocation(base, other)) << other;
    }

    const std::string moved = "HTTP/1.1 303 See Other\r\nlocation: /next\r\nLocation: /no\r\n\r\n";
    const auto followUp = web::AutomaticFollowUp(base, 303, moved);
    ASSERT_TRUE(followUp);
    EXPECT_EQ(followUp->url, "https://h:8443/next");
    EXPECT_TRUE(followUp->asGet);
    EXPECT_FALSE(web::AutomaticFollowUp(base, 307, moved)->asGet);
    for (const int status : {200, 304, 305, 404}) {
        EXPECT_FALSE(web::AutomaticFollowUp(base, status, moved)) << status;
    }
    EXPECT_FALSE(web::AutomaticFollowUp(base, 302, "HTTP/1.1 302 Found\r\nLocation:  \r\n\r\n"));
}

TEST(TextBetween, FindsTheFirstPairFromStart) {
    EXPECT_EQ(web::TextBetween("<a>1</a><a>2</a>", "<a>", "</a>"), "1");
    EXPECT_EQ(web::TextBetween("<a>1</a><a>2</a>", "<a>", "</a>", 2), "2");
    EXPECT_EQ(web::TextBetween("<a>1</a>", "<a>", "</a>", -5), "1");
    EXPECT_EQ(web::TextBetween("<A>x</A>", "<a>", "</a>"), "x");
    EXPECT_EQ(web::TextBetween("<A>x</A>", "<a>", "</a>", 1, true), "");
    EXPECT_EQ(web::TextBetween("<a></a>", "<a>", "</a>"), "");
    EXPECT_EQ(web::TextBetween("<a>open", "<a>", "</a>"), "");
    EXPECT_EQ(web::TextBetween("no marker", "<a>", "</a>"), "");
}

TEST(TextBetween, QuotePlaceholderStandsForADoubleQuote) {
    EXPECT_EQ(web::TextBetween("href=\"v.html\" x", "href=#引号", "#引号"), "v.html");
}

TEST(HeaderValue, TextAfterFirstColonTrimmed) {
    EXPECT_EQ(web::HeaderValue("Location:  http://x/y:1 "), "http://x/y:1");
    EXPECT_EQ(web::HeaderValue("no colon"), "");
    EXPECT_EQ(web::HeaderValue("Empty:"), "");
}

TEST(AgentFor, DefaultOrTheUserAgentLine) {
    EXPECT_EQ(web::AgentFor(""), web::kDefaultAgent);
    EXPECT_EQ(web::AgentFor("User-Agent:  Foo/1 \r\nX-A: b"), "Foo/1");
    EXPECT_EQ(web::AgentFor("X-A: b\r\nuser-agent: low\r\n"), "low");
    // Alone, without CR LF: the text after the first colon of the whole block.
    EXPECT_EQ(web::AgentFor("User-Agent: Solo/2"), "Solo/2");
}

TEST(CompleteHeaders, DefaultBlockIsExactlyFourLines) {
    EXPECT_EQ(web::CompleteHeaders("", "http://h/p", ""),
              "Referer: http://h/p\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded");
}

TEST(CompleteHeaders, AddsOnlyMissingLinesFoundCaseSensitively) {
    EXPECT_EQ(web::CompleteHeaders("Referer: r\r\nAccept: a\r\nAccept-Language: l\r\n"
                                   "Content-Type: t",
                                   "http://h/", ""),
              "Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: t");
    EXPECT_EQ(web::CompleteHeaders("referer: r", "http://h/", ""),
              "referer: r\r\nReferer: http://h/\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded");
    // The cookie line is added even when the caller sent one.
    const rt::Text withCookie = web::CompleteHeaders("Cookie: old=1", "u", "a=1;b=2");
    EXPECT_NE(withCookie.find("Cookie: old=1\r\nReferer: u"), rt::Text::npos);
    EXPECT_EQ(withCookie.substr(withCookie.size() - 17), "\r\nCookie: a=1;b=2");
}

TEST(CompleteHeaders, NameInsideADoubleByteCharacterDoesNotCount) {
    // 0x81 takes the "R" after it as its second byte.
    EXPECT_EQ(web::CompleteHeaders("X: \x81Referer: r", "u", ""),
              "X: \x81Referer: r\r\nReferer: u\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded");
}

TEST(FitResponseHeaders, LongHeadersReadAsSpacesAndZeroCuts) {
    EXPECT_EQ(web::FitResponseHeaders(std::string(4999, 'h')), std::string(4999, 'h'));
    EXPECT_EQ(web::FitResponseHeaders(std::string(5000, 'h')), std::string(5000, ' '));
    EXPECT_EQ(web::FitResponseHeaders(std::string("ab\0cd", 5)), "ab");
}

TEST(ScanResponseHeaders, CookiesJoinedAndLastLocationWins) {
    const web::HeaderScan scan = web::ScanResponseHeaders(
        "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nLocation: /one\r\n"
        "set-cookie: ignored=1; x\r\nSet-Cookie:  b=2 ;HttpOnly\r\nContent-Location: /two\r\n\r\n");
    EXPECT_EQ(scan.receivedCookies, "a=1; b=2");
    EXPECT_EQ(scan.location, "/two");
}

TEST(ScanResponseHeaders, SetCookieWithoutSemicolonAddsAnEmptyEntry) {
    const web::HeaderScan scan = web::ScanResponseHeaders(
        "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; p\r\nSet-Cookie: b=2\r\n\r\n");
    EXPECT_EQ(scan.receivedCookies, "a=1; ");
    EXPECT_EQ(scan.location, "");
}

TEST(ScanResponseHeaders, NamesInsideDoubleByteCharactersDoNotCount) {
    const web::HeaderScan scan = web::ScanResponseHeaders(
        "HTTP/1.1 200 OK\r\nX-A: \x81Location: /l\r\nX-B: \x81Set-Cookie: s=1;\r\n\r\n");
    EXPECT_EQ(scan.location, "");
    EXPECT_EQ(scan.receivedCookies, "");
}

TEST(IsMovedPermanently, OnlyHttp11With301AndMoved) {
    EXPECT_TRUE(web::IsMovedPermanently("HTTP/1.1 301 Moved Permanently\r\n\r\n"));
    EXPECT_TRUE(web::IsMovedPermanently("http/1.1 301 moved\r\n\r\n"));
    EXPECT_FALSE(web::IsMovedPermanently("HTTP/1.0 301 Moved Permanently\r\n\r\n"));
    EXPECT_FALSE(web::IsMovedPermanently("HTTP/1.1 302 Moved Temporarily\r\n\r\n"));
    EXPECT_FALSE(web::IsMovedPermanently("HTTP/1.1 301 Redirect\r\n\r\n"));
}

}  // namespace
