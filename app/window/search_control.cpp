// Starting and stopping a search from the window, and showing what its
// worker hands over.
#include "app/report/site_report.h"
#include "app/search/search_texts.h"
#include "app/sites/site_rules.h"
#include "app/window/main_window.h"

#include <algorithm>

namespace app {

namespace {

// Fires while hand-over updates wait beyond one turn's budget; timer
// messages come after input and painting.
constexpr std::uintptr_t kDrainTimer = 0x5EE4;
constexpr Tick kTurnBudgetMs = 10;
constexpr std::size_t kBatch = 128;

}  // namespace

void MainWindow::StartSearch() {
    resultList.DeleteAllRows();
    store_.Clear();
    const rt::Text pages = pageCountEdit.Text();
    const rt::Text clamped = ClampPageCountText(pages);
    if (clamped != pages) pageCountEdit.Text(clamped);
    startButton.Disabled(1);
    stopButton.Disabled(0);
    siteGroup.Disabled(1);
    startButton.ButtonText("正在搜索");

    SearchParams params{sites_, keywordEdit.Text(), rt::ToInteger(pageCountEdit.Text())};
    siteStats_.Start();
    searchPages_ = std::min(params.pageCount, kMaxPageCount);
    const int search = ++search_;
    searching_ = true;
    // Until the driver starts its clock, a stop counts from here.
    searchStartTick = TickNow();
    auto handOver = handOver_;
    rt::StartThread(
        [handOver, params = std::move(params), search] {
            WindowSearchSink sink(handOver, search);
            RunSearch(params, sink);
        },
        &searchThread);
}

void MainWindow::StopSearch() {
    rt::StopThread(searchThread);
    // What the stopped search still hands over is dropped on arrival.
    searching_ = false;
    ShowIdle();
    statusBox.Text(StoppedStatus(ElapsedSeconds(searchStartTick), store_.Count()));
    ReportSites(true);
}

void MainWindow::ShowIdle() {
    progressBar.Position(0);
    startButton.Disabled(0);
    stopButton.Disabled(1);
    siteGroup.Disabled(0);
    startButton.ButtonText("开始搜索");
}

void MainWindow::TakeUpdates() {
    const Tick start = TickNow();
    for (;;) {
        const std::vector<SearchUpdate> updates = handOver_->Take(kBatch);
        for (const SearchUpdate& update : updates) Apply(update);
        if (updates.size() < kBatch) return;
        if (TickNow() - start >= kTurnBudgetMs) break;
    }
    plat::SetTimer(mainWindow, kDrainTimer, 1);
}

void MainWindow::Apply(const SearchUpdate& update) {
    if (update.search != search_ || !searching_) return;
    switch (update.kind) {
    case SearchUpdate::Kind::kStatus: statusBox.Text(update.text); break;
    case SearchUpdate::Kind::kClock: searchStartTick = update.tick; break;
    case SearchUpdate::Kind::kHit: AddResultRow(update.site, update.hit); break;
    case SearchUpdate::Kind::kProgress:
        progressBar.Position(static_cast<float>(update.value));
        break;
    case SearchUpdate::Kind::kPage:
        siteStats_.PageDone(update.site, update.value, update.page);
        break;
    case SearchUpdate::Kind::kFinished:
        searching_ = false;
        ShowIdle();
        ReportSites(false);
        break;
    }
}

void MainWindow::ReportSites(bool stopped) {
    std::array<bool, kSiteCount> ticked{};
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        ticked[site - 1] = siteBoxes[site - 1].CheckState() == 1;
    siteStats_.End(stopped, searchPages_, ticked);
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        siteBoxes[site - 1].Tooltip(SiteReportText(siteStats_.Stats(site)), true);
}

void MainWindow::AddResultRow(SiteId site, const Hit& hit) {
    const int number = store_.Add(hit);
    resultList.AppendRow({rt::ToText(number), hit.title, hit.size, hit.date, SiteLabel(site)});
}

ui::LResult MainWindow::OnMainWindowMessage(ui::NativeWindow, unsigned message, ui::WParam wParam,
                                            ui::LParam) {
    if (message == kSearchUpdateMessage) {
        TakeUpdates();
        return 0;
    }
    if (message == plat::WM_TIMER && wParam == kDrainTimer) {
        plat::KillTimer(mainWindow, kDrainTimer);
        TakeUpdates();
        return 0;
    }
    if (message == kLinkOpenedMessage) {
        ShowLinkOutcome();
        return 0;
    }
    if (message == plat::WM_DESTROY) plat::PostQuitMessage(0);
    return -1;
}

}  // namespace app
