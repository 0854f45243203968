// The redirects a page request follows by itself: which answers, to where,
// and how the follow-up is sent. (The "301 Moved" answer that is followed by
// hand, to its location with the old path appended, is in
// request_headers.h.)
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "web/endpoint.h"

namespace web {

// Requests one page request makes at most, automatic follow-ups and "301
// Moved" follow-ups together: the first and ten more.
inline constexpr int kMaxRequests = 11;

struct FollowUp {
    std::string url;  // absolute
    // 301, 302 and 303 ask for a GET without the body; 307 and 308 for the
    // same request again.
    bool asGet = false;
};

// The follow-up of a whole response with `status` and `rawHeaders` from
// `from`: a status of 300, 301, 302, 303, 307 or 308 whose first Location
// line names an http or https URL. Nothing for any other answer.
std::optional<FollowUp> AutomaticFollowUp(const Endpoint& from, int status,
                                          std::string_view rawHeaders);

// `location` read against the URL of `base`: an absolute http or https URL
// as given; a reference ("//host/x", "/x", "x", "?q", "#f") resolved against
// the base, dot segments of a relative path taken out. Nothing when empty
// or of another scheme.
std::optional<std::string> ResolveLocation(const Endpoint& base, std::string_view location);

}  // namespace web
