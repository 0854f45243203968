// Where one request of a page request goes: scheme, host, port and the
// target of its request line, taken from a URL by the URL rules of url.h.
#pragma once

#include <optional>
#include <string>

#include "runtime/text.h"
#include "web/outcome.h"

namespace web {

struct Endpoint {
    bool https = false;
    std::string host;  // lower case; an IPv6 address in brackets, "[::1]"
    int port = 80;
    // Path and query as the request line carries them: bytes a URL cannot
    // carry raw are percent-encoded, and a fragment is not sent.
    std::string target = "/";

    bool operator==(const Endpoint&) const = default;
};

// The endpoint of `url`; nothing when no request can go there, with
// `failure` saying why: HostNotFound for a host that is no host name (a
// resolver would read parts of it as something else), Failed for an empty
// host or a port outside 1..65535.
std::optional<Endpoint> EndpointOf(const rt::Text& url, Outcome* failure = nullptr);

// "host" or "host:port" as the Host line names it: the port only when it is
// not the scheme's own.
std::string HostAndPort(const Endpoint& endpoint);

// "scheme://host:port" followed by the target.
std::string AbsoluteUrl(const Endpoint& endpoint);

// True for a host given as an IPv4 or a bracketed IPv6 address.
bool IsAddressLiteral(const std::string& host);

}  // namespace web
