#include "web/endpoint.h"

#include <algorithm>
#include <cstdint>

#include "web/url.h"

namespace web {
namespace {

bool IsNameByte(char c) {
    const auto b = static_cast<std::uint8_t>(c);
    return b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') ||
           (b >= 'A' && b <= 'Z') || b == '-' || b == '.' || b == '_';
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsBracketedAddress(const std::string& host) {
    if (host.size() < 4 || host.front() != '[' || host.back() != ']') return false;
    const std::string_view inside = std::string_view(host).substr(1, host.size() - 2);
    return inside.find(':') != std::string_view::npos &&
           std::all_of(inside.begin(), inside.end(),
                       [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; });
}

// A name, a dotted address, or a bracketed IPv6 address: nothing a resolver
// or a URL parser would read as another part of the URL.
bool IsHostName(const std::string& host) {
    return IsBracketedAddress(host) || std::all_of(host.begin(), host.end(), IsNameByte);
}

}  // namespace

std::optional<Endpoint> EndpointOf(const rt::Text& url, Outcome* failure) {
    Outcome ignored;
    Outcome& why = failure ? *failure : ignored;
    Endpoint endpoint;
    endpoint.https = IsHttps(url);
    endpoint.host = UrlHost(url, false);
    endpoint.port = UrlPort(url);
    if (endpoint.host.empty() || endpoint.port < 1 || endpoint.port > 65535) {
        why = Outcome::Failed;
        return std::nullopt;
    }
    if (!IsHostName(endpoint.host)) {
        why = Outcome::HostNotFound;
        return std::nullopt;
    }
    const rt::Text path = UrlPath(url);
    endpoint.target = EscapeUrlBytes(path.substr(0, path.find('#')));
    return endpoint;
}

std::string HostAndPort(const Endpoint& endpoint) {
    const int own = endpoint.https ? 443 : 80;
    if (endpoint.port == own) return endpoint.host;
    return endpoint.host + ':' + std::to_string(endpoint.port);
}

std::string AbsoluteUrl(const Endpoint& endpoint) {
    return (endpoint.https ? "https://" : "http://") + HostAndPort(endpoint) + endpoint.target;
}

bool IsAddressLiteral(const std::string& host) {
    return IsBracketedAddress(host) ||
           (!host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
               return (c >= '0' && c <= '9') || c == '.';
           }));
}

}  // namespace web
