// What one exchange of the page request sends: the URL libcurl is given, the
// agent and every header line, built from the caller's URL, header block and
// cookies. No line it yields holds a CR, an LF or a zero byte.
#pragma once

#include <optional>

#include "runtime/text.h"
#include "web/transfer.h"

namespace web {

struct AssembledRequest {
    TransferRequest transfer;  // url, agent, headerLines, useCookieStore
    rt::Text sentHeaders;      // the completed header block, as the caller receives it
};

// Nothing when the URL's host part is no host name (libcurl would read parts
// of it as another URL part and connect somewhere else). `cookies` null: the
// process-wide cookie store is used instead.
std::optional<AssembledRequest> AssembleRequest(const rt::Text& url, const rt::Text& headers,
                                                const rt::Text* cookies);

}  // namespace web
