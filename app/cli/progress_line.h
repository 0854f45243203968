// The progress bar of a command-line search: one line on a terminal,
// redrawn in place at most every 100 ms however fast pages and hits come.
#pragma once

#include "app/search/search_driver.h"

#include <cstdio>
#include <mutex>
#include <string_view>

namespace app::cli {

class ProgressLine {
public:
    static constexpr Tick kRedrawMs = 100;

    // A line that draws nothing when `enabled` is false (not a terminal).
    ProgressLine(std::FILE* terminal, bool enabled) : terminal_(terminal), enabled_(enabled) {}

    // New figures: drawn now when the last drawing is old enough, else left
    // for a later Set or DrawIfDue.
    void Set(int position, int hits);
    // Writes `text` to `stream` on a line of its own, flushed when `flush`:
    // the bar is wiped first when `stream` shares the terminal, and drawn
    // again when due. False when the text could not be written.
    bool WriteLine(std::FILE* stream, bool sharesTerminal, std::string_view text, bool flush);
    // For a thread that must never wait: draws figures left undrawn, when
    // due and when no other thread is writing.
    void DrawIfDue();
    // Wipes the bar for good.
    void Clear();
    // The same from a thread that must never wait, when another thread may
    // be stuck writing with the line taken.
    void ClearWithoutWaiting();

private:
    void DrawIfDueLocked(Tick now);
    void WipeLocked();

    std::FILE* terminal_;
    const bool enabled_;
    std::mutex mutex_;
    int position_ = 0;
    int hits_ = 0;
    bool shown_ = false;    // the bar is on the terminal
    bool current_ = false;  // what is shown is the latest figures
    Tick drawnAt_ = -kRedrawMs;
};

}  // namespace app::cli
