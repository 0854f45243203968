// The header rules of the page request: agent choice, completion of the
// request header block and the scan of the response headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace web {

inline constexpr char kDefaultAgent[] =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; K7QZM; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

// Size of the buffer the raw response headers are read into; headers that do
// not fit (with their terminating zero) read as this many spaces.
inline constexpr int kResponseHeaderBuffer = 5000;

// The agent string: the value of a "User-Agent:" line of `headers` (found in
// any letter case) up to its first line break, else the default agent.
rt::Text AgentFor(const rt::Text& headers);

// `headers` with Referer (the URL escaped as in the request line), Accept,
// Accept-Language and Content-Type lines added where missing, and a Cookie
// line with `cookies` up to its first line break when that is not empty.
rt::Text CompleteHeaders(const rt::Text& headers, const rt::Text& url, const rt::Text& cookies);

// The raw header text as the fixed-size buffer holds it.
rt::Text FitResponseHeaders(const std::string& raw);

// What the response headers say about cookies and redirection.
// Values end at their first CR, LF or zero byte.
struct HeaderScan {
    rt::Text receivedCookies;  // name=value entries joined by "; "
    rt::Text location;         // empty when no line names one
};
HeaderScan ScanResponseHeaders(const rt::Text& responseHeaders);

// True for a "HTTP/1.1 301 ... Moved" status, the one answer followed by hand.
bool IsMovedPermanently(const rt::Text& responseHeaders);

// True when `line` is a header line named `name` (any letter case) followed
// by its colon.
bool IsHeaderNamed(std::string_view line, std::string_view name);

// True when one of `lines` is named `name`.
bool HasHeaderLine(const std::vector<std::string>& lines, std::string_view name);

}  // namespace web
