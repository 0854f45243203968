// Starting and stopping a search from the window.
#include "app/search/search_texts.h"
#include "app/window/main_window.h"

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
