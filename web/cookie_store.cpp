#include "web/cookie_store.h"

#include <algorithm>
#include <ctime>
#include <limits>

#include "runtime/kept.h"
#include "web/cookie_date.h"

namespace web {
namespace {

constexpr std::int64_t kLongAgo = std::numeric_limits<std::int64_t>::min();

std::string_view Trim(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Control bytes would break the Cookie line a cookie is sent back in.
bool HasControlBytes(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b < 0x20 && b != '\t') || b == 0x7F;
    });
}

// The request's path without its query.
std::string_view PathOf(const Endpoint& endpoint) {
    const std::string_view target = endpoint.target;
    return target.substr(0, target.find('?'));
}

// The path a cookie without a Path attribute gets: the request path up to
// its last "/", or "/".
std::string DefaultPath(const Endpoint& from) {
    const std::string_view path = PathOf(from);
    const std::size_t slash = path.rfind('/');
    if (path.empty() || path[0] != '/' || slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

bool PathMatches(std::string_view requestPath, const std::string& cookiePath) {
    if (requestPath.substr(0, cookiePath.size()) != cookiePath) return false;
    return requestPath.size() == cookiePath.size() || cookiePath.back() == '/' ||
           requestPath[cookiePath.size()] == '/';
}

// True when a cookie of `domain` may be set by and sent to `host`: the host
// itself, or (for a name, not an address) a parent domain of it that is no
// top-level name.
bool DomainMatches(const std::string& host, const std::string& domain) {
    if (host == domain) return true;
    if (IsAddressLiteral(host) || domain.find('.') == std::string::npos) return false;
    return host.size() > domain.size() && host.ends_with(domain) &&
           host[host.size() - domain.size() - 1] == '.';
}

// Max-Age: digits, perhaps after a "-"; nothing when it is no such number.
std::optional<std::int64_t> MaxAgeExpiry(std::string_view value, std::int64_t now) {
    const bool negative = !value.empty() && value[0] == '-';
    const std::string_view digits = value.substr(negative ? 1 : 0);
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    if (negative) return kLongAgo;
    std::int64_t seconds = 0;
    for (const char c : digits) {
        seconds = std::min<std::int64_t>(seconds * 10 + (c - '0'), std::int64_t{1} << 40);
    }
    return seconds == 0 ? kLongAgo : now + seconds;
}

}  // namespace

void CookieStore::KeepFrom(std::string_view rawHeaders, const Endpoint& from, std::int64_t now) {
    static constexpr std::string_view kName = "set-cookie:";
    while (!rawHeaders.empty()) {
        const std::size_t end = rawHeaders.find("\r\n");
        const std::string_view line = rawHeaders.substr(0, end);
        rawHeaders =
            end == std::string_view::npos ? std::string_view() : rawHeaders.substr(end + 2);
        if (line.size() >= kName.size() && Lower(line.substr(0, kName.size())) == kName) {
            Keep(line.substr(kName.size()), from, now);
        }
    }
}

void CookieStore::Keep(std::string_view setCookie, const Endpoint& from, std::int64_t now) {
    const std::size_t semicolon = setCookie.find(';');
    const std::string_view pair = setCookie.substr(0, semicolon);
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos) return;
    Cookie cookie;
    cookie.name = Trim(pair.substr(0, equals));
    cookie.value = Trim(pair.substr(equals + 1));
    if (cookie.name.empty() || cookie.name.size() + cookie.value.size() > kMaxCookieBytes ||
        HasControlBytes(cookie.name) || HasControlBytes(cookie.value)) {
        return;
    }

    std::optional<std::int64_t> maxAge, expires;
    std::string domain, path;
    std::string_view rest =
        semicolon == std::string_view::npos ? std::string_view() : setCookie.substr(semicolon + 1);
    while (!rest.empty()) {
        const std::size_t next = rest.find(';');
        const std::string_view attribute = rest.substr(0, next);
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
        const std::size_t eq = attribute.find('=');
        const std::string name = Lower(Trim(attribute.substr(0, eq)));
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view() : Trim(attribute.substr(eq + 1));
        if (name == "expires") {
            if (auto date = ParseCookieDate(value)) expires = date;
        } else if (name == "max-age") {
            if (auto age = MaxAgeExpiry(value, now)) maxAge = age;
        } else if (name == "domain" && !value.empty()) {
            domain = Lower(value.substr(value[0] == '.' ? 1 : 0));
        } else if (name == "path") {
            path = value;
        } else if (name == "secure") {
            cookie.secure = true;
        }
    }

    // A secure cookie only comes from, and only goes back over, https.
    if (cookie.secure && !from.https) return;
    if (domain.empty()) {
        domain = from.host;
    } else if (DomainMatches(from.host, domain)) {
        cookie.hostOnly = false;
    } else {
        return;
    }
    cookie.path = path.empty() || path[0] != '/' ? DefaultPath(from) : path;
    cookie.expires = maxAge ? *maxAge : expires ? *expires : CookieStore::kSession;

    std::lock_guard lock(mutex_);
    Store(domain, std::move(cookie), now);
}

void CookieStore::Store(const std::string& domain, Cookie cookie, std::int64_t now) {
    RemoveExpired(now);
    std::vector<Cookie>& cookies = byDomain_[domain];
    const auto same = std::find_if(cookies.begin(), cookies.end(), [&](const Cookie& c) {
        return c.name == cookie.name && c.path == cookie.path;
    });
    const std::int64_t expires = cookie.expires;
    const bool expired = expires <= now;
    if (same != cookies.end()) {
        if (expired) {
            cookies.erase(same);
            --count_;
        } else {
            cookie.created = same->created;  // a replaced cookie keeps its age
            *same = std::move(cookie);
        }
    } else if (!expired) {
        cookie.created = nextCreated_++;
        cookies.push_back(std::move(cookie));
        ++count_;
        if (cookies.size() > kMaxPerDomain) {
            cookies.erase(cookies.begin());
            --count_;
        }
    }
    if (cookies.empty()) {
        byDomain_.erase(domain);
        return;
    }
    if (!expired) nextExpiry_ = std::min(nextExpiry_, expires);
    while (count_ > kMaxInAll) DropOldest();
}

void CookieStore::RemoveExpired(std::int64_t now) {
    if (now < nextExpiry_) return;
    nextExpiry_ = CookieStore::kSession;
    for (auto domain = byDomain_.begin(); domain != byDomain_.end();) {
        std::vector<Cookie>& cookies = domain->second;
        const auto kept = std::remove_if(cookies.begin(), cookies.end(),
                                         [&](const Cookie& c) { return c.expires <= now; });
        count_ -= static_cast<std::size_t>(cookies.end() - kept);
        cookies.erase(kept, cookies.end());
        for (const Cookie& c : cookies) nextExpiry_ = std::min(nextExpiry_, c.expires);
        domain = cookies.empty() ? byDomain_.erase(domain) : std::next(domain);
    }
}

void CookieStore::DropOldest() {
    auto oldest = byDomain_.begin();
    for (auto domain = byDomain_.begin(); domain != byDomain_.end(); ++domain) {
        if (domain->second.front().created < oldest->second.front().created) oldest = domain;
    }
    oldest->second.erase(oldest->second.begin());
    --count_;
    if (oldest->second.empty()) byDomain_.erase(oldest);
}

std::string CookieStore::CookieLine(const Endpoint& to, std::int64_t now) {
    std::lock_guard lock(mutex_);
    RemoveExpired(now);
    const std::string_view path = PathOf(to);
    std::vector<const Cookie*> sent;
    // The host itself, then each parent domain.
    for (std::size_t at = 0; at != std::string::npos;) {
        const std::string domain = to.host.substr(at);
        const auto found = byDomain_.find(domain);
        if (found != byDomain_.end()) {
            for (const Cookie& c : found->second) {
                if (c.hostOnly && domain != to.host) continue;
                if (c.secure && !to.https) continue;
                if (!DomainMatches(to.host, domain) || !PathMatches(path, c.path)) continue;
                sent.push_back(&c);
            }
        }
        if (IsAddressLiteral(to.host)) break;
        at = to.host.find('.', at);
        if (at != std::string::npos) ++at;
    }
    std::stable_sort(sent.begin(), sent.end(), [](const Cookie* a, const Cookie* b) {
        if (a->path.size() != b->path.size()) return a->path.size() > b->path.size();
        return a->created < b->created;
    });
    std::string line;
    for (const Cookie* c : sent) {
        if (!line.empty()) line += "; ";
        line += c->name;
        line += '=';
        line += c->value;
    }
    return line;
}

std::size_t CookieStore::size() const {
    std::lock_guard lock(mutex_);
    return count_;
}

CookieStore& ProcessCookieStore() {
    static rt::Kept<CookieStore> store;
    return store.get();
}

std::int64_t CookieClockNow() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace web
