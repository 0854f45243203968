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

void HitBlock::Add(const Hit& hit) {
    for (const rt::Text* field : {&hit.title, &hit.link, &hit.size, &hit.date}) {
        text_ += *field;
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
}

HitBlock::View HitBlock::At(std::size_t index) const {
    const std::string_view text = text_;
    std::size_t start = index == 0 ? 0 : ends_[index * 4 - 1];
    std::string_view fields[4];
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t end = ends_[index * 4 + i];
        fields[i] = text.substr(start, end - start);
        start = end;
    }
    return {fields[0], fields[1], fields[2], fields[3]};
}

void WindowSearchSink::Send(SearchUpdate update) {
    if (!hits_.Empty()) {
        SearchUpdate block{.search = search_, .kind = SearchUpdate::Kind::Hits, .site = hitsSite_};
        std::swap(block.hits, hits_);
        handOver_->Push(std::move(block));
    }
    update.search = search_;
    handOver_->Push(std::move(update));
}

void WindowSearchSink::StatusChanged(const rt::Text& text) {
    Send({.kind = SearchUpdate::Kind::Status, .text = text});
}

void WindowSearchSink::ClockStarted(Tick start) {
    Send({.kind = SearchUpdate::Kind::Clock, .tick = start});
}

void WindowSearchSink::HitFound(SiteId site, const Hit& hit) {
    // A page's hits are all of one site and end with its PageDone.
    hitsSite_ = site;
    hits_.Add(hit);
}

void WindowSearchSink::ProgressChanged(int position) {
    Send({.kind = SearchUpdate::Kind::Progress, .value = position});
}

void WindowSearchSink::PageDone(SiteId site, int page, int hits, bool exhausted,
                                const web::RequestOutcome& outcome) {
    Send({.kind = SearchUpdate::Kind::Page,
          .site = site,
          .value = page,
          .page = ReportedPage(hits, exhausted, outcome)});
}

void WindowSearchSink::SearchFinished(int, int hits) {
    Send({.kind = SearchUpdate::Kind::Finished, .value = hits});
}

}  // namespace app
