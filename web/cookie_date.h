// The date of a cookie's Expires attribute, read as browsers read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace web {

// Seconds since 1970-01-01 00:00 UTC of a date such as
// "Wed, 09 Jun 2021 10:18:14 GMT" (or any order of its parts, with any
// separators, and a two-digit year); nothing when a part is missing or out of
// range.
std::optional<std::int64_t> ParseCookieDate(std::string_view text);

}  // namespace web
