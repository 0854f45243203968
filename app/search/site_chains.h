// The ticked sites read at once: each site's pages are requested one after
// another by a thread of its own (never two requests to one site at a
// time), a few pages ahead of the page the driver visits, and handed to the
// driver in the order it visits them, so a search reads the same rows in the
// same order as one that requests every page itself.
#pragma once

#include "app/scraping/site_table.h"
#include "app/sites/site_rules.h"
#include "runtime/sync.h"
#include "runtime/thread.h"
#include "web/outcome.h"

#include <array>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>

namespace app {

// One page of a site, requested and cut into hits.
struct FetchedPage {
    PageHits found;
    web::RequestOutcome outcome;
};

// Requests page `page` of `site` for a keyword already encoded for URLs. A
// stop of the calling thread aborts the transfer.
FetchedPage FetchPage(const SiteTable& sites, SiteId site, const rt::Text& urlKeyword, int page);

class SiteChains {
public:
    // How many pages a chain may read beyond the page being visited.
    static constexpr int kPagesAhead = 8;

    // Starts a chain for every site marked in `read`, for pages 1..pageCount.
    SiteChains(const SiteTable& sites, const rt::Text& urlKeyword, int pageCount,
               const std::array<bool, kSiteCount>& read);
    // Stops every chain and waits for it: a transfer in flight is aborted.
    ~SiteChains();
    SiteChains(const SiteChains&) = delete;
    SiteChains& operator=(const SiteChains&) = delete;

    // The driver visits `page` now.
    void Visiting(int page);
    // Page `page` of `site`, waiting for its chain; requested on the calling
    // thread when no chain brings it (a site ticked during the search, or
    // one skipped at its last page). Nothing when the calling thread is
    // stopped meanwhile.
    std::optional<FetchedPage> Take(SiteId site, int page);

private:
    struct Chain {
        bool running = false;
        rt::ThreadHandle thread;
        std::deque<std::pair<int, FetchedPage>> ready;  // page number, page
        bool ended = false;                             // no further page comes
    };
    void Read(SiteId site);

    class WakeOnStop {
    public:
        explicit WakeOnStop(SiteChains& chains);

    private:
        std::stop_callback<std::function<void()>> callback_;
    };

    const SiteTable& sites_;
    const rt::Text urlKeyword_;
    const int pageCount_;
    rt::Mutex mutex_;
    rt::Condition changed_;
    int visiting_ = 0;
    std::array<Chain, kSiteCount> chains_;
};

}  // namespace app
