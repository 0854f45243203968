#include "app/search/search_driver.h"

#include "app/scraping/url_text.h"
#include "app/search/search_texts.h"
#include "app/search/site_chains.h"
#include "app/sites/site_rules.h"
#include "runtime/thread.h"
#include "web/request.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <optional>

namespace app {

Tick TickNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<Tick>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int ElapsedSeconds(Tick start) { return static_cast<int>((TickNow() - start) / 1000); }

int ProgressStep(int pageCount) {
    if (pageCount == 0) return 0;
    return static_cast<int>(static_cast<double>(kProgressRange) / pageCount);
}

bool RunSearch(const SearchParams& params, SearchSink& sink) {
    if (rt::StopRequested()) return false;
    // The portal only counts the visit; its answer is of no use.
    web::WebRequest(params.sites.portalUrl);
    if (rt::StopRequested()) return false;
    const bool parallel = params.sites.parallel;
    sink.StatusChanged(parallel ? kParallelSearchingStatus : kSearchingStatus);

    const Tick start = TickNow();
    sink.ClockStarted(start);
    std::array<bool, kSiteCount> active;
    active.fill(true);

    const rt::Text keyword = EncodeForUrl(params.keyword);
    const int pageCount = ClampPageCount(params.pageCount);
    const int step = ProgressStep(pageCount);
    int position = 0;
    int hits = 0;
    auto moveTo = [&](int next) {
        if (next == position) return;
        position = next;
        sink.ProgressChanged(position);
    };
    // Read at once, the sites ticked now each get a chain of their own; the
    // visits below take their pages in the same order as they would read them.
    std::optional<SiteChains> chains;
    if (parallel) {
        std::array<bool, kSiteCount> ticked{};
        for (SiteId site = kFirstSite; site <= kLastSite; ++site)
            ticked[site - 1] = sink.SiteSelected(site);
        chains.emplace(params.sites, keyword, pageCount, ticked);
    }

    for (int page = 1; page <= pageCount; ++page) {
        const int target = position + step;
        if (chains) chains->Visiting(page);
        for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
            if (!active[site - 1] || !sink.SiteSelected(site)) continue;
            if (rt::StopRequested()) return false;
            std::optional<FetchedPage> fetched =
                chains ? chains->Take(site, page)
                       : std::optional(FetchPage(params.sites, site, keyword, page));
            // A stop aborts the transfer, which then looks like an empty page.
            if (!fetched || rt::StopRequested()) return false;
            const PageHits& found = fetched->found;
            const web::RequestOutcome& outcome = fetched->outcome;
            for (const Hit& hit : found.hits) {
                if (rt::StopRequested()) return false;
                ++hits;
                sink.HitFound(site, hit);
            }
            if (found.exhausted) active[site - 1] = false;
            sink.PageDone(site, page, static_cast<int>(found.hits.size()), found.exhausted,
                          outcome);
            moveTo(position + step / 8);
        }
        moveTo(target);
    }

    if (rt::StopRequested()) return false;
    const int seconds = ElapsedSeconds(start);
    sink.StatusChanged(FinishedStatus(seconds, hits));
    sink.SearchFinished(seconds, hits);
    return true;
}

}  // namespace app
