#include "app/cli/cli_search.h"

#include "app/cli/console.h"
#include "app/cli/hit_format.h"
#include "app/cli/keyword_text.h"
#include "app/cli/progress_line.h"
#include "app/report/page_report.h"
#include "app/report/site_report.h"
#include "app/report/site_stats.h"
#include "app/search/search_driver.h"
#include "app/sites/site_rules.h"
#include "runtime/codepage.h"
#include "runtime/thread.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

namespace app::cli {

namespace {

// Prints on the worker thread. The main thread reads the totals and the
// report once the worker has ended, and the write error at any time.
class PrintingSink : public SearchSink {
public:
    // `wake` tells the main thread of a failed write.
    PrintingSink(const CommandLine& line, std::FILE* out, ProgressLine& progress,
                 std::function<void()> wake)
        : line_(line),
          out_(out),
          outIsTerminal_(IsTerminal(out)),
          progress_(progress),
          wake_(std::move(wake)) {
        stats_.Start();
    }

    bool SiteSelected(SiteId site) override { return line_.sites[site - 1]; }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(Tick start) override { start_ = start; }
    void HitFound(SiteId site, const Hit& hit) override {
        const int number = ++hits_;
        // After a failed write the search is being stopped; nothing more goes out.
        if (writeError_.load() != 0) return;
        errno = 0;
        // A terminal shows each hit at once; a file or a pipe gets a page's
        // hits in one write, at PageDone.
        if (!progress_.WriteLine(out_, outIsTerminal_, FormatHit(line_.format, number, site, hit),
                                 outIsTerminal_))
            Failed();
        else progress_.Set(position_, number);
    }
    void ProgressChanged(int position) override {
        position_ = position;
        progress_.Set(position_, hits_);
    }
    void PageDone(SiteId site, int page, int hits, bool exhausted,
                  const web::RequestOutcome& outcome) override {
        stats_.PageDone(site, page, ReportedPage(hits, exhausted, outcome));
        errno = 0;
        if (writeError_.load() == 0 && std::fflush(out_) != 0) Failed();
    }
    void SearchFinished(int seconds, int hits) override {
        finishedSeconds_ = seconds;
        hits_ = hits;
        finished_ = true;
    }

    bool Finished() const { return finished_; }
    // The errno of the first failed write of a hit, or 0.
    int WriteError() const { return writeError_.load(); }

    // The report of every site whose part ended on a page it could not
    // fetch, as the window's site boxes tell it. True when that is every
    // site searched.
    bool ReportFailedSites(bool stopped, std::FILE* err) {
        stats_.End(stopped, line_.pages, line_.sites);
        bool allFailed = true;
        for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
            if (!line_.sites[site - 1]) continue;
            const SiteSearchStats& s = stats_.Stats(site);
            if (s.end != SiteEnd::Failed) {
                allFailed = false;
                continue;
            }
            WriteText(err, "seeker: site " + std::to_string(site) + " " +
                               rt::Cp936ToUtf8(SiteLabel(site)) + ": " +
                               rt::Cp936ToUtf8(SiteReportBody(s)) + "\n");
        }
        return allFailed;
    }

    // The closing line; `stopped` after a stop request.
    void Close(bool stopped, std::FILE* err) const {
        const int seconds = finished_ ? finishedSeconds_ : (start_ ? ElapsedSeconds(*start_) : 0);
        std::fprintf(err, "search %s: %d seconds, %d hits\n", stopped ? "stopped" : "finished",
                     seconds, hits_.load());
        std::fflush(err);
    }

private:
    void Failed() {
        const int error = FailedWriteError();
        writeError_.store(error != 0 ? error : EIO);
        wake_();
    }

    const CommandLine& line_;
    std::FILE* out_;
    const bool outIsTerminal_;
    ProgressLine& progress_;
    std::function<void()> wake_;
    SiteStatsCollector stats_;
    std::atomic<int> writeError_{0};
    int position_ = 0;
    std::atomic<int> hits_{0};  // read by Close while a stuck worker may still count
    std::optional<Tick> start_;
    bool finished_ = false;
    int finishedSeconds_ = 0;
};

// The exit status after a hit could not be written, said on `err`; a reader
// that went away ends the output quietly, as SIGPIPE would.
int WriteFailure(int error, std::FILE* err) {
    constexpr int kBrokenPipeStatus = 141;
    if (error == EPIPE) return kBrokenPipeStatus;
    std::fprintf(err, "seeker: cannot write the hits to standard output: %s\n",
                 std::strerror(error));
    return 1;
}

// How long a worker that was asked to stop may take before the process
// ends without it: one blocked writing to a full pipe cannot see the stop.
constexpr Tick kStopGraceMs = 500;
// The output buffer of a file or a pipe: a page of hits or more.
constexpr std::size_t kOutputBuffer = 1 << 16;

}  // namespace

int RunCommandLineSearch(const CommandLine& line, const SiteTable& sites, std::FILE* out,
                         std::FILE* err) {
    const Keyword keyword = KeywordFromUtf8(line.keyword);
    for (const std::string& warning : keyword.warnings) WriteText(err, warning + "\n");
    SearchParams params;
    params.sites = sites;
    params.keyword = keyword.text;
    params.pageCount = line.pages;

    // A file or a pipe takes a page's hits in one write.
    if (!IsTerminal(out)) std::setvbuf(out, nullptr, _IOFBF, kOutputBuffer);
    const bool barShown = IsTerminal(err);
    ProgressLine progress(err, barShown);
    const StopRequests stops;
    PrintingSink sink(line, out, progress, [&stops] { stops.Wake(); });
    // Set before the wake, so that the main thread never waits past the end.
    std::atomic<bool> ended{false};
    rt::ThreadHandle worker;
    if (!rt::StartThread(
            [&] {
                RunSearch(params, sink);
                ended.store(true);
                stops.Wake();
            },
            &worker)) {
        std::fprintf(err, "seeker: cannot start the search thread\n");
        return 1;
    }
    int stopStatus = 0;
    // The main thread sleeps until the search ends, a write fails or a stop
    // comes; with a bar on the terminal it wakes to redraw it too.
    const int redrawMs = barShown ? static_cast<int>(ProgressLine::kRedrawMs) : -1;
    while (!ended.load() && sink.WriteError() == 0 && (stopStatus = stops.Wait(redrawMs)) == 0)
        progress.DrawIfDue();
    if (!ended.load()) {
        rt::StopThread(worker);
        const Tick stopped = TickNow();
        for (Tick waited = 0; !ended.load() && waited < kStopGraceMs;
             waited = TickNow() - stopped) {
            // A second Ctrl+C does not wait.
            if (const int again = stops.Wait(static_cast<int>(kStopGraceMs - waited)); again != 0) {
                stopStatus = again;
                break;
            }
        }
        if (!ended.load()) {
            // The worker still holds standard output; the process ends
            // without it and without flushing that stream.
            progress.ClearWithoutWaiting();
            const int status = stopStatus != 0 ? stopStatus : WriteFailure(sink.WriteError(), err);
            if (stopStatus != 0) sink.Close(true, err);
            std::_Exit(status);
        }
    }
    worker.join();
    progress.Clear();

    if (sink.WriteError() != 0) return WriteFailure(sink.WriteError(), err);
    // A stop request that came as the last page was done stops nothing.
    const bool stopped = stopStatus != 0 && !sink.Finished();
    const bool allFailed = sink.ReportFailedSites(stopped, err);
    sink.Close(stopped, err);
    if (stopped) return stopStatus;
    return allFailed ? kAllSitesFailedStatus : 0;
}

}  // namespace app::cli
