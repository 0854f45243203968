// The process-wide cookie store's rules, on a store of its own with a clock
// the test sets.
#include "web/cookie_store.h"

#include <gtest/gtest.h>

#include <string>

#include "web/cookie_date.h"

namespace {

constexpr std::int64_t kNow = 1700000000;

web::Endpoint At(const std::string& url) { return *web::EndpointOf(url); }

TEST(CookieStore, DomainPathAndSecureDecideWhatIsSent) {
    web::CookieStore store;
    const web::Endpoint from = At("https://www.example.test/dir/page?x=1");
    for (const char* line : {"a=1", "b=2; Domain=.Example.Test; Path=/", "c = 3 ; Path=/dir/sub",
                             "s=4; Secure; Path=/", "d=5; Domain=other.test", "e=6; Domain=test",
                             "noequals", "=7", "z=8; Path=/dir/page"}) {
        store.Keep(line, from, kNow);
    }
    store.Keep("f=9; Secure", At("http://www.example.test/"), kNow);
    // Longer paths first, then older cookies first; "a" has the page's directory.
    EXPECT_EQ(store.CookieLine(At("https://www.example.test/dir/sub/x"), kNow),
              "c=3; a=1; b=2; s=4");
    EXPECT_EQ(store.CookieLine(At("http://www.example.test/dir/page/q"), kNow), "z=8; a=1; b=2");
    EXPECT_EQ(store.CookieLine(At("http://WWW.example.test:81/dirx"), kNow), "b=2");
    EXPECT_EQ(store.CookieLine(At("http://deep.www.example.test/dir"), kNow), "b=2");
    EXPECT_EQ(store.CookieLine(At("http://notexample.test/"), kNow), "");
    EXPECT_EQ(store.size(), 5u);

    // An address takes only cookies for itself.
    store.Keep("ip=1; Domain=0.1", At("http://127.0.0.1/"), kNow);
    store.Keep("ip=2", At("http://[::1]:8080/"), kNow);
    EXPECT_EQ(store.CookieLine(At("http://127.0.0.1/"), kNow), "");
    EXPECT_EQ(store.CookieLine(At("http://[::1]/"), kNow), "ip=2");
}

TEST(CookieStore, ExpiryAndReplacement) {
    web::CookieStore store;
    const web::Endpoint site = At("http://example.test/");
    store.Keep("short=1; Max-Age=10", site, kNow);
    store.Keep("dated=1; Expires=Tue, 14 Nov 2023 22:23:00 GMT", site, kNow);  // kNow + 580
    store.Keep("keep=1", site, kNow);
    store.Keep("keep=2; Expires=junk", site, kNow);  // a replaced cookie keeps its place
    EXPECT_EQ(store.CookieLine(site, kNow + 9), "short=1; dated=1; keep=2");
    EXPECT_EQ(store.CookieLine(site, kNow + 10), "dated=1; keep=2");
    EXPECT_EQ(store.CookieLine(site, kNow + 580), "keep=2");
    EXPECT_EQ(store.size(), 1u);
    store.Keep("keep=; Max-Age=0", site, kNow);
    store.Keep("gone=1; Expires=Wed, 09 Jun 2021 10:18:14 GMT", site, kNow);
    EXPECT_EQ(store.CookieLine(site, kNow), "");
    EXPECT_EQ(store.size(), 0u);
}

TEST(CookieStore, LimitsDropTheOldestFirst) {
    web::CookieStore store;
    const web::Endpoint one = At("http://one.test/");
    for (int i = 0; i < 200; ++i) store.Keep("n" + std::to_string(i) + "=v", one, kNow);
    EXPECT_EQ(store.size(), web::CookieStore::kMaxPerDomain);
    const std::string line = store.CookieLine(one, kNow);
    EXPECT_EQ(line.rfind("n20=v; n21=v", 0), 0u);
    EXPECT_NE(line.find("n199=v"), std::string::npos);

    // 17 more domains: 3240 cookies, of which the oldest 240 go, all of
    // "one.test" and 60 of the next.
    for (int d = 0; d < 17; ++d) {
        const web::Endpoint site = At("http://d" + std::to_string(d) + ".test/");
        for (int i = 0; i < 180; ++i) store.Keep("n" + std::to_string(i) + "=v", site, kNow);
    }
    EXPECT_EQ(store.size(), web::CookieStore::kMaxInAll);
    EXPECT_EQ(store.CookieLine(one, kNow), "");
    EXPECT_EQ(store.CookieLine(At("http://d0.test/"), kNow).rfind("n60=v; ", 0), 0u);

    const std::string huge(web::CookieStore::kMaxCookieBytes, 'x');
    store.Keep("big=" + huge, one, kNow);
    EXPECT_EQ(store.CookieLine(one, kNow), "");
}

TEST(CookieDate, ReadAsBrowsersReadIt) {
    EXPECT_EQ(web::ParseCookieDate("Wed, 09 Jun 2021 10:18:14 GMT"), 1623233894);
    EXPECT_EQ(web::ParseCookieDate("Sunday, 06-Nov-94 08:49:37 GMT"), 784111777);
    EXPECT_EQ(web::ParseCookieDate("Sun Nov  6 08:49:37 1994"), 784111777);
    EXPECT_EQ(web::ParseCookieDate("29 feb 2024 0:0:0"), 1709164800);
    EXPECT_FALSE(web::ParseCookieDate("30 Feb 2024 00:00:00"));
    EXPECT_FALSE(web::ParseCookieDate("Wed, 09 Jun 2021"));
    EXPECT_FALSE(web::ParseCookieDate("09 Jun 1600 10:18:14"));
    EXPECT_FALSE(web::ParseCookieDate("09 Jun 2021 24:00:00"));
}

}  // namespace
