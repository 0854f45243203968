#include "web/redirect.h"

#include <cctype>

#include "web/request_headers.h"

namespace web {
namespace {

// The value of the first Location line of a header block, trimmed.
std::string_view LocationLine(std::string_view rawHeaders) {
    while (!rawHeaders.empty()) {
        const std::size_t end = rawHeaders.find("\r\n");
        const std::string_view line = rawHeaders.substr(0, end);
        rawHeaders =
            end == std::string_view::npos ? std::string_view() : rawHeaders.substr(end + 2);
        if (!IsHeaderNamed(line, "Location")) continue;
        std::string_view value = line.substr(9);
        value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
        const std::size_t begin = value.find_first_not_of(" \t");
        if (begin == std::string_view::npos) return {};
        return value.substr(begin, value.find_last_not_of(" \t") - begin + 1);
    }
    return {};
}

// The scheme of `reference` in lower case; empty when it has none.
std::string SchemeOf(std::string_view reference) {
    std::string scheme;
    for (const char c : reference) {
        const auto b = static_cast<unsigned char>(c);
        if (c == ':') return scheme;
        const bool allowed =
            std::isalpha(b) ||
            (!scheme.empty() && (std::isdigit(b) || c == '+' || c == '-' || c == '.'));
        if (!allowed) return {};
        scheme += static_cast<char>(std::tolower(b));
    }
    return {};
}

// A path with its "." and ".." segments taken out.
std::string RemoveDotSegments(std::string_view path) {
    std::string out;
    while (!path.empty()) {
        if (path.starts_with("../")) {
            path.remove_prefix(3);
        } else if (path.starts_with("./") || path.starts_with("/./")) {
            path.remove_prefix(2);
        } else if (path == "/.") {
            path = "/";
        } else if (path.starts_with("/../") || path == "/..") {
            path = path.size() == 3 ? std::string_view("/") : path.substr(3);
            out.resize(out.rfind('/') == std::string::npos ? 0 : out.rfind('/'));
        } else if (path == "." || path == "..") {
            path = {};
        } else {
            const std::size_t next = path.find('/', 1);
            out += path.substr(0, next);
            path = next == std::string_view::npos ? std::string_view() : path.substr(next);
        }
    }
    return out;
}

}  // namespace

std::optional<FollowUp> AutomaticFollowUp(const Endpoint& from, int status,
                                          std::string_view rawHeaders) {
    switch (status) {
    case 300:
    case 301:
    case 302:
    case 303:
    case 307:
    case 308: break;
    default: return std::nullopt;
    }
    std::optional<std::string> url = ResolveLocation(from, LocationLine(rawHeaders));
    if (!url) return std::nullopt;
    return FollowUp{std::move(*url), status == 301 || status == 302 || status == 303};
}

std::optional<std::string> ResolveLocation(const Endpoint& base, std::string_view location) {
    if (location.empty()) return std::nullopt;
    const std::string scheme = SchemeOf(location);
    if (!scheme.empty()) {
        if (scheme != "http" && scheme != "https") return std::nullopt;
        return std::string(location);
    }
    const std::string baseScheme = base.https ? "https:" : "http:";
    if (location.starts_with("//")) return baseScheme + std::string(location);
    const std::string origin = baseScheme + "//" + HostAndPort(base);
    const std::string_view basePath =
        std::string_view(base.target).substr(0, base.target.find('?'));
    if (location[0] == '/') return origin + std::string(location);
    if (location[0] == '?') return origin + std::string(basePath) + std::string(location);
    if (location[0] == '#') return origin + base.target;
    const std::size_t end = location.find_first_of("?#");
    const std::string merged = std::string(basePath.substr(0, basePath.rfind('/') + 1)) +
                               std::string(location.substr(0, end));
    return origin + RemoveDotSegments(merged) +
           std::string(end == std::string_view::npos ? std::string_view() : location.substr(end));
}

}  // namespace web
