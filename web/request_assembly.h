// What each request of a page request sends: its header lines in their
// order, built from the caller's header block, the agent, the cookies and the
// body. No line it yields holds a CR, an LF or a zero byte, whatever the
// caller, a response or the cookie store put into it.
//
// The lines of a request, in this order:
//   Host          the caller's Host line, else "Host: host[:port]"
//   User-Agent    the agent, unless the caller's block has a User-Agent line
//   Accept: */*   unless the caller's block has an Accept line
//   Cookie        the cookies of the process-wide store, when it is used
//   ...           the caller's block, completed, one line per line of it
//   Content-Length and Content-Type (form data), with a body, unless the
//                 caller's block has them
// A follow-up of an automatic redirect to another scheme, host or port sends
// none of the caller's Cookie and Authorization lines, and to another host
// no caller's Host line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "web/endpoint.h"
#include "web/transfer.h"

namespace web {

// The caller's part of every request of one exchange.
struct HeaderPlan {
    rt::Text sentHeaders;  // the completed header block, as the caller receives it
    std::string agent;
    // The block's lines as they go on the wire: a line without a name and a
    // colon is no header line and is left out; one without a value is sent
    // as "Name:".
    std::vector<std::string> lines;
};

// The header block of an exchange for `url` from the caller's `headers` and,
// when the caller manages them, `cookies`.
HeaderPlan PlanHeaders(const rt::Text& url, const rt::Text& headers, const rt::Text* cookies);

// One request of an exchange.
struct Hop {
    Endpoint first = {};  // where the exchange began
    Endpoint to = {};
    std::string method = "GET";
    std::optional<rt::ByteBuffer> body = {};
    std::string storeCookies = {};  // the store's Cookie value; empty: no such line
    std::optional<std::string> httpProxy = {};
};

TransferRequest AssembleRequest(const HeaderPlan& headers, const Hop& hop);

}  // namespace web
