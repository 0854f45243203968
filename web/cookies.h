// Merging of a caller's cookie text with the cookies a response set.
#pragma once

#include "runtime/text.h"

namespace web {

// Merges `received` into `stored`: received entries first, then stored entries
// whose name was not received, entries ending in "=deleted" dropped, repeats
// removed, joined by "; ". Both texts lose every space in place; `stored`
// receives the result, and a copy of it is returned.
rt::Text MergeCookies(rt::Text* stored, rt::Text* received);

// The text before the first "=" of `entry` (the whole entry without one),
// trimmed of spaces.
rt::Text CookieName(const rt::Text& entry);

// The entries of `text` split on `separator`, each distinct entry once, in the
// order of first appearance, joined with `separator`.
rt::Text DedupeList(const rt::Text& text, const rt::Text& separator);

}  // namespace web
