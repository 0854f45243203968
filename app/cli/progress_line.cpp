#include "app/cli/progress_line.h"

#include "app/cli/console.h"

#include <string>

namespace app::cli {

namespace {

constexpr int kBarWidth = 40;

}  // namespace

void ProgressLine::Set(int position, int hits) {
    std::lock_guard lock(mutex_);
    position_ = position;
    hits_ = hits;
    current_ = false;
    DrawIfDueLocked(TickNow());
}

bool ProgressLine::WriteLine(std::FILE* stream, bool sharesTerminal, std::string_view text,
                             bool flush) {
    std::unique_lock lock(mutex_, std::defer_lock);
    if (sharesTerminal) {
        lock.lock();
        WipeLocked();
    }
    const bool written = WriteText(stream, text) && (!flush || std::fflush(stream) == 0);
    if (sharesTerminal) DrawIfDueLocked(TickNow());
    return written;
}

void ProgressLine::DrawIfDue() {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (lock.owns_lock()) DrawIfDueLocked(TickNow());
}

void ProgressLine::Clear() {
    std::lock_guard lock(mutex_);
    WipeLocked();
    current_ = true;  // nothing more to draw
}

void ProgressLine::ClearWithoutWaiting() {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (lock.owns_lock()) {
        WipeLocked();
    } else if (enabled_) {
        std::fputs("\r\033[K", terminal_);
    }
}

void ProgressLine::DrawIfDueLocked(Tick now) {
    if (!enabled_ || (shown_ && current_) || now - drawnAt_ < kRedrawMs) return;
    const int filled = position_ * kBarWidth / kProgressRange;
    const std::string bar =
        "\r[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
        std::to_string(position_ / 100) + "%  " + std::to_string(hits_) + " hits";
    std::fputs(bar.c_str(), terminal_);
    std::fflush(terminal_);
    shown_ = true;
    current_ = true;
    drawnAt_ = now;
}

void ProgressLine::WipeLocked() {
    if (!shown_) return;
    std::fputs("\r\033[K", terminal_);
    std::fflush(terminal_);
    shown_ = false;
    current_ = false;
}

}  // namespace app::cli
