// A click on a result row shows its link; the copy button puts the link
// last shown on the clipboard; a double click hands the link to the desktop.
#include "app/actions/open_link.h"
#include "app/window/main_window.h"

#include <initializer_list>
#include <mutex>
#include <string_view>

namespace app {

namespace {

// How long xdg-open may take to fail before the link counts as taken; the
// window does not wait for it.
constexpr int kOpenGraceMs = 2000;

// The pieces in one text, made with one allocation: a title can be megabytes.
rt::Text Concatenated(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const std::string_view piece : pieces) size += piece.size();
    rt::Text out;
    out.reserve(size);
    for (const std::string_view piece : pieces) out += piece;
    return out;
}

rt::Text LinkLine(std::string_view title, const rt::Text& link) {
    return Concatenated({"【", title, "】 下载地址：  ", link});
}

}  // namespace

// The outcome of the latest link handed to the desktop, on its way from the
// thread that handed it over to the user-interface thread.
struct MainWindow::LinkReply {
    std::mutex mutex;
    int opening = 0;  // the OpenRowLink it answers
    rt::Text text;
};

MainWindow::SelectedRow MainWindow::Selected() {
    const int row = resultList_.Selection();
    const int number = rt::ToInteger(resultList_.GetCellText(row, 1));
    if (number == 0) return {};
    return {number, resultList_.CellView(row, 2)};
}

void MainWindow::ShowRowLink() {
    const SelectedRow row = Selected();
    if (row.number == 0) return;
    selectedLink_ = store_.Link(row.number);
    statusBox_.Text(LinkLine(row.title, selectedLink_));
}

void MainWindow::OpenRowLink() {
    const SelectedRow row = Selected();
    if (row.number == 0) return;
    const rt::Text link = store_.Link(row.number);
    if (!linkReply_) linkReply_ = std::make_shared<LinkReply>();
    const int opening = ++linkOpenings_;
    openedLine_ = LinkLine(row.title, link);
    OpenLinkInBackground(link, kOpenGraceMs,
                         [reply = linkReply_, window = mainWindow_, opening,
                          title = rt::Text(row.title)](const OpenLinkOutcome& outcome) {
                             {
                                 std::lock_guard lock(reply->mutex);
                                 // An older hand-over that ends late is of no interest.
                                 if (opening < reply->opening) return;
                                 reply->opening = opening;
                                 reply->text = OpenLinkStatusText(outcome, title);
                             }
                             // A window that is gone refuses the message.
                             plat::PostMessage(window, kLinkOpenedMessage, 0, 0);
                         });
}

void MainWindow::ShowLinkOutcome() {
    rt::Text text;
    {
        std::lock_guard lock(linkReply_->mutex);
        if (linkReply_->opening != linkOpenings_) return;
        text = linkReply_->text;
    }
    // Only while the status box still shows the row that was opened.
    if (statusBox_.Text() == openedLine_) statusBox_.Text(openedLine_ + "\r\n" + text);
}

void MainWindow::CopyLink() {
    const SelectedRow row = Selected();
    if (row.number == 0) return;
    // The link last shown, which is not always the selected row's.
    const bool copied = plat::SetClipboardText(selectedLink_);
    statusBox_.Text(Concatenated(
        {"【", row.title, copied ? "】的下载地址已复制......" : "】的下载地址复制失败......"}));
}

}  // namespace app
