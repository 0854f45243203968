// The main window's own messages: the hand-over's wake-up and drain timer,
// the opener's outcome, Escape, and the end of the program with the window.
#include "app/window/main_window.h"

namespace app {

ui::LResult MainWindow::OnMainWindowMessage(ui::NativeWindow, unsigned message, ui::WParam wParam,
                                            ui::LParam) {
    if (message == kSearchUpdateMessage) {
        TakeUpdates();
        return 0;
    }
    if (message == plat::WM_TIMER && wParam == kDrainTimer) {
        plat::KillTimer(mainWindow_, kDrainTimer);
        TakeUpdates();
        return 0;
    }
    if (message == kLinkOpenedMessage) {
        ShowLinkOutcome();
        return 0;
    }
    // Escape stops a running search wherever the focus is.
    if (message == plat::WM_KEYDOWN && wParam == plat::VK_ESCAPE && !stopButton_.Disabled()) {
        StopSearch();
        return 0;
    }
    if (message == plat::WM_DESTROY) plat::PostQuitMessage(0);
    return -1;
}

}  // namespace app
