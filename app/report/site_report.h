// The plain words for one site's part of the last search, shown as the
// tooltip of the site's check box: pages read, hits found and how it ended.
#pragma once

#include "runtime/text.h"

namespace app {

// Why a page request brought no page.
enum class PageFailure {
    kConnectionRefused,
    kHostNotFound,
    kTimedOut,    // `timeoutSeconds` says after how long, when known
    kHttpStatus,  // `httpStatus` holds the status
    kCutShort,    // the connection ended inside the body
    kTooLarge,    // the body passed the size limit
    kOther,
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

// The tooltip text in code page 936, for example
// "上次搜索：读了3页，找到87个资源；第4页没有结果".
rt::Text SiteReportText(const SiteSearchStats& stats);

}  // namespace app
