// Starting and stopping a search from the window.
#include "app/search/search_texts.h"
#include "app/sites/site_rules.h"
#include "app/window/main_window.h"

#include <algorithm>

namespace app {

void MainWindow::StartSearch() {
    resultList_.DeleteAllRows();
    store_.Clear();
    const rt::Text pages = pageCountEdit_.Text();
    const rt::Text clamped = ClampPageCountText(pages);
    if (clamped != pages) pageCountEdit_.Text(clamped);
    startButton_.Disabled(1);
    stopButton_.Disabled(0);
    siteGroup_.Disabled(1);
    startButton_.ButtonText("正在搜索");

    SearchParams params{sites_, keywordEdit_.Text(), rt::ToInteger(pageCountEdit_.Text())};
    siteStats_.Start();
    searchPages_ = ClampPageCount(params.pageCount);
    // Room up front for the most rows the pages can bring, so that the rows
    // and links never move while the search streams them in.
    std::size_t most = 0;
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        if (siteBoxes_[site - 1].CheckState() == 1)
            most += static_cast<std::size_t>(SiteRecordLimit(site));
    most *= static_cast<std::size_t>(std::max(searchPages_, 0));
    store_.Reserve(most);
    resultList_.ReserveRows(static_cast<int>(most));
    const int search = ++search_;
    searching_ = true;
    // Until the driver starts its clock, a stop counts from here.
    searchStartTick_ = TickNow();
    auto handOver = handOver_;
    rt::StartThread(
        [handOver, params = std::move(params), search] {
            WindowSearchSink sink(handOver, search);
            RunSearch(params, sink);
        },
        &searchThread_);
}

void MainWindow::StopSearch() {
    rt::StopThread(searchThread_);
    // What the stopped search still hands over is dropped on arrival.
    searching_ = false;
    ShowIdle();
    statusBox_.Text(StoppedStatus(ElapsedSeconds(searchStartTick_), store_.Count()));
    ReportSites(true);
}

void MainWindow::ShowIdle() {
    progressBar_.Position(0);
    startButton_.Disabled(0);
    stopButton_.Disabled(1);
    siteGroup_.Disabled(0);
    startButton_.ButtonText("开始搜索");
}

}  // namespace app
