// The page request: one HTTP or HTTPS exchange with the header, cookie and
// redirect rules every caller relies on.
//
// Options are optional. An optional value left out takes its default; an
// in/out argument is a caller's variable (null = not supplied,
// the call then works on a scratch variable). Supplying `cookies` or `proxy`
// switches behaviour even when the supplied text is empty: with `cookies` the
// process-wide cookie store is left alone and received cookies are merged
// into the caller's text instead.
//
// Redirects: unless `noRedirect`, a 300, 301, 302, 303, 307 or 308 answer
// with a Location is followed to it, as one exchange whose last response the
// caller sees; a "HTTP/1.1 301 ... Moved" answer that remains is then
// followed by hand to its location with the old path appended. One call
// makes at most 11 requests in all; when a redirect is still asked for after
// the last of them, that answer is returned as it is, with the outcome
// TooManyRedirects.
//
// Failure (no connection, an unresolvable host, no response, a body over
// 32 MiB, a stop request of the calling thread) gives an empty result; the
// arguments then keep the values they had before the exchange that failed.
// A body cut short after its response began (a dropped connection, a body
// shorter than announced, broken chunks, less than 1 KiB/s over 30 s, 120 s
// in total for the call) is returned as far as it arrived.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/text.h"
#include "web/outcome.h"

namespace web {

// Every argument after the URL; callers name only those they supply:
// WebRequestText(url, {.responseHeaders = &headers}).
struct RequestOptions {
    std::optional<std::int32_t> method = {};  // 0 GET (default), 1 POST, 2 GET with a body
    std::optional<rt::Text> postText = {};
    rt::Text* cookies = nullptr;
    rt::Text* receivedCookies = nullptr;
    rt::Text* headers = nullptr;
    rt::Text* location = nullptr;
    std::optional<bool> noRedirect = {};
    rt::ByteBuffer* postBytes = nullptr;
    std::optional<rt::Text> proxy = {};
    rt::Text* responseHeaders = nullptr;
    // Receives how the call ended (of its last exchange); what the call
    // returns and the other arguments do not depend on it.
    RequestOutcome* outcome = nullptr;
};

rt::ByteBuffer WebRequest(const rt::Text& url, const RequestOptions& options = {});

// As WebRequest, with the body taken as text: converted from UTF-8 when
// "utf-8" starts within its first 499 bytes or occurs in the response headers
// in any letter case, and cut at its first zero byte.
rt::Text WebRequestText(const rt::Text& url, const RequestOptions& options = {});

// True when WebRequestText converts `body` received with `responseHeaders`.
bool LooksLikeUtf8(const rt::ByteBuffer& body, const rt::Text& responseHeaders);

}  // namespace web
