// One hit cut out of a result page, and what a site rule yields for a page.
#pragma once

#include "runtime/text.h"

#include <vector>

namespace app {

// Written into a field the site does not provide.
inline const rt::Text kUnknownField = "未知";

struct Hit {
    rt::Text title;
    rt::Text link;  // a "magnet:?" or "ed2k" link
    rt::Text size;
    rt::Text date;

    bool operator==(const Hit&) const = default;
};

struct PageHits {
    std::vector<Hit> hits;   // in page order
    bool exhausted = false;  // the site has no further result page
};

}  // namespace app
