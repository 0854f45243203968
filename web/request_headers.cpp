#include "web/request_headers.h"

#include <algorithm>
#include <cctype>

#include "web/url.h"

namespace web {

rt::Text AgentFor(const rt::Text& headers) {
    if (rt::FindText(headers, "User-Agent:", 1, true) == -1) return kDefaultAgent;
    const rt::Text agent = rt::TrimSpaces(TextBetween(headers, "User-Agent:", "\r\n"));
    // A last line without CR LF after it falls back on the first colon.
    return UpToLineBreak(agent.empty() ? HeaderValue(headers) : agent);
}

rt::Text CompleteHeaders(const rt::Text& headers, const rt::Text& url, const rt::Text& cookies) {
    rt::Text block = headers;
    // Searched by character: an ASCII letter may be the second byte of a
    // double-byte character, and a name found there is no header name.
    auto has = [&](const char* name) { return rt::FindText(block, name) != -1; };
    // The URL as the request line carries it, so no byte of it breaks the line.
    if (!has("Referer:"))
        block += (block.empty() ? "Referer: " : "\r\nReferer: ") + EscapeUrlBytes(url);
    if (!has("Accept:")) block += "\r\nAccept: */*";
    if (!has("Accept-Language:")) block += "\r\nAccept-Language: zh-cn";
    if (!has("Content-Type:")) block += "\r\nContent-Type: application/x-www-form-urlencoded";
    const rt::Text cookieLine = UpToLineBreak(cookies);
    if (!cookieLine.empty()) block += "\r\nCookie: " + cookieLine;
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
        // A lone CR inside a line ends the value: it is sent back later.
        if (rt::FindText(line, "Location:") != -1) scan.location = UpToLineBreak(HeaderValue(line));
        if (rt::FindText(line, "Set-Cookie") != -1) {
            scan.receivedCookies +=
                rt::TrimSpaces(UpToLineBreak(TextBetween(line, "Set-Cookie:", ";")));
            scan.receivedCookies += "; ";
        }
    }
    if (scan.receivedCookies.size() >= 2)
        scan.receivedCookies.resize(scan.receivedCookies.size() - 2);
    return scan;
}

bool IsMovedPermanently(const rt::Text& responseHeaders) {
    return TextBetween(responseHeaders, "HTTP/1.1 ", " Moved") == "301";
}

bool IsHeaderNamed(std::string_view line, std::string_view name) {
    return line.size() > name.size() && line[name.size()] == ':' &&
           std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool HasHeaderLine(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return IsHeaderNamed(line, name); });
}

}  // namespace web
