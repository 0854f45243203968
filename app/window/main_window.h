// The program's one window: its controls, the search it runs and the
// actions on a selected hit. Everything here runs on the user-interface
// thread; a search's worker reaches it only through the hand-over.
#pragma once

#include "app/report/site_stats.h"
#include "app/scraping/site_table.h"
#include "app/window/result_store.h"
#include "app/window/search_hand_over.h"
#include "runtime/thread.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/edit.h"
#include "ui/controls/group_box.h"
#include "ui/controls/label.h"
#include "ui/controls/list_view.h"
#include "ui/controls/progress_bar.h"
#include "ui/core/window.h"

#include <array>
#include <memory>
#include <string_view>

namespace app {

class MainWindow {
public:
    explicit MainWindow(SiteTable sites);
    // Asks a running search to stop (never waits for it) and destroys the
    // native window if it is still there.
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls, binds the handlers and shows it.
    // False when no native window can be created (no display).
    bool Build();
    // Runs the message loop until the window is gone.
    int RunMessageLoop();

    // Handlers bound to the controls.
    void StartSearch();
    void StopSearch();
    void ShowRowLink();
    void CopyLink();
    // A double click on a row: its link to the desktop's handler for the
    // scheme, off this thread; the outcome joins the row's line in the
    // status box when it comes.
    void OpenRowLink();
    // Replaces the status box's text, as a search's status does.
    void ShowNotice(const rt::Text& text) { statusBox_.Text(text); }
    ui::LResult OnMainWindowMessage(ui::NativeWindow window, unsigned message, ui::WParam wParam,
                                    ui::LParam lParam);

    plat::Hwnd Window() const { return mainWindow_; }
    bool Searching() const { return searching_; }
    // For programs that drive the window without a user (tests, benchmarks).
    ui::UiEdit& KeywordEdit() { return keywordEdit_; }
    ui::UiEdit& PageCountEdit() { return pageCountEdit_; }
    ui::UiEdit& StatusBox() { return statusBox_; }
    ui::UiListView& ResultList() { return resultList_; }
    ui::UiCheckBox& SiteBox(SiteId site) { return siteBoxes_.at(site - 1); }
    ui::UiButton& StartButton() { return startButton_; }
    ui::UiButton& StopButton() { return stopButton_; }
    ui::UiButton& CopyButton() { return copyButton_; }
    const ResultStore& Store() const { return store_; }

private:
    // The selected result row's hit number (0: no row) and title (the list's
    // own, valid until the list changes).
    struct SelectedRow {
        int number = 0;
        std::string_view title;
    };
    SelectedRow Selected();

    // Fires while hand-over updates wait beyond one turn's budget; timer
    // messages come after input and painting.
    static constexpr std::uintptr_t kDrainTimer = 0x5EE4;

    void CreateControls();  // the composition table, in creation order
    void BindHandlers();
    // Takes the search's updates for a while, leaving the rest for later so
    // input and painting keep their turn.
    void TakeUpdates();
    // Applies what the worker has handed over until `until` (a TickNow
    // value); true when nothing is left.
    bool ApplyUpdates(Tick until);
    void Apply(const SearchUpdate& update);
    void AddResultRow(SiteId site, const HitBlock::View& hit);
    void ShowIdle();  // the buttons, group and bar as between searches
    // Each site box's tooltip tells the site's part of the search just ended.
    void ReportSites(bool stopped);
    // The outcome of the latest OpenRowLink has come.
    void ShowLinkOutcome();

    SiteTable sites_;

    plat::Hwnd mainWindow_ = nullptr;
    // Declared before the controls: they go first.
    ui::UiWindow host_;
    ui::UiLabel titleLabel_, keywordLabel_, searchLabel_, pageLabel_;
    ui::UiProgressBar progressBar_;
    ui::UiListView resultList_;
    ui::UiEdit keywordEdit_, pageCountEdit_, statusBox_;
    ui::UiButton startButton_, stopButton_, copyButton_;
    ui::UiGroupBox siteGroup_;
    std::array<ui::UiCheckBox, kSiteCount> siteBoxes_;

    ResultStore store_;
    rt::Text selectedLink_;
    rt::ThreadHandle searchThread_;
    Tick searchStartTick_ = 0;
    plat::DWORD lastTake_ = 0;  // when updates were last taken (GetTickCount)
    std::shared_ptr<SearchHandOver> handOver_;
    SiteStatsCollector siteStats_;
    int searchPages_ = 0;     // the pages per site the latest search asked for
    int search_ = 0;          // the number of the latest search
    bool searching_ = false;  // the latest search still counts

    // Posted when a link handed to the desktop has its outcome.
    static constexpr plat::UINT kLinkOpenedMessage = plat::WM_APP + 0x52;
    struct LinkReply;
    std::shared_ptr<LinkReply> linkReply_;
    int linkOpenings_ = 0;  // the number of the latest OpenRowLink
    rt::Text openedLine_;   // the status line of the row it opened
};

}  // namespace app
