// The process-wide cookie store: what Set-Cookie lines of responses set, kept
// by domain, path and name with their expiry, and sent back with later
// requests of every page request that does not manage its cookies itself.
//
// It is bounded as browsers bound theirs, so a site that sets new cookies on
// every answer cannot make each request cost more than the one before:
// expired cookies are removed, and past kMaxPerDomain cookies of one domain
// or kMaxInAll in all the oldest are dropped first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "web/endpoint.h"

namespace web {

class CookieStore {
public:
    static constexpr std::size_t kMaxPerDomain = 180;
    static constexpr std::size_t kMaxInAll = 3000;
    // Name and value together; a larger cookie is not kept.
    static constexpr std::size_t kMaxCookieBytes = 4096;

    // Keeps the cookies of every Set-Cookie line of `rawHeaders` (a response
    // header block, CR LF separated) that came from `from`. `now` is in
    // seconds since 1970 (UTC).
    void KeepFrom(std::string_view rawHeaders, const Endpoint& from, std::int64_t now);

    // Keeps the cookie of one Set-Cookie value ("name=value; Path=/; ...").
    void Keep(std::string_view setCookie, const Endpoint& from, std::int64_t now);

    // The value of the Cookie line a request to `to` carries: "a=1; b=2",
    // longer paths first, then older cookies first; empty when none applies.
    std::string CookieLine(const Endpoint& to, std::int64_t now);

    std::size_t size() const;

private:
    static constexpr std::int64_t kSession = std::numeric_limits<std::int64_t>::max();

    struct Cookie {
        std::string name, value, path;
        bool hostOnly = true;
        bool secure = false;
        std::int64_t expires = kSession;  // seconds since 1970
        std::uint64_t created = 0;        // the order cookies were made in
    };

    void Store(const std::string& domain, Cookie cookie, std::int64_t now);
    void RemoveExpired(std::int64_t now);
    void DropOldest();

    mutable std::mutex mutex_;
    // Each domain's cookies in the order they were created.
    std::map<std::string, std::vector<Cookie>> byDomain_;
    std::size_t count_ = 0;
    std::uint64_t nextCreated_ = 0;
    std::int64_t nextExpiry_ = kSession;  // no kept cookie expires before it
};

// The store every page request without its own cookies shares; safe to use
// from any thread, and kept until the process has ended.
CookieStore& ProcessCookieStore();

// Seconds since 1970 (UTC) on the system clock, as cookie expiry counts them.
std::int64_t CookieClockNow();

}  // namespace web
