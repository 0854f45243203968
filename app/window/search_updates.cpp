// What a search's worker hands over, taken on the user-interface thread in
// turns and shown: status texts, rows, progress and the end of the search.
#include "app/sites/site_rules.h"
#include "app/window/main_window.h"

namespace app {

namespace {
constexpr Tick kTurnBudgetMs = 10;
constexpr std::size_t kBatch = 128;
// Updates are taken at most once a frame: the rows, the bar and the scroll
// bar of a frame's updates are then drawn and shown once, however fast the
// worker hands them over.
constexpr plat::DWORD kFrameMs = 16;
}  // namespace

void MainWindow::TakeUpdates() {
    // The frame is measured on the clock the drain timer runs on.
    const plat::DWORD now = plat::GetTickCount();
    if (now - lastTake_ < kFrameMs) {
        plat::SetTimer(mainWindow_, kDrainTimer, kFrameMs - (now - lastTake_));
        return;
    }
    lastTake_ = now;
    if (!ApplyUpdates(TickNow() + kTurnBudgetMs)) plat::SetTimer(mainWindow_, kDrainTimer, 1);
}

bool MainWindow::ApplyUpdates(Tick until) {
    for (;;) {
        const std::vector<SearchUpdate> updates = handOver_->Take(kBatch);
        for (const SearchUpdate& update : updates) Apply(update);
        if (updates.size() < kBatch) return true;
        if (TickNow() >= until) return false;
    }
}

void MainWindow::Apply(const SearchUpdate& update) {
    if (update.search != search_ || !searching_) return;
    switch (update.kind) {
    case SearchUpdate::Kind::Status: statusBox_.Text(update.text); break;
    case SearchUpdate::Kind::Clock: searchStartTick_ = update.tick; break;
    case SearchUpdate::Kind::Hits:
        for (std::size_t i = 0; i < update.hits.Count(); ++i)
            AddResultRow(update.site, update.hits.At(i));
        break;
    case SearchUpdate::Kind::Progress:
        progressBar_.Position(static_cast<float>(update.value));
        break;
    case SearchUpdate::Kind::Page:
        siteStats_.PageDone(update.site, update.value, update.page);
        break;
    case SearchUpdate::Kind::Finished:
        searching_ = false;
        ShowIdle();
        ReportSites(false);
        break;
    }
}

void MainWindow::AddResultRow(SiteId site, const HitBlock::View& hit) {
    const int number = store_.Add(hit.link);
    resultList_.AppendRow({rt::ToText(number), hit.title, hit.size, hit.date, SiteLabel(site)});
}

}  // namespace app
