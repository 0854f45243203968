// A click on a result row shows its link; the copy button puts the link
// last shown on the clipboard.
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
