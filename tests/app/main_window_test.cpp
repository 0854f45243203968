// The main window on the headless backend against the demo sites: what a
// search shows, what a stop leaves, and the actions on a selected row.
#include "app/search/search_texts.h"
#include "app/window/main_window.h"
#include "demo_server.h"
#include "platform/headless/headless_control.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace app {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void Open(const demo::ServeOptions& options = {}) {
        plat::headless::Reset();
        ASSERT_TRUE(sites_.StartOnFreePorts(options));
        window_ = std::make_unique<MainWindow>(DemoSiteTable(sites_.basePort()));
        ASSERT_TRUE(window_->Build());
        Pump();
    }

    void TearDown() override {
        if (window_ && plat::IsWindow(window_->Window())) plat::DestroyWindow(window_->Window());
        plat::headless::PumpMessages();
        window_.reset();
        sites_.Stop();
        plat::headless::Reset();
    }

    // Handles what is due, letting one millisecond pass on the backend's clock.
    static void Pump() {
        plat::headless::AdvanceClock(1);
        plat::headless::PumpMessages();
    }

    void Search(const rt::Text& keyword, const rt::Text& pages) {
        window_->KeywordEdit().Text(keyword);
        window_->PageCountEdit().Text(pages);
        window_->StartSearch();
    }

    void RunToEnd() {
        while (window_->Searching()) {
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    bool Requested(const std::string& request) const {
        for (const std::string& r : sites_.Requests()) if (r == request) return true;
        return false;
    }

    demo::DemoSites sites_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, AFinishedSearchShowsEveryHitNumberedInOrderAndCountsThem) {
    Open();
    Search("abc", "2");
    RunToEnd();
    const ResultStore& store = window_->Store();
    ui::UiListView& list = window_->ResultList();
    ASSERT_GT(store.Count(), 20);
    EXPECT_EQ(list.RowCount(), store.Count());
    EXPECT_EQ(list.GetCellText(1, 1), "1");
    EXPECT_EQ(list.GetCellText(store.Count(), 1), rt::ToText(store.Count()));
    EXPECT_EQ(list.GetCellText(1, 5), SiteLabel(1));
    EXPECT_EQ(list.GetCellText(store.Count(), 2), store.titles[store.Count()]);
    const rt::Text status = window_->StatusBox().Text();
    const rt::Text tally = "秒\r\n共搜到" + rt::ToText(store.Count()) + "个资源";
    EXPECT_EQ(status.rfind("搜索完毕！本次耗时", 0), 0u) << status;
    EXPECT_EQ(status.substr(status.size() - std::min(status.size(), tally.size())), tally);
}

TEST_F(MainWindowTest, AfterAStopNothingTheStoppedSearchHandedOverAppears) {
    demo::ServeOptions options;
    options.stallSite = 3;
    options.stallPage = 1;
    Open(options);
    Search("abc", "2");
    // Sites 1 and 2 have handed over their hits; none has been shown yet.
    while (!Requested("3 /search/%61%62%63/1")) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    window_->StopSearch();
    EXPECT_EQ(window_->StatusBox().Text(), StoppedStatus(0, 0));
    EXPECT_FALSE(window_->Searching());
    for (int i = 0; i < 50; ++i) Pump();
    EXPECT_EQ(window_->ResultList().RowCount(), 0);
    EXPECT_EQ(window_->Store().Count(), 0);
    EXPECT_EQ(window_->StatusBox().Text(), StoppedStatus(0, 0));
}

TEST_F(MainWindowTest, ARowClickShowsItsLinkAndCopyTakesTheLinkLastShown) {
    Open();
    const rt::Text before = window_->StatusBox().Text();
    window_->CopyLink();  // no row selected
    window_->ShowRowLink();
    EXPECT_EQ(window_->StatusBox().Text(), before);

    Search("abc", "1");
    RunToEnd();
    ui::UiListView& list = window_->ResultList();
    const ResultStore& store = window_->Store();
    // A row selected before any link was shown: the clipboard refuses the
    // empty link, and the status box says the copy failed.
    plat::SetClipboardText("kept");
    list.Selection(3);
    window_->CopyLink();
    EXPECT_EQ(plat::GetClipboardText(), "kept");
    EXPECT_EQ(window_->StatusBox().Text(), "【" + store.titles[3] + "】的下载地址复制失败......");

    list.Selection(7);
    window_->ShowRowLink();
    EXPECT_EQ(window_->StatusBox().Text(), "【" + store.titles[7] + "】 下载地址：  " + store.links[7]);
    window_->CopyLink();
    EXPECT_EQ(plat::GetClipboardText(), store.links[7]);
    EXPECT_EQ(window_->StatusBox().Text(), "【" + store.titles[7] + "】的下载地址已复制......");

    // Selected without the click's handler: the copy still takes row 7's link.
    list.Selection(3);
    window_->CopyLink();
    EXPECT_EQ(plat::GetClipboardText(), store.links[7]);
    EXPECT_EQ(window_->StatusBox().Text(), "【" + store.titles[3] + "】的下载地址已复制......");
}

}  // namespace
}  // namespace app
