// Pieces of a URL and of header lines, as the page request takes them apart.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace web {

// True when `url` begins with "https" in any letter case.
bool IsHttps(const rt::Text& url);

// The host of `url` in lower case; without `keepPort` a ":port" suffix is cut.
// A URL without "http://" or "https://" is taken as http. An IPv6 address
// keeps its brackets: "[::1]".
rt::Text UrlHost(const rt::Text& url, bool keepPort);

// The port to connect to: the explicit one, else 443 for https and 80 otherwise.
std::int32_t UrlPort(const rt::Text& url);

// The object path sent in the request line, from the first "/" after the host
// to the end (query included); "/" when there is none.
rt::Text UrlPath(const rt::Text& url);

// The text between the first `startMarker` at or after `startPos` and the next
// `endMarker`; empty when either is missing. In both markers "#引号" stands
// for a double quote.
rt::Text TextBetween(const rt::Text& text, const rt::Text& startMarker, const rt::Text& endMarker,
                     std::optional<int> startPos = std::nullopt,
                     std::optional<bool> caseSensitive = std::nullopt);

// The text after the first ":" of `line`, trimmed; empty without a ":".
rt::Text HeaderValue(const rt::Text& line);

// `text` up to its first CR, LF or zero byte: what of a value can stay on
// one header line.
rt::Text UpToLineBreak(const rt::Text& text);

// `text` with every byte a URL cannot carry raw (controls, space, DEL and
// bytes from 0x80) percent-encoded, all others as given.
rt::Text EscapeUrlBytes(const rt::Text& text);

}  // namespace web
