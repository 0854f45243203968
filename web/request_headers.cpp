#include "web/request_headers.h"

#include "web/url.h"

namespace web {

rt::Text AgentFor(const rt::Text& headers) {
    if (rt::FindText(headers, "User-Agent:", 1, true) == -1) return kDefaultAgent;
    const rt::Text agent = rt::TrimSpaces(TextBetween(headers, "User-Agent:", "\r\n"));
    // A last line without CR LF after it falls back on the first colon.
    return agent.empty() ? HeaderValue(headers) : agent;
}

rt::Text CompleteHeaders(const rt::Text& headers, const rt::Text& url, const rt::Text& cookies) {
    rt::Text block = headers;
    // Searched by character: an ASCII letter may be the second byte of a
    // double-byte character, and a name found there is no header name.
    auto has = [&](const char* name) { return rt::FindText(block, name) != -1; };
    if (!has("Referer:")) block += (block.empty() ? "Referer: " : "\r\nReferer: ") + url;
    if (!has("Accept:")) block += "\r\nAccept: */*";
    if (!has("Accept-Language:")) block += "\r\nAccept-Language: zh-cn";
    if (!has("Content-Type:")) block += "\r\nContent-Type: application/x-www-form-urlencoded";
    if (!cookies.empty()) block += "\r\nCookie: " + cookies;
    return block;
}

rt::Text FitResponseHeaders(const std::string& raw) {
    const rt::Text text(raw.c_str());  // the buffer is read up to its first zero byte
    if (raw.size() >= static_cast<std::size_t>(kResponseHeaderBuffer)) {
        return rt::Text(kResponseHeaderBuffer, ' ');
    }
    return text;
}

HeaderScan ScanResponseHeaders(const rt::Text& responseHeaders) {
    HeaderScan scan;
    for (const rt::Text& line : rt::SplitText(responseHeaders, rt::Text("\r\n"))) {
        if (rt::FindText(line, "Location:") != -1) scan.location = HeaderValue(line);
        if (rt::FindText(line, "Set-Cookie") != -1) {
            scan.receivedCookies += rt::TrimSpaces(TextBetween(line, "Set-Cookie:", ";"));
            scan.receivedCookies += "; ";
        }
    }
    if (scan.receivedCookies.size() >= 2) scan.receivedCookies.resize(scan.receivedCookies.size() - 2);
    return scan;
}

bool IsMovedPermanently(const rt::Text& responseHeaders) {
    return TextBetween(responseHeaders, "HTTP/1.1 ", " Moved") == "301";
}

}  // namespace web
