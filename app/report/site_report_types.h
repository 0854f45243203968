// What the per-site report of a search is made of: how each page of a site
// went, and how the site's part of the search ended.
#pragma once

#include <optional>

namespace app {

// Why a page request brought no page.
enum class PageFailure {
    kConnectionRefused,
    kHostNotFound,
    kTimedOut,          // `timeoutSeconds` says after how long, when known
    kHttpStatus,        // `httpStatus` holds the status
    kCutShort,          // the connection ended inside the body
    kTooLarge,          // the body passed the size limit
    kTooManyRedirects,  // redirects were still asked for when the requests ran out
    kOther,
};

// How one page of one site went.
struct PageOutcome {
    int hits = 0;
    bool exhausted = false;  // the site's rule found no further record
    // Why the request brought no page, when it did not.
    std::optional<PageFailure> failure;
    int httpStatus = 0;
    int timeoutSeconds = 0;
};

// How a site's part of a search ended.
enum class SiteEnd {
    kNotSearched,    // not ticked when the search came to it
    kLastPageRead,   // every requested page gave hits
    kNoMoreResults,  // `endPage` came back without a hit
    kSitesLastPage,  // `endPage` gave hits and was the site's last page
    kFailed,         // `endPage` could not be fetched (`failure` says why)
    kStopped,        // the user stopped the search before `endPage` was done
    kUnticked,       // unticked during the search, before `endPage`
};

struct SiteSearchStats {
    SiteEnd end = SiteEnd::kNotSearched;
    int pagesRead = 0;  // pages that gave hits
    int hits = 0;
    int endPage = 0;  // the page the site's part ended on, for the ends that have one
    PageFailure failure = PageFailure::kOther;
    int httpStatus = 0;
    int timeoutSeconds = 0;
};

}  // namespace app
