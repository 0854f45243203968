#include "app/window/search_hand_over.h"

#include "app/report/page_report.h"

namespace app {

void SearchHandOver::Push(SearchUpdate update) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(update));
        wake = !wakePending_;
        wakePending_ = true;
    }
    // A window that is gone refuses the message; its updates are then moot.
    if (wake) plat::PostMessage(window_, message_, 0, 0);
}

std::vector<SearchUpdate> SearchHandOver::Take(std::size_t limit) {
    std::vector<SearchUpdate> taken;
    std::lock_guard lock(mutex_);
    while (!queue_.empty() && taken.size() < limit) {
        taken.push_back(std::move(queue_.front()));
        queue_.pop_front();
    }
    if (queue_.empty()) wakePending_ = false;
    return taken;
}

bool SearchHandOver::Empty() const {
    std::lock_guard lock(mutex_);
    return queue_.empty();
}

SearchUpdate WindowSearchSink::Update(SearchUpdate::Kind kind) const {
    SearchUpdate update;
    update.search = search_;
    update.kind = kind;
    return update;
}

void WindowSearchSink::StatusChanged(const rt::Text& text) {
    SearchUpdate update = Update(SearchUpdate::Kind::kStatus);
    update.text = text;
    handOver_->Push(std::move(update));
}

void WindowSearchSink::ClockStarted(Tick start) {
    SearchUpdate update = Update(SearchUpdate::Kind::kClock);
    update.tick = start;
    handOver_->Push(std::move(update));
}

void WindowSearchSink::HitFound(SiteId site, const Hit& hit) {
    SearchUpdate update = Update(SearchUpdate::Kind::kHit);
    update.site = site;
    update.hit = hit;
    handOver_->Push(std::move(update));
}

void WindowSearchSink::ProgressChanged(int position) {
    SearchUpdate update = Update(SearchUpdate::Kind::kProgress);
    update.value = position;
    handOver_->Push(std::move(update));
}

void WindowSearchSink::PageDone(SiteId site, int page, int hits, bool exhausted,
                                const web::RequestOutcome& outcome) {
    SearchUpdate update = Update(SearchUpdate::Kind::kPage);
    update.site = site;
    update.value = page;
    update.page = ReportedPage(hits, exhausted, outcome);
    handOver_->Push(std::move(update));
}

void WindowSearchSink::SearchFinished(int, int hits) {
    SearchUpdate update = Update(SearchUpdate::Kind::kFinished);
    update.value = hits;
    handOver_->Push(std::move(update));
}

}  // namespace app
