// The main window on the headless backend against the demo sites: each site
// box's tooltip after a search where sites refuse, answer 404 or hang until
// the stop; a row's link handed to the desktop.
#include "app/window/main_window.h"
#include "closed_port.h"
#include "demo_server.h"
#include "platform/headless/headless_control.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

namespace app {
namespace {

class WindowReport : public ::testing::Test {
protected:
    // Site 2 refuses connections, site 3 is the portal's server, which has no
    // result pages.
    void Open(const demo::ServeOptions& options) {
        plat::headless::Reset();
        ASSERT_TRUE(sites_.StartOnFreePorts(options));
        SiteTable table = DemoSiteTable(sites_.basePort());
        table.baseUrls[1] = "http://127.0.0.1:" + std::to_string(ClosedPort());
        table.baseUrls[2] = "http://127.0.0.1:" + std::to_string(sites_.basePort());
        window_ = std::make_unique<MainWindow>(table);
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
    static void Pump() {
        plat::headless::AdvanceClock(1);
        plat::headless::PumpMessages();
    }
    void Search(const rt::Text& pages) {
        window_->KeywordEdit().Text("abc");
        window_->PageCountEdit().Text(pages);
        window_->StartSearch();
    }
    void RunToEnd() {
        while (window_->Searching()) {
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    rt::Text Tip(SiteId site) { return window_->SiteBox(site).Tooltip(); }

    demo::DemoSites sites_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(WindowReport, EachSiteBoxTellsItsPartOfTheLastSearch) {
    demo::ServeOptions options;
    options.lastPage = 1;
    Open(options);
    Search("2");
    RunToEnd();
    EXPECT_EQ(Tip(1).rfind("上次搜索：读了1页，找到", 0), 0u) << Tip(1);
    EXPECT_TRUE(Tip(1).ends_with("个资源；第1页已是最后一页")) << Tip(1);
    EXPECT_EQ(Tip(2), "上次搜索：第1页失败：连接被拒绝");
    EXPECT_EQ(Tip(3), "上次搜索：第1页失败：HTTP状态码404");

}

TEST_F(WindowReport, AStopTellsWhereEachSiteWas) {
    demo::ServeOptions options;
    options.stallSite = 4;
    options.stallPage = 1;
    Open(options);
    Search("2");
    const std::string stalled = "4 /list/%61%62%63/1";
    for (bool seen = false; !seen; Pump()) {
        for (const std::string& r : sites_.Requests()) seen = seen || r == stalled;
    }
    for (int i = 0; i < 20; ++i) Pump();
    window_->StopSearch();
    EXPECT_EQ(Tip(2), "上次搜索：第1页失败：连接被拒绝");
    EXPECT_EQ(Tip(4), "上次搜索：第1页时被用户停止");
    EXPECT_EQ(Tip(5), "上次搜索：第1页时被用户停止");
}

TEST_F(WindowReport, ARowsLinkWithNoProgramForItsSchemeIsSaidPlainly) {
    demo::ServeOptions options;
    options.lastPage = 1;
    Open(options);
    // A desktop where nothing is registered for any scheme.
    const std::string empty = std::filesystem::temp_directory_path() / "window_report_test.empty";
    for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        ::setenv(name, empty.c_str(), 1);
    ::setenv("DISPLAY", ":0", 0);
    Search("1");
    RunToEnd();
    window_->ResultList().Selection(2);
    const rt::Text title = window_->ResultList().GetCellText(2, 2);
    window_->OpenRowLink();
    EXPECT_EQ(window_->StatusBox().Text(),
              "没有为 magnet 链接登记的程序，【" + title + "】的下载地址没有打开，可复制下载地址......");
}

}  // namespace
}  // namespace app
