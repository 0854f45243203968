#include "app/window/main_window.h"

#include "app/window/app_icon.h"
#include "ui/core/app_window.h"

namespace app {

MainWindow::MainWindow(SiteTable sites) : sites_(std::move(sites)) {}

MainWindow::~MainWindow() {
    // A worker still reading pages ends at its next check point; what it
    // hands over after that goes nowhere.
    if (searchThread_.valid()) rt::StopThread(searchThread_);
    // A window closed by the user is gone already. Otherwise the host lets
    // go first, so that the window's end neither reaches this half-destroyed
    // object nor posts the quit meant for a closing program.
    host_.Detach();
    if (mainWindow_ != nullptr && plat::IsWindow(mainWindow_)) plat::DestroyWindow(mainWindow_);
}

bool MainWindow::Build() {
    mainWindow_ = ui::CreateAppWindow("青柠搜索器1.1  by墨川");
    if (mainWindow_ == nullptr) return false;
    // A desktop without the icon theme installed still shows the program's icon.
    plat::SetWindowIcon(mainWindow_, AppIconImages());
    plat::BringWindowToTop(mainWindow_);

    ui::AttachOptions attach = ui::SkinnedAttachOptions(ui::CAPTION_MINIMIZE | ui::CAPTION_CLOSE);
    attach.resizable = true;
    if (!host_.Attach(mainWindow_, attach)) return false;

    handOver_ = std::make_shared<SearchHandOver>(mainWindow_, kSearchUpdateMessage);
    CreateControls();
    BindHandlers();
    host_.ShowAnimated(5, 500);
    host_.SetCloseAnimation(6);
    return true;
}

void MainWindow::BindHandlers() {
    startButton_.SetClickHandler([this] { StartSearch(); });
    stopButton_.SetClickHandler([this] { StopSearch(); });
    copyButton_.SetClickHandler([this] { CopyLink(); });
    // Enter in either box starts a search, as the start button would.
    for (ui::UiEdit* box : {&keywordEdit_, &pageCountEdit_}) {
        box->SetReturnHandler([this] {
            if (!startButton_.Disabled()) StartSearch();
        });
    }
    // Every left press shows the selected row's link; the second press of a
    // double click shows it again, then opens it.
    resultList_.SetRowPressedHandler([this](int) { ShowRowLink(); });
    resultList_.SetRowActivatedHandler([this](int) { OpenRowLink(); });
    // The worker reads the ticks at every visit, but never a control.
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        ui::UiCheckBox& box = siteBoxes_[site - 1];
        handOver_->SetSiteTicked(site, box.CheckState() == 1);
        box.SetClickHandler(
            [this, site, &box] { handOver_->SetSiteTicked(site, box.CheckState() == 1); });
    }

    ui::HostCallbacks callbacks;
    callbacks.rawMessage = [this](ui::NativeWindow window, unsigned message, ui::WParam wParam,
                                  ui::LParam lParam) {
        return OnMainWindowMessage(window, message, wParam, lParam);
    };
    host_.SetCallbacks(std::move(callbacks));
}

int MainWindow::RunMessageLoop() {
    plat::MSG msg;
    while (plat::GetMessage(&msg) > 0) {
        plat::TranslateMessage(&msg);
        plat::DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace app
