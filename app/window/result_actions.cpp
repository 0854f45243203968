// A click on a result row shows its link; the copy button puts the link
// last shown on the clipboard; a double click hands the link to the desktop.
#include "app/actions/open_link.h"
#include "app/window/main_window.h"

namespace app {

void MainWindow::ShowRowLink() {
    const int row = resultList.Selection();
    const int number = rt::ToInteger(resultList.GetCellText(row, 1));
    if (number == 0) return;
    const rt::Text title = resultList.GetCellText(row, 2);
    selectedLink = store_.Link(number);
    statusBox.Text("【" + title + "】 下载地址：  " + selectedLink);
}

void MainWindow::OpenRowLink() {
    const int row = resultList.Selection();
    const int number = rt::ToInteger(resultList.GetCellText(row, 1));
    if (number == 0) return;
    // xdg-open is given a moment to fail; a handler that keeps running is
    // left to itself, so the window waits at most that long.
    const OpenLinkOutcome outcome = OpenLinkInDesktop(store_.Link(number), 300);
    statusBox.Text(OpenLinkStatusText(outcome, resultList.GetCellText(row, 2)));
}

void MainWindow::CopyLink() {
    const int row = resultList.Selection();
    if (rt::ToInteger(resultList.GetCellText(row, 1)) == 0) return;
    const rt::Text title = resultList.GetCellText(row, 2);
    // The link last shown, which is not always the selected row's.
    if (plat::SetClipboardText(selectedLink)) {
        statusBox.Text("【" + title + "】的下载地址已复制......");
    } else {
        statusBox.Text("【" + title + "】的下载地址复制失败......");
    }
}

}  // namespace app
