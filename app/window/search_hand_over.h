// How a search on the worker thread reaches the window: every change the
// driver reports becomes an update in a queue shared with the
// user-interface thread, in the driver's order, tagged with the search's
// number, and a message on the window's queue wakes the user-interface
// thread to take it. The worker never touches a control or the store.
#pragma once

#include "app/report/site_report_types.h"
#include "app/search/search_driver.h"
#include "platform/platform.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Posted to the main window when updates wait in an empty hand-over.
inline constexpr plat::UINT kSearchUpdateMessage = plat::WM_APP + 0x51;

// The hits a page brought, in one block: their texts one after another, so
// that a page's hits cross to the user-interface thread in two allocations
// rather than four a hit.
class HitBlock {
public:
    struct View {
        std::string_view title, link, size, date;
    };
    void Add(const Hit& hit);
    std::size_t Count() const { return ends_.size() / 4; }
    bool Empty() const { return ends_.empty(); }
    View At(std::size_t index) const;

private:
    std::string text_;
    std::vector<std::uint32_t> ends_;  // where each hit's title, link, size and date end
};

struct SearchUpdate {
    enum class Kind { Status, Clock, Hits, Progress, Page, Finished };
    int search = 0;  // the number of the search it belongs to
    Kind kind = Kind::Status;
    SiteId site = 0;
    HitBlock hits{};
    rt::Text text{};
    int value = 0;  // progress position, page number, or the finished search's hit count
    PageOutcome page{};
    Tick tick = 0;
};

class SearchHandOver {
public:
    SearchHandOver(plat::Hwnd window, plat::UINT message) : window_(window), message_(message) {}

    // Worker side.
    void Push(SearchUpdate update);
    bool SiteTicked(SiteId site) const { return ticked_[site - 1].load(); }

    // User-interface side.
    void SetSiteTicked(SiteId site, bool ticked) { ticked_[site - 1].store(ticked); }
    // Takes at most `limit` updates, oldest first. The next Push after the
    // queue has run empty posts a new wake-up message.
    std::vector<SearchUpdate> Take(std::size_t limit);

private:
    plat::Hwnd window_;
    plat::UINT message_;
    mutable std::mutex mutex_;
    std::deque<SearchUpdate> queue_;
    bool wakePending_ = false;
    std::array<std::atomic<bool>, kSiteCount> ticked_{};
};

// The driver's sink of one search of the window.
class WindowSearchSink : public SearchSink {
public:
    WindowSearchSink(std::shared_ptr<SearchHandOver> handOver, int search)
        : handOver_(std::move(handOver)), search_(search) {}

    bool SiteSelected(SiteId site) override { return handOver_->SiteTicked(site); }
    void StatusChanged(const rt::Text& text) override;
    void ClockStarted(Tick start) override;
    void HitFound(SiteId site, const Hit& hit) override;
    void ProgressChanged(int position) override;
    void PageDone(SiteId site, int page, int hits, bool exhausted,
                  const web::RequestOutcome& outcome) override;
    void SearchFinished(int seconds, int hits) override;

private:
    // Hands `update` over, marked as this sink's search, after the hits
    // gathered before it.
    void Send(SearchUpdate update);

    std::shared_ptr<SearchHandOver> handOver_;
    int search_;
    // The hits of the page being read, handed over as one block before the
    // next update of another kind.
    SiteId hitsSite_ = 0;
    HitBlock hits_;
};

}  // namespace app
