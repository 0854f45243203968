#include "app/search/site_chains.h"

#include "web/request.h"

namespace app {

FetchedPage FetchPage(const SiteTable& sites, SiteId site, const rt::Text& urlKeyword, int page) {
    FetchedPage fetched;
    const rt::Text text = web::WebRequestText(SitePageUrl(sites, site, urlKeyword, page),
                                              {.outcome = &fetched.outcome});
    fetched.found = ScrapePage(site, text, sites);
    return fetched;
}

SiteChains::SiteChains(const SiteTable& sites, const rt::Text& urlKeyword, int pageCount,
                       const std::array<bool, kSiteCount>& read)
    : sites_(sites), urlKeyword_(urlKeyword), pageCount_(pageCount) {
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        Chain& chain = chains_[site - 1];
        if (!read[site - 1] || pageCount_ <= 0) continue;
        chain.running = rt::StartThread([this, site] { Read(site); }, &chain.thread);
    }
}

// Wakes the waits of mutex_ when the calling thread is asked to stop. Made
// before the lock is taken and ended after it is released: the stop runs it
// on the stopping thread, where it takes the lock so that its wake-up cannot
// fall between a waiter's check and its sleep.
SiteChains::WakeOnStop::WakeOnStop(SiteChains& chains)
    : callback_(rt::CurrentStopToken(), [&chains] {
          { std::lock_guard lock(chains.mutex_); }
          chains.changed_.NotifyAll();
      }) {}

SiteChains::~SiteChains() {
    for (Chain& chain : chains_)
        if (chain.running) rt::StopThread(chain.thread);
    for (Chain& chain : chains_)
        if (chain.running) chain.thread.join();
}

void SiteChains::Read(SiteId site) {
    Chain& chain = chains_[site - 1];
    for (int page = 1; page <= pageCount_; ++page) {
        {
            const WakeOnStop wake(*this);
            std::unique_lock lock(mutex_);
            changed_.Wait(lock,
                          [&] { return rt::StopRequested() || page <= visiting_ + kPagesAhead; });
            if (rt::StopRequested()) break;
        }
        FetchedPage fetched = FetchPage(sites_, site, urlKeyword_, page);
        // A stop aborts the transfer, which then looks like an empty page.
        if (rt::StopRequested()) break;
        const bool exhausted = fetched.found.exhausted;
        {
            std::lock_guard lock(mutex_);
            chain.ready.emplace_back(page, std::move(fetched));
        }
        changed_.NotifyAll();
        if (exhausted) break;
    }
    {
        std::lock_guard lock(mutex_);
        chain.ended = true;
    }
    changed_.NotifyAll();
}

void SiteChains::Visiting(int page) {
    {
        std::lock_guard lock(mutex_);
        visiting_ = page;
    }
    changed_.NotifyAll();
}

std::optional<FetchedPage> SiteChains::Take(SiteId site, int page) {
    Chain& chain = chains_[site - 1];
    {
        const WakeOnStop wake(*this);
        std::unique_lock lock(mutex_);
        if (chain.running) {
            // Pages of visits that skipped the site are of no use any more.
            auto arrived = [&] {
                while (!chain.ready.empty() && chain.ready.front().first < page)
                    chain.ready.pop_front();
                return !chain.ready.empty() || chain.ended;
            };
            changed_.Wait(lock, [&] { return rt::StopRequested() || arrived(); });
            if (!arrived()) return std::nullopt;
            if (!chain.ready.empty() && chain.ready.front().first == page) {
                FetchedPage fetched = std::move(chain.ready.front().second);
                chain.ready.pop_front();
                return fetched;
            }
        }
    }
    FetchedPage fetched = FetchPage(sites_, site, urlKeyword_, page);
    if (rt::StopRequested()) return std::nullopt;
    return fetched;
}

}  // namespace app
