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
        page.failure = PageFailure::kTimedOut;
        page.timeoutSeconds = static_cast<int>(seconds);
    };
    switch (outcome.kind) {
    case web::Outcome::kOk:
    case web::Outcome::kStopped: break;
    case web::Outcome::kConnectionRefused: page.failure = PageFailure::kConnectionRefused; break;
    case web::Outcome::kHostNotFound: page.failure = PageFailure::kHostNotFound; break;
    case web::Outcome::kConnectTimedOut: timedOut(limits.connectTimeoutMs / 1000); break;
    case web::Outcome::kTooSlow: timedOut(limits.lowSpeedSeconds); break;
    case web::Outcome::kTooLong: timedOut(limits.totalMs / 1000); break;
    case web::Outcome::kHttpStatus:
        page.failure = PageFailure::kHttpStatus;
        page.httpStatus = outcome.status;
        break;
    case web::Outcome::kCutShort: page.failure = PageFailure::kCutShort; break;
    case web::Outcome::kBodyTooLarge: page.failure = PageFailure::kTooLarge; break;
    case web::Outcome::kTooManyRedirects: page.failure = PageFailure::kTooManyRedirects; break;
    case web::Outcome::kFailed: page.failure = PageFailure::kOther; break;
    }
    return page;
}

}  // namespace app
