#include "web/url.h"

#include <string_view>

namespace web {
namespace {

rt::Text ExpandQuotes(const rt::Text& marker) {
    return rt::ReplaceSubtext(marker, "#引号", rt::Text("\""), std::nullopt, std::nullopt, true);
}

// One past the "]" of a bracketed IPv6 address at the start of "host:port",
// 0 without one: the colons before it are the address's own.
std::size_t AddressEnd(const rt::Text& hostPort) {
    if (hostPort.empty() || hostPort[0] != '[') return 0;
    const std::size_t close = hostPort.find(']');
    return close == rt::Text::npos ? 0 : close + 1;
}

}  // namespace

bool IsHttps(const rt::Text& url) { return rt::ToLowerText(rt::LeftText(url, 5)) == "https"; }

rt::Text UrlHost(const rt::Text& url, bool keepPort) {
    rt::Text s = rt::ToLowerText(url);
    if (s.empty() || s.back() != '/') s += '/';
    rt::Text host;
    if (s.compare(0, 8, "https://") == 0) {
        host = TextBetween(s, "https://", "/");
    } else {
        if (rt::FindText(s, "http://") == -1) s = "http://" + s;
        host = TextBetween(s, "http://", "/");
    }
    if (!keepPort) {
        const std::size_t colon = host.find(':', AddressEnd(host));
        if (colon != rt::Text::npos) host.resize(colon);
    }
    return host;
}

std::int32_t UrlPort(const rt::Text& url) {
    const rt::Text hostPort = UrlHost(url, true);
    const std::size_t colon = hostPort.rfind(':');
    if (colon == rt::Text::npos || colon < AddressEnd(hostPort)) return IsHttps(url) ? 443 : 80;
    return rt::ToInteger(hostPort.substr(colon + 1));
}

rt::Text UrlPath(const rt::Text& url) {
    // The host is looked for after the scheme, as UrlHost took it: a host
    // such as "h" or "tp" would otherwise be found inside "https://".
    const int scheme = rt::FindText(url, "://", 1, true);
    const int after = scheme == -1 ? 1 : scheme + 3;
    const int a = rt::FindText(url, UrlHost(url, false), after, true);
    const int b = rt::FindText(url, "/", a);
    if (b == -1) return "/";
    return url.substr(static_cast<std::size_t>(b - 1));
}

rt::Text TextBetween(const rt::Text& text, const rt::Text& startMarker, const rt::Text& endMarker,
                     std::optional<int> startPos, std::optional<bool> caseSensitive) {
    const rt::Text start = ExpandQuotes(startMarker);
    const rt::Text end = ExpandQuotes(endMarker);
    const bool ignoreCase = !caseSensitive.value_or(false);
    int a = rt::FindText(text, start, std::max(startPos.value_or(1), 1), ignoreCase);
    if (a == -1) return {};
    a += rt::TextLength(start);
    const int b = rt::FindText(text, end, a, ignoreCase);
    if (b == -1) return {};
    return rt::MidText(text, a, b - a);
}

rt::Text HeaderValue(const rt::Text& line) {
    const std::size_t colon = line.find(':');
    if (colon == rt::Text::npos) return {};
    return rt::TrimSpaces(line.substr(colon + 1));
}

rt::Text UpToLineBreak(const rt::Text& text) {
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

rt::Text EscapeUrlBytes(const rt::Text& text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    rt::Text out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b <= 0x20 || b >= 0x7F) {
            out += '%';
            out += kDigits[b >> 4];
            out += kDigits[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace web
