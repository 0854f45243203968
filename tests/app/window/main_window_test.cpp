// The main window on the headless backend against the demo sites: what a
// search shows, what a stop leaves, the actions on a selected row, and each
// site box's tooltip after a search.
#include "app/window/main_window.h"
#include "app/search/search_texts.h"
#include "app/sites/site_rules.h"
#include "closed_port.h"
#include "host_fixture.h"
#include "platform/headless/headless_control.h"
#include "ui/controls/effect_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include "demo_sites_program.h"
using DemoSites = demo::DemoSitesProgram;
#else
#include "demo_server.h"
using DemoSites = demo::DemoSites;
#endif

namespace app {
namespace {

// The buttons and rows are pressed with the mouse, as a user does.
class MainWindowTest : public ui::test::HostTest {
protected:
    void Open(const demo::ServeOptions& options = {},
              const std::function<void(SiteTable&)>& adjust = {}) {
        ASSERT_TRUE(sites_.StartOnFreePorts(options));
        SiteTable table = DemoSiteTable(sites_.BasePort());
        if (adjust) adjust(table);
        window_ = std::make_unique<MainWindow>(table);
        ASSERT_TRUE(window_->Build());
        window = window_->Window();
        Pump();
    }

    void TearDown() override {
        if (window_ && plat::IsWindow(window_->Window())) plat::DestroyWindow(window_->Window());
        plat::headless::PumpMessages();
        window_.reset();
        sites_.Stop();
        HostTest::TearDown();
    }

    // Handles what is due, letting one millisecond pass on the backend's clock.
    static void Pump() { Tick(1); }

    void Search(const rt::Text& keyword, const rt::Text& pages) {
        window_->KeywordEdit().Text(keyword);
        window_->PageCountEdit().Text(pages);
        ClickOn(window_->StartButton());
    }

    // A click on the middle of a result row's title.
    void ClickRow(int row) {
        ui::UiListView& list = window_->ResultList();
        const ui::RectF r = list.RowRect(row);
        ClickAt(static_cast<int>(list.Rect().x + list.ItemsRect().x + 200),
                static_cast<int>(list.Rect().y + list.ItemsRect().y + r.y + r.height / 2));
    }

    void RunToEnd() {
        while (window_->Searching()) {
            Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    bool Requested(const std::string& request) const {
        for (const std::string& r : sites_.Requests())
            if (r == request) return true;
        return false;
    }

    DemoSites sites_;
    std::unique_ptr<MainWindow> window_;
};

// Links read back whole whatever they share with the link before them:
// nothing, all of it, more than a record can say, across the points where
// links are kept whole, and one longer than a chunk.
TEST(ResultStoreTest, EveryLinkReadsBackAsItWasKept) {
    std::vector<std::string> links{"",
                                   "magnet:?xt=urn:btih:AAAA",
                                   "magnet:?xt=urn:btih:AAAA",
                                   "magnet:?xt=urn:btih:AB",
                                   "",
                                   "ed2k://|file|x|1|H|/",
                                   std::string(300, 'q') + "1",
                                   std::string(300, 'q') + "2",
                                   "magnet:",
                                   std::string(3 << 20, 'z')};
    for (int i = 0; i < 40; ++i) links.push_back("magnet:?xt=urn:btih:" + std::to_string(i * 7));
    ResultStore store;
    store.Reserve(4);
    for (std::size_t i = 0; i < links.size(); ++i)
        ASSERT_EQ(store.Add(links[i]), static_cast<int>(i + 1));
    ASSERT_EQ(store.Count(), static_cast<int>(links.size()));
    for (std::size_t i = links.size(); i-- > 0;)
        ASSERT_EQ(store.Link(static_cast<int>(i + 1)), links[i]) << i;
    EXPECT_EQ(store.Link(0), "");
    EXPECT_EQ(store.Link(store.Count() + 1), "");
    store.Clear();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.Add("x"), 1);
    EXPECT_EQ(store.Link(1), "x");
}

// A control's font: the face asked for (or the library's default when none
// is), as this machine gives it, at that size and style.
void ExpectFont(const std::optional<gfx::Font>& font, const char* face, float size, int style) {
    ASSERT_TRUE(font.has_value());
    const gfx::Font asked = face ? ui::MakeControlFont(rt::Text(face), size, style)
                                 : ui::MakeControlFont(std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(font->Family().Name(), asked.Family().Name());
    EXPECT_FLOAT_EQ(font->Size(), size);
    EXPECT_EQ(font->Style(), style);
}

std::array<float, 4> Place(const ui::RectF& r) { return {r.x, r.y, r.width, r.height}; }

void ExpectStyle(const ui::TextStyle& control, gfx::Argb colour, gfx::Argb glow) {
    EXPECT_EQ(control.TextColor(), colour);
    EXPECT_EQ(control.Effect(), ui::EFFECT_GLOW);
    EXPECT_EQ(control.EffectColor(), std::optional<gfx::Argb>(glow));
}

// Closed as the close button closes it, the window ends the message loop
// with 0; let go of without closing, it takes its native window along and
// leaves no quit behind to end the next window's loop at once.
TEST_F(MainWindowTest, AMainWindowLeavesNoWindowBehindHoweverItEnds) {
    const std::size_t before = plat::headless::Windows().size();
    {
        MainWindow closed(DemoSiteTable(1));
        ASSERT_TRUE(closed.Build());
        plat::PostMessage(closed.Window(), plat::WM_CLOSE, 0, 0);
        EXPECT_EQ(closed.RunMessageLoop(), 0);
        EXPECT_FALSE(plat::IsWindow(closed.Window()));
    }
    for (int i = 0; i < 2; ++i) {
        MainWindow dropped(DemoSiteTable(1));
        ASSERT_TRUE(dropped.Build());
        Pump();
    }
    EXPECT_EQ(plat::headless::Windows().size(), before);
    plat::MSG msg;
    EXPECT_FALSE(plat::PeekMessage(&msg, nullptr, plat::WM_QUIT, plat::WM_QUIT));
}

TEST_F(MainWindowTest, TheControlsFollowTheCompositionTableInCreationOrder) {
    Open();
    struct Row {
        int kind;
        ui::RectF place;
        const char* text;
    };
    const Row table[] = {
        {ui::KIND_LABEL, {8, 6, 200, 20}, "青柠搜索器 1.0  by墨川"},
        {ui::KIND_PROGRESS_BAR, {4, 78, 963, 15}, ""},
        {ui::KIND_LIST_VIEW, {4, 90, 963, 408}, ""},
        {ui::KIND_LABEL, {4, 40, 200, 29}, "关键字:"},
        {ui::KIND_EDIT, {80, 40, 245, 29}, "我唾弃你的坟墓"},
        {ui::KIND_LABEL, {325, 40, 70, 29}, "搜"},
        {ui::KIND_EDIT, {354, 40, 31, 29}, "10"},
        {ui::KIND_LABEL, {381, 40, 70, 29}, "页"},
        {ui::KIND_EDIT,
         {4, 500, 598, 40},
         "搜索成功后,鼠标左键单击内容即可获取下载地址......点击右边复制按钮即可复制下载地址......"},
        {ui::KIND_BUTTON, {410, 40, 96, 29}, "开始搜素"},
        {ui::KIND_BUTTON, {512, 40, 96, 29}, "停止搜索"},
        {ui::KIND_BUTTON, {599, 500, 70, 40}, "复制下载链"},
        {ui::KIND_GROUP_BOX, {630, 30, 310, 50}, "站 点 列 表"},
    };
    // The caption's buttons come first; then the table's controls in order.
    std::vector<ui::UiControl*> controls;
    for (ui::UiControl* c = ui::FindHost(window)->FirstControl(); c; c = c->NextSibling())
        if (c->Kind() != ui::KIND_CAPTION_BUTTON) controls.push_back(c);
    ASSERT_EQ(controls.size(), std::size(table));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        ui::UiControl* c = controls[i];
        ASSERT_EQ(c->Kind(), table[i].kind);
        EXPECT_EQ(Place(c->Rect()), Place(table[i].place));
        rt::Text text;
        if (auto* label = dynamic_cast<ui::UiLabel*>(c)) text = label->LabelText();
        if (auto* edit = dynamic_cast<ui::UiEdit*>(c)) text = edit->Text();
        if (auto* button = dynamic_cast<ui::UiButton*>(c)) text = button->ButtonText();
        if (auto* group = dynamic_cast<ui::UiGroupBox*>(c)) text = group->Caption();
        EXPECT_EQ(text, table[i].text);
    }
    const auto label = [&](int i) -> ui::UiLabel& {
        return *dynamic_cast<ui::UiLabel*>(controls[i]);
    };
    const auto edit = [&](int i) -> ui::UiEdit& { return *dynamic_cast<ui::UiEdit*>(controls[i]); };
    const auto button = [&](int i) -> ui::UiButton& {
        return *dynamic_cast<ui::UiButton*>(controls[i]);
    };

    ExpectFont(label(0).Font(), nullptr, 12, 0);
    ExpectStyle(label(0), 0xC8FFFFFF, 0x64800080);
    for (int i : {3, 5, 7}) {
        ExpectFont(label(i).Font(), "微软雅黑", 20, gfx::FontStyle::kBold);
        ExpectStyle(label(i), 0xC8800080, 0xFEFFFFFF);
    }

    auto& bar = *dynamic_cast<ui::UiProgressBar*>(controls[1]);
    EXPECT_FLOAT_EQ(bar.Minimum(), 0);
    EXPECT_FLOAT_EQ(bar.Maximum(), 10000);
    EXPECT_FLOAT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.StartColor(), 0xFE00FF00u);
    EXPECT_EQ(bar.EndColor(), 0xFEFFFF00u);
    EXPECT_EQ(bar.BorderColor(), 0x00FFFFFFu);
    EXPECT_EQ(bar.ProgressBackColor(), 0x00808080u);

    const ui::UiListView& list = *dynamic_cast<ui::UiListView*>(controls[2]);
    EXPECT_EQ(list.Style(), ui::ListStyle::Report);
    EXPECT_EQ(list.GridLines(), ui::LIST_GRID_ROWS);
    EXPECT_EQ(list.TextColor(), 0xFEFFFFFFu);
    EXPECT_EQ(list.SelectedTextColor(), 0xFEFFFFFFu);
    EXPECT_EQ(list.BackColor(), 0x00808080u);
    EXPECT_EQ(list.LineColor(), 0x00000000u);
    ExpectFont(list.Font(), nullptr, 12, 0);
    const std::vector<std::pair<rt::Text, float>> columns{
        {"编号", 40}, {"资源标题", 650}, {"资源大小", 75}, {"上传日期", 100}, {"站点", 80}};
    ASSERT_EQ(list.Columns().size(), columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(list.Columns()[i].title, columns[i].first);
        EXPECT_FLOAT_EQ(list.Columns()[i].width, columns[i].second);
    }

    for (int i : {4, 6}) {
        ExpectFont(edit(i).Font(), "微软雅黑", 15, 0);
        EXPECT_EQ(edit(i).TextColor(), 0xC8FFFFFFu);
        EXPECT_EQ(edit(i).BackColor(), 0x64FFFFFFu);
        EXPECT_EQ(edit(i).BorderColor(), 0x00000000u);
        EXPECT_FALSE(edit(i).Multiline());
    }
    EXPECT_EQ(edit(4).InputMode(), ui::EditMode::Normal);
    EXPECT_EQ(edit(6).InputMode(), ui::EditMode::Integer);
    ExpectFont(edit(8).Font(), nullptr, 12, 0);
    EXPECT_EQ(edit(8).TextColor(), 0xC8FFFFFFu);
    EXPECT_EQ(edit(8).BackColor(), 0x00808080u);
    EXPECT_TRUE(edit(8).Multiline());
    EXPECT_EQ(edit(8).ScrollOptions(), ui::EDIT_SCROLL_VERTICAL);

    for (int i : {9, 10, 11}) {
        ExpectFont(button(i).Font(), nullptr, 12, 0);
        ExpectStyle(button(i), 0xDEFFFFFF, 0xB4800080);
        EXPECT_EQ(button(i).Disabled(), i == 10 ? 1 : 0);
    }

    auto& group = *dynamic_cast<ui::UiGroupBox*>(controls[12]);
    ExpectStyle(group, 0xDEFFFFFF, 0xB4800080);
    EXPECT_EQ(group.FillColor(), 0x64FFFFFFu);
    // The eight site boxes sit in the group, ticked, in site order.
    const ui::RectF boxes[] = {{630, 43, 75, 20}, {705, 43, 75, 20}, {780, 43, 82, 20},
                               {855, 43, 75, 20}, {630, 58, 75, 20}, {705, 58, 75, 20},
                               {780, 58, 75, 20}, {855, 58, 75, 20}};
    const char* names[] = {"传播搜索", "31bt搜索", "洪流小猫", "手撕包菜",
                           "电驴视频", "樱花搜索", "磁力搜索", "book搜索"};
    int site = 0;
    for (ui::UiControl* c = group.FirstChild(); c; c = c->NextSibling(), ++site) {
        ASSERT_LT(site, 8);
        SCOPED_TRACE(names[site]);
        auto* box = dynamic_cast<ui::UiCheckBox*>(c);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->Kind(), ui::KIND_CHECK_BOX);
        EXPECT_EQ(Place(box->Rect()), Place(boxes[site]));
        EXPECT_EQ(box->ButtonText(), names[site]);
        ExpectFont(box->Font(), nullptr, 12, 0);
        ExpectStyle(*box, 0xFEFFFFFF, 0xFE000000);
        EXPECT_EQ(box->CheckState(), 1);
    }
    EXPECT_EQ(site, 8);
}

TEST_F(MainWindowTest, TabAndSpaceTickSitesEnterStartsAndEscapeStops) {
    demo::ServeOptions options;
    options.stallSite = 2;
    options.stallPage = 1;
    Open(options);
    const ui::UiWindow& host = *ui::FindHost(window);
    window_->KeywordEdit().Text("abc");
    window_->PageCountEdit().Text("1");
    // From the keyword box Tab reaches the first site box in the group.
    TypeInto(window_->KeywordEdit(), "");
    for (int i = 0; i < 10 && host.FocusControl() != &window_->SiteBox(1); ++i)
        PressKey(plat::VK_TAB);
    ASSERT_EQ(host.FocusControl(), &window_->SiteBox(1));
    PressKey(plat::VK_SPACE, " ");
    EXPECT_EQ(window_->SiteBox(1).CheckState(), 0);
    PressKey(plat::VK_TAB);
    EXPECT_EQ(host.FocusControl(), &window_->SiteBox(2));

    TypeInto(window_->PageCountEdit(), "");
    PressKey(plat::VK_RETURN);
    ASSERT_TRUE(window_->Searching());
    const auto requestedFrom = [this](char site) {
        for (const std::string& r : sites_.Requests())
            if (r[0] == site && r[1] == ' ') return true;
        return false;
    };
    while (!requestedFrom('2')) Pump();
    // Enter again while the search runs starts nothing: no second portal request.
    const std::size_t requests = sites_.Requests().size();
    TypeInto(window_->KeywordEdit(), "");
    PressKey(plat::VK_RETURN);
    for (int i = 0; i < 20; ++i) Pump();
    EXPECT_EQ(sites_.Requests().size(), requests);
    PressKey(plat::VK_ESCAPE);
    EXPECT_FALSE(window_->Searching());
    EXPECT_EQ(window_->StatusBox().Text().rfind("搜索结束！", 0), 0u)
        << window_->StatusBox().Text();
    EXPECT_FALSE(requestedFrom('1'));  // the untick reached the search
}

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
    // Each row shows its hit's fields and keeps its link, as the search found them.
    struct Found : SearchSink {
        bool SiteSelected(SiteId) override { return true; }
        void StatusChanged(const rt::Text&) override {}
        void ClockStarted(app::Tick) override {}
        void HitFound(SiteId, const Hit& hit) override { hits.push_back(hit); }
        void ProgressChanged(int) override {}
        void SearchFinished(int, int) override {}
        std::vector<Hit> hits;
    } found;
    RunSearch({DemoSiteTable(sites_.BasePort()), "abc", 2}, found);
    ASSERT_EQ(found.hits.size(), static_cast<std::size_t>(store.Count()));
    for (int row = 1; row <= store.Count(); ++row) {
        const Hit& hit = found.hits[static_cast<std::size_t>(row - 1)];
        ASSERT_EQ(list.GetCellText(row, 2), hit.title) << row;
        ASSERT_EQ(list.GetCellText(row, 3), hit.size) << row;
        ASSERT_EQ(list.GetCellText(row, 4), hit.date) << row;
        ASSERT_EQ(store.Link(row), hit.link) << row;
    }
    const rt::Text status = window_->StatusBox().Text();
    const rt::Text tally = "秒\r\n共搜到" + rt::ToText(store.Count()) + "个资源";
    EXPECT_EQ(status.rfind("搜索完毕！本次耗时", 0), 0u) << status;
    EXPECT_EQ(status.substr(status.size() - std::min(status.size(), tally.size())), tally);
}

TEST_F(MainWindowTest, TheWindowCarriesTheIconInEachSizeWithStraightAlpha) {
    Open();
    const auto icons = plat::headless::Identity(window_->Window()).icons;
    std::vector<int> sizes;
    bool straightEdge = false;
    for (const plat::IconImage& icon : icons) {
        EXPECT_EQ(icon.width, icon.height);
        sizes.push_back(icon.width);
        // An anti-aliased edge of light art has colour above its alpha only when
        // the alpha is not multiplied in.
        for (const std::uint32_t p : icon.pixels) {
            const std::uint32_t a = p >> 24, g = (p >> 8) & 0xFF;
            straightEdge = straightEdge || (a > 0 && a < 200 && g > a);
        }
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 64}));
    EXPECT_TRUE(straightEdge);
}

TEST_F(MainWindowTest, AfterAStopNothingTheStoppedSearchHandedOverAppears) {
    demo::ServeOptions options;
    options.stallSite = 3;
    options.stallPage = 1;
    Open(options);
    // Started and stopped without clicks: the messages a click brings would
    // let the window take what waits in the hand-over.
    window_->KeywordEdit().Text("abc");
    window_->PageCountEdit().Text("2");
    window_->StartSearch();
    // Sites 1 and 2 have handed over their hits; none has been shown yet.
    while (!Requested("3 /search/%61%62%63/1"))
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
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
    ClickOn(window_->CopyButton());  // no row selected
    ClickOn(window_->ResultList());
    EXPECT_EQ(window_->StatusBox().Text(), before);

    Search("abc", "1");
    RunToEnd();
    ui::UiListView& list = window_->ResultList();
    const ResultStore& store = window_->Store();
    // A row selected before any link was shown: the clipboard refuses the
    // empty link, and the status box says the copy failed.
    plat::SetClipboardText("kept");
    list.Selection(3);
    ClickOn(window_->CopyButton());
    EXPECT_EQ(plat::GetClipboardText(), "kept");
    const auto title = [&](int row) { return list.GetCellText(row, 2); };
    EXPECT_EQ(window_->StatusBox().Text(), "【" + title(3) + "】的下载地址复制失败......");

    ClickRow(7);
    EXPECT_EQ(list.Selection(), 7);
    EXPECT_EQ(window_->StatusBox().Text(), "【" + title(7) + "】 下载地址：  " + store.Link(7));
    ClickOn(window_->CopyButton());
    EXPECT_EQ(plat::GetClipboardText(), store.Link(7));
    EXPECT_EQ(window_->StatusBox().Text(), "【" + title(7) + "】的下载地址已复制......");

    // Selected without a click: the copy still takes row 7's link.
    list.Selection(3);
    ClickOn(window_->CopyButton());
    EXPECT_EQ(plat::GetClipboardText(), store.Link(7));
    EXPECT_EQ(window_->StatusBox().Text(), "【" + title(3) + "】的下载地址已复制......");
}

// Site 2 refuses connections; site 3 is the portal's server, which has no
// result pages.
void BreakSites2And3(SiteTable& table, int portalPort) {
    table.baseUrls[1] = "http://127.0.0.1:" + std::to_string(ClosedPort());
    table.baseUrls[2] = "http://127.0.0.1:" + std::to_string(portalPort);
}

TEST_F(MainWindowTest, EachSiteBoxTellsItsPartOfTheLastSearch) {
    demo::ServeOptions options;
    options.lastPage = 1;
    Open(options, [this](SiteTable& t) { BreakSites2And3(t, sites_.BasePort()); });
    Search("abc", "2");
    RunToEnd();
    auto tip = [this](SiteId site) { return window_->SiteBox(site).Tooltip(); };
    EXPECT_EQ(tip(1).rfind("上次搜索：读了1页，找到", 0), 0u) << tip(1);
    EXPECT_TRUE(tip(1).ends_with("个资源；第1页已是最后一页")) << tip(1);
    EXPECT_EQ(tip(2), "上次搜索：第1页失败：连接被拒绝");
    EXPECT_EQ(tip(3), "上次搜索：第1页失败：HTTP状态码404");
}

TEST_F(MainWindowTest, AStopTellsInEachSiteBoxWhereTheSiteWas) {
    demo::ServeOptions options;
    options.stallSite = 4;
    options.stallPage = 1;
    Open(options, [this](SiteTable& t) { BreakSites2And3(t, sites_.BasePort()); });
    Search("abc", "2");
    while (!Requested("4 /list/%61%62%63/1")) Pump();
    for (int i = 0; i < 20; ++i) Pump();
    ClickOn(window_->StopButton());
    auto tip = [this](SiteId site) { return window_->SiteBox(site).Tooltip(); };
    EXPECT_EQ(tip(2), "上次搜索：第1页失败：连接被拒绝");
    EXPECT_EQ(tip(4), "上次搜索：第1页时被用户停止");
    EXPECT_EQ(tip(5), "上次搜索：第1页时被用户停止");
}

TEST_F(MainWindowTest, OpeningALinkWithNoProgramForItsSchemeIsSaidPlainly) {
    demo::ServeOptions options;
    options.lastPage = 1;
    Open(options);
    // A desktop where nothing is registered for any scheme (the wine prefix
    // of the Windows tests registers nothing for magnet: links).
#if !defined(_WIN32)
    const std::string empty = std::filesystem::temp_directory_path() / "main_window_test.empty";
    for (const char* name :
         {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        ::setenv(name, empty.c_str(), 1);
    ::setenv("DISPLAY", ":0", 0);
#endif
    Search("abc", "1");
    RunToEnd();
    const rt::Text title = window_->ResultList().GetCellText(2, 2);
    const rt::Text line = "【" + title + "】 下载地址：  " + window_->Store().Link(2);
    // A double click: the row's line at once; the hand-over runs off this
    // thread and its outcome joins the line when its message comes.
    ClickRow(2);
    ClickRow(2);
    EXPECT_EQ(window_->StatusBox().Text(), line);
    for (int i = 0; i < 10000 && window_->StatusBox().Text() == line; ++i) {
        Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(window_->StatusBox().Text(), line + "\r\n没有为 magnet 链接登记的程序，【" + title +
                                               "】的下载地址没有打开，可复制下载地址......");
}

}  // namespace
}  // namespace app
