// What the per-site report of a search is made of: how each page of a site
// went, and how the site's part of the search ended.
#pragma once

#include <optional>

namespace app {

// Why a page request brought no page.
enum class PageFailure {
    ConnectionRefused,
    HostNotFound,
    TimedOut,          // `timeoutSeconds` says after how long, when known
    HttpStatus,        // `httpStatus` holds the status
    CutShort,          // the connection ended inside the body
    TooLarge,          // the body passed the size limit
    TooManyRedirects,  // redirects were still asked for when the requests ran out
    Other,
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
    NotSearched,    // not ticked when the search came to it
    LastPageRead,   // every requested page gave hits
    NoMoreResults,  // `endPage` came back without a hit
    SitesLastPage,  // `endPage` gave hits and was the site's last page
    Failed,         // `endPage` could not be fetched (`failure` says why)
    Stopped,        // the user stopped the search before `endPage` was done
    Unticked,       // unticked during the search, before `endPage`
};

struct SiteSearchStats {
    SiteEnd end = SiteEnd::NotSearched;
    int pagesRead = 0;  // pages that gave hits
    int hits = 0;
    int endPage = 0;  // the page the site's part ended on, for the ends that have one
    PageFailure failure = PageFailure::Other;
    int httpStatus = 0;
    int timeoutSeconds = 0;
};

}  // namespace app
