// Starting and stopping a search from the window.
#include "app/search/search_texts.h"
#include "app/sites/site_rules.h"
#include "app/window/main_window.h"

#include <algorithm>

namespace app {

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
    searchPages_ = ClampPageCount(params.pageCount);
    // Room up front for the most rows the pages can bring, so that the rows
    // and links never move while the search streams them in.
    std::size_t most = 0;
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        if (siteBoxes[site - 1].CheckState() == 1)
            most += static_cast<std::size_t>(SiteRecordLimit(site));
    most *= static_cast<std::size_t>(std::max(searchPages_, 0));
    store_.Reserve(most);
    resultList.ReserveRows(static_cast<int>(most));
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

}  // namespace app
