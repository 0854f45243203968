// A click on a result row shows its link; the copy button puts the link
// last shown on the clipboard; a double click hands the link to the desktop.
#include "app/actions/open_link.h"
#include "app/window/main_window.h"

namespace app {

MainWindow::SelectedRow MainWindow::Selected() {
    const int row = resultList.Selection();
    const int number = rt::ToInteger(resultList.GetCellText(row, 1));
    if (number == 0) return {};
    return {number, resultList.GetCellText(row, 2)};
}

void MainWindow::ShowRowLink() {
    const SelectedRow row = Selected();
    if (row.number == 0) return;
    selectedLink = store_.Link(row.number);
    statusBox.Text("【" + row.title + "】 下载地址：  " + selectedLink);
}

void MainWindow::OpenRowLink() {
    const SelectedRow row = Selected();
    if (row.number == 0) return;
    // xdg-open is given a moment to fail; a handler that keeps running is
    // left to itself, so the window waits at most that long.
    const OpenLinkOutcome outcome = OpenLinkInDesktop(store_.Link(row.number), 300);
    statusBox.Text(OpenLinkStatusText(outcome, row.title));
}

void MainWindow::CopyLink() {
    const SelectedRow row = Selected();
    if (row.number == 0) return;
    // The link last shown, which is not always the selected row's.
    if (plat::SetClipboardText(selectedLink)) {
        statusBox.Text("【" + row.title + "】的下载地址已复制......");
    } else {
        statusBox.Text("【" + row.title + "】的下载地址复制失败......");
    }
}

}  // namespace app
