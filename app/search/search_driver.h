// The search driver: one search without a window. A site table, a keyword, a
// page count and a sink go in; the requests go out one at a time in the
// fixed visit order; hits, progress, status texts and the end of the search
// come out through the sink, on the driver's own thread, in the order they
// happen.
//
// Run it on a thread started by rt::StartThread: a stop of that thread is
// honoured before each request and each hit, and aborts a transfer in
// flight. After a stop the sink hears nothing more.
#pragma once

#include "app/scraping/hit.h"
#include "app/scraping/site_table.h"
#include "web/outcome.h"

#include <cstdint>

namespace app {

// Milliseconds of a monotonic clock.
using Tick = std::int64_t;
Tick TickNow();

// The progress bar's full range.
inline constexpr int kProgressRange = 10000;

// Whole seconds since `start`, truncated.
int ElapsedSeconds(Tick start);

// The progress of one page pass: 10000 / pageCount truncated (0 for 0).
int ProgressStep(int pageCount);

class SearchSink {
public:
    virtual ~SearchSink() = default;

    // Whether `site` is ticked now; asked at every visit.
    virtual bool SiteSelected(SiteId site) = 0;
    virtual void StatusChanged(const rt::Text& text) = 0;
    // The moment the search's elapsed time counts from (after the portal).
    virtual void ClockStarted(Tick start) = 0;
    // One hit of `site`; hits come in row order.
    virtual void HitFound(SiteId site, const Hit& hit) = 0;
    virtual void ProgressChanged(int position) = 0;
    // A page of `site` is done: after its hits, with how its request ended.
    virtual void PageDone(SiteId /*site*/, int /*page*/, int /*hits*/, bool /*exhausted*/,
                          const web::RequestOutcome& /*outcome*/) {}
    // The search ran to its end; the finished status has been given.
    virtual void SearchFinished(int seconds, int hits) = 0;
};

struct SearchParams {
    SiteTable sites;
    rt::Text keyword;   // code page 936
    int pageCount = 0;  // pages per site; above 1000 reads 1000
};

// Runs one search. False when it was stopped before its end.
bool RunSearch(const SearchParams& params, SearchSink& sink);

}  // namespace app
