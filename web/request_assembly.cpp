#include "web/request_assembly.h"

#include <algorithm>
#include <string_view>

#include "web/request_headers.h"
#include "web/url.h"

namespace web {
namespace {

// One line per CR LF of the block; a lone CR or LF inside a line also ends
// it, and a zero byte ends the line's text, so no line carries one.
std::vector<std::string> WireLines(const rt::Text& block) {
    std::vector<std::string> lines;
    for (const rt::Text& crlfLine : rt::SplitText(block, rt::Text("\r\n"))) {
        std::size_t begin = 0;
        while (begin <= crlfLine.size()) {
            const std::size_t end =
                std::min(crlfLine.find_first_of("\r\n", begin), crlfLine.size());
            const rt::Text line = UpToLineBreak(crlfLine.substr(begin, end - begin));
            begin = end + 1;
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos || colon == 0) continue;
            if (line.find_first_not_of(" \t", colon + 1) == std::string::npos) {
                lines.push_back(line.substr(0, colon + 1));
            } else {
                lines.push_back(line);
            }
        }
    }
    return lines;
}

bool SameOrigin(const Endpoint& a, const Endpoint& b) {
    return a.https == b.https && a.host == b.host && a.port == b.port;
}

}  // namespace

HeaderPlan PlanHeaders(const rt::Text& url, const rt::Text& headers, const rt::Text* cookies) {
    HeaderPlan plan;
    plan.agent = AgentFor(headers);
    plan.sentHeaders = CompleteHeaders(headers, url, cookies ? *cookies : rt::Text());
    plan.lines = WireLines(plan.sentHeaders);
    return plan;
}

TransferRequest AssembleRequest(const HeaderPlan& headers, const Hop& hop) {
    TransferRequest request;
    request.endpoint = hop.to;
    request.method = hop.method;
    request.body = hop.body;
    request.httpProxy = hop.httpProxy;
    const std::vector<std::string>& caller = headers.lines;
    std::vector<std::string>& lines = request.headerLines;

    const auto callerHost = std::find_if(caller.begin(), caller.end(), [](const std::string& l) {
        return IsHeaderNamed(l, "Host");
    });
    if (callerHost != caller.end() && hop.to.host == hop.first.host) {
        lines.push_back(*callerHost);
    } else {
        lines.push_back("Host: " + HostAndPort(hop.to));
    }
    if (!headers.agent.empty() && !HasHeaderLine(caller, "User-Agent")) {
        lines.push_back("User-Agent: " + headers.agent);
    }
    if (!HasHeaderLine(caller, "Accept")) lines.push_back("Accept: */*");
    if (!hop.storeCookies.empty()) lines.push_back("Cookie: " + hop.storeCookies);
    const bool sameOrigin = SameOrigin(hop.to, hop.first);
    for (const std::string& line : caller) {
        if (IsHeaderNamed(line, "Host")) continue;
        if (!sameOrigin && (IsHeaderNamed(line, "Cookie") || IsHeaderNamed(line, "Authorization")))
            continue;
        lines.push_back(line);
    }
    if (hop.body) {
        if (!HasHeaderLine(caller, "Content-Length")) {
            lines.push_back("Content-Length: " + std::to_string(hop.body->size()));
        }
        if (!HasHeaderLine(caller, "Content-Type")) {
            lines.push_back("Content-Type: application/x-www-form-urlencoded");
        }
    }
    return request;
}

}  // namespace web
