#include "app/cli/cli_search.h"

#include "app/cli/hit_format.h"
#include "app/search/search_driver.h"
#include "runtime/codepage.h"
#include "runtime/thread.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <string>

namespace app::cli {

namespace {

// Prints on the worker thread. The main thread reads the totals only after
// the worker has ended.
class PrintingSink : public SearchSink {
public:
    PrintingSink(const CommandLine& line, std::FILE* out, std::FILE* err)
        : line_(line), out_(out), err_(err), showProgress_(isatty(fileno(err)) == 1) {}

    bool SiteSelected(SiteId site) override { return line_.sites[site - 1]; }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(Tick start) override { start_ = start; }
    void HitFound(SiteId site, const Hit& hit) override {
        ++hits_;
        ClearProgress();
        const std::string text = FormatHit(line_.format, hits_, site, hit);
        std::fwrite(text.data(), 1, text.size(), out_);
        std::fflush(out_);
        DrawProgress();
    }
    void ProgressChanged(int position) override {
        position_ = position;
        DrawProgress();
    }
    void SearchFinished(int seconds, int hits) override {
        finishedSeconds_ = seconds;
        hits_ = hits;
        finished_ = true;
    }

    bool finished() const { return finished_; }

    // The closing line; `stopped` after a signal.
    void Close(bool stopped) {
        ClearProgress();
        const int seconds = finished_ ? finishedSeconds_ : (start_ ? ElapsedSeconds(*start_) : 0);
        std::fprintf(err_, "search %s: %d seconds, %d hits\n", stopped ? "stopped" : "finished",
                     seconds, hits_);
        std::fflush(err_);
    }

private:
    static constexpr int kBarWidth = 40;

    void DrawProgress() {
        if (!showProgress_) return;
        const int filled = position_ * kBarWidth / kProgressRange;
        std::string bar = "\r[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') +
                          "] " + std::to_string(position_ / 100) + "%  " + std::to_string(hits_) +
                          " hits";
        std::fputs(bar.c_str(), err_);
        std::fflush(err_);
        drawn_ = true;
    }
    void ClearProgress() {
        if (!drawn_) return;
        std::fputs("\r\033[K", err_);
        std::fflush(err_);
        drawn_ = false;
    }

    const CommandLine& line_;
    std::FILE* out_;
    std::FILE* err_;
    const bool showProgress_;
    bool drawn_ = false;
    int position_ = 0;
    int hits_ = 0;
    std::optional<Tick> start_;
    bool finished_ = false;
    int finishedSeconds_ = 0;
};

// Blocks SIGINT and SIGTERM in this thread, and so in the worker it starts,
// until the object goes; the signals are then taken with sigtimedwait.
class BlockedStopSignals {
public:
    BlockedStopSignals() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGINT);
        sigaddset(&set_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &set_, &previous_);
    }
    ~BlockedStopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    BlockedStopSignals(const BlockedStopSignals&) = delete;
    BlockedStopSignals& operator=(const BlockedStopSignals&) = delete;

    // The signal that arrived within `ms`, or 0.
    int Wait(int ms) const {
        const timespec timeout{ms / 1000, (ms % 1000) * 1000000L};
        const int signal = sigtimedwait(&set_, nullptr, &timeout);
        return signal > 0 ? signal : 0;
    }

private:
    sigset_t set_;
    sigset_t previous_;
};

}  // namespace

int RunCommandLineSearch(const CommandLine& line, const SiteTable& sites, std::FILE* out,
                         std::FILE* err) {
    SearchParams params;
    params.sites = sites;
    // Typed text reaches the window as UTF-8 and is converted the same way.
    params.keyword = rt::Utf8ToCp936(line.keyword);
    params.pageCount = line.pages;

    PrintingSink sink(line, out, err);
    const BlockedStopSignals signals;
    rt::ThreadHandle worker;
    if (!rt::StartThread([&] { RunSearch(params, sink); }, &worker)) {
        std::fprintf(err, "seeker: cannot start the search thread\n");
        return 1;
    }
    int signal = 0;
    while (!worker.finished() && (signal = signals.Wait(50)) == 0) {}
    if (signal != 0) rt::StopThread(worker);
    worker.join();
    // A signal that came as the last page was done stops nothing.
    const bool stopped = signal != 0 && !sink.finished();
    sink.Close(stopped);
    return stopped ? 128 + signal : 0;
}

}  // namespace app::cli
