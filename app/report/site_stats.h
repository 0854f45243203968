// Collects each site's part of a search from the pages as they are done,
// for the per-site report.
#pragma once

#include "app/report/site_report_types.h"
#include "app/scraping/site_table.h"

#include <array>

namespace app {

class SiteStatsCollector {
public:
    // A new search: every site starts as not searched.
    void Start();
    void PageDone(SiteId site, int page, const PageOutcome& outcome);
    // The search ended: after its last page (`stopped` false) or by the
    // user. `ticked` is each site's box at that moment; `pageCount` the
    // pages asked for.
    void End(bool stopped, int pageCount, const std::array<bool, kSiteCount>& ticked);

    const SiteSearchStats& Stats(SiteId site) const { return stats_.at(site - 1); }

private:
    std::array<SiteSearchStats, kSiteCount> stats_{};
    std::array<int, kSiteCount> lastPage_{};  // the last page done per site
    std::array<bool, kSiteCount> ended_{};    // exhausted or failed
};

}  // namespace app
