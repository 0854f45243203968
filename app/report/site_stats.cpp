#include "app/report/site_stats.h"

namespace app {

void SiteStatsCollector::Start() {
    stats_.fill(SiteSearchStats{});
    lastPage_.fill(0);
    ended_.fill(false);
}

void SiteStatsCollector::PageDone(SiteId site, int page, const PageOutcome& outcome) {
    SiteSearchStats& s = stats_.at(site - 1);
    lastPage_[site - 1] = page;
    s.hits += outcome.hits;
    if (outcome.hits > 0) ++s.pagesRead;
    if (!outcome.exhausted) return;
    ended_[site - 1] = true;
    s.endPage = page;
    // A page cut short can still have given hits before the site ended.
    if (outcome.failure) {
        s.end = SiteEnd::Failed;
        s.failure = *outcome.failure;
        s.httpStatus = outcome.httpStatus;
        s.timeoutSeconds = outcome.timeoutSeconds;
    } else {
        // A short page with hits is the site's last one, not an empty one.
        s.end = outcome.hits > 0 ? SiteEnd::SitesLastPage : SiteEnd::NoMoreResults;
    }
}

void SiteStatsCollector::End(bool stopped, int pageCount,
                             const std::array<bool, kSiteCount>& ticked) {
    for (int i = 0; i < kSiteCount; ++i) {
        if (ended_[i]) continue;
        SiteSearchStats& s = stats_[i];
        if (lastPage_[i] == 0 && !ticked[i]) {
            s.end = SiteEnd::NotSearched;
        } else if (lastPage_[i] >= pageCount) {
            s.end = SiteEnd::LastPageRead;
            s.endPage = lastPage_[i];
        } else {
            // Unticked, or ticked again too late for the pages that were left.
            s.end = stopped && ticked[i] ? SiteEnd::Stopped : SiteEnd::Unticked;
            s.endPage = lastPage_[i] + 1;
        }
    }
}

}  // namespace app
