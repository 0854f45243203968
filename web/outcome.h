// How a page request ended, in terms a user can act on. The request's result
// does not depend on it: a cut-short page is still returned as the page.
#pragma once

namespace web {

enum class Outcome {
    kOk,                 // a whole response with a status below 400
    kConnectionRefused,  // nothing listens at the address, or it is unreachable
    kHostNotFound,       // the name lookup found no address
    kConnectTimedOut,    // no connection within the connect timeout
    kTooSlow,            // less than the lowest rate arrived over the rate window
    kTooLong,            // the request ran out of its total time
    kHttpStatus,         // a whole response with a status of 400 or more
    kCutShort,           // the connection failed inside the body
    kBodyTooLarge,       // the body passed the size bound
    kTooManyRedirects,   // a redirect was still asked for when the requests ran out
    kStopped,            // the calling thread was asked to stop
    kFailed,             // anything else: TLS, protocol, resources, an unusable URL
};

struct RequestOutcome {
    Outcome kind = Outcome::kOk;
    int status = 0;  // the last response's status code; 0 when none arrived

    bool operator==(const RequestOutcome&) const = default;
};

}  // namespace web
