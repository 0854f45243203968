#include "app/report/page_report.h"

#include "web/transfer.h"

namespace app {

PageOutcome ReportedPage(int hits, bool exhausted, const web::RequestOutcome& outcome) {
    PageOutcome page;
    page.hits = hits;
    page.exhausted = exhausted;
    // The three ways a request runs out of time read the same to a user; the
    // seconds say which bound it was.
    const web::TransferLimits limits;
    auto timedOut = [&](long seconds) {
        page.failure = PageFailure::TimedOut;
        page.timeoutSeconds = static_cast<int>(seconds);
    };
    switch (outcome.kind) {
    case web::Outcome::Ok:
    case web::Outcome::Stopped: break;
    case web::Outcome::ConnectionRefused: page.failure = PageFailure::ConnectionRefused; break;
    case web::Outcome::HostNotFound: page.failure = PageFailure::HostNotFound; break;
    case web::Outcome::ConnectTimedOut: timedOut(limits.connectTimeoutMs / 1000); break;
    case web::Outcome::TooSlow: timedOut(limits.lowSpeedSeconds); break;
    case web::Outcome::TooLong: timedOut(limits.totalMs / 1000); break;
    case web::Outcome::HttpStatus:
        page.failure = PageFailure::HttpStatus;
        page.httpStatus = outcome.status;
        break;
    case web::Outcome::CutShort: page.failure = PageFailure::CutShort; break;
    case web::Outcome::BodyTooLarge: page.failure = PageFailure::TooLarge; break;
    case web::Outcome::TooManyRedirects: page.failure = PageFailure::TooManyRedirects; break;
    case web::Outcome::Failed: page.failure = PageFailure::Other; break;
    }
    return page;
}

}  // namespace app
