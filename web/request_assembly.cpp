#include "web/request_assembly.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "web/request_headers.h"
#include "web/url.h"

namespace web {
namespace {

bool IsHttps(const rt::Text& url) { return rt::ToLowerText(rt::LeftText(url, 5)) == "https"; }

bool IsHostName(const rt::Text& host) {
    return std::all_of(host.begin(), host.end(), [](char c) {
        const auto b = static_cast<std::uint8_t>(c);
        return b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') ||
               (b >= 'A' && b <= 'Z') || b == '-' || b == '.' || b == '_';
    });
}

// libcurl takes a URL, so host, port and path are put back together.
std::string TransferUrl(const rt::Text& url) {
    std::string out = IsHttps(url) ? "https://" : "http://";
    out += UrlHost(url, false);
    out += ':';
    out += std::to_string(UrlPort(url));
    out += EscapeUrlBytes(UrlPath(url));
    return out;
}

// One line per CR LF of the block; a lone CR or LF inside a line also ends
// it, and a zero byte ends the line's text, so no line carries one. libcurl
// drops a "Name:" line with a blank value (it reads it as "remove that
// header"); written "Name;" it is sent as "Name:" with no value.
std::vector<std::string> HeaderLines(const rt::Text& block) {
    std::vector<std::string> lines;
    for (const rt::Text& crlfLine : rt::SplitText(block, rt::Text("\r\n"))) {
        std::size_t begin = 0;
        while (begin <= crlfLine.size()) {
            const std::size_t end =
                std::min(crlfLine.find_first_of("\r\n", begin), crlfLine.size());
            const rt::Text line = UpToLineBreak(crlfLine.substr(begin, end - begin));
            begin = end + 1;
            if (line.empty()) continue;
            const std::size_t colon = line.find(':');
            if (colon != std::string::npos && colon > 0 &&
                line.find_first_not_of(" \t", colon + 1) == std::string::npos) {
                lines.push_back(line.substr(0, colon) + ';');
            } else {
                lines.push_back(line);
            }
        }
    }
    return lines;
}

}  // namespace

std::optional<AssembledRequest> AssembleRequest(const rt::Text& url, const rt::Text& headers,
                                                const rt::Text* cookies) {
    if (!IsHostName(UrlHost(url, false))) return std::nullopt;
    AssembledRequest out;
    out.transfer.url = TransferUrl(url);
    out.transfer.agent = AgentFor(headers);
    out.transfer.useCookieStore = cookies == nullptr;
    out.sentHeaders = CompleteHeaders(headers, url, cookies ? *cookies : rt::Text());
    out.transfer.headerLines = HeaderLines(out.sentHeaders);
    return out;
}

}  // namespace web
