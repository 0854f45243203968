// How a page request ended, in terms a user can act on. The request's result
// does not depend on it: a cut-short page is still returned as the page.
#pragma once

namespace web {

enum class Outcome {
    Ok,                 // a whole response with a status below 400
    ConnectionRefused,  // nothing listens at the address, or it is unreachable
    HostNotFound,       // the name lookup found no address
    ConnectTimedOut,    // no connection within the connect timeout
    TooSlow,            // less than the lowest rate arrived over the rate window
    TooLong,            // the request ran out of its total time
    HttpStatus,         // a whole response with a status of 400 or more
    CutShort,           // the connection failed inside the body
    BodyTooLarge,       // the body passed the size bound
    TooManyRedirects,   // a redirect was still asked for when the requests ran out
    Stopped,            // the calling thread was asked to stop
    Failed,             // anything else: TLS, protocol, resources, an unusable URL
};

struct RequestOutcome {
    Outcome kind = Outcome::Ok;
    int status = 0;  // the last response's status code; 0 when none arrived

    bool operator==(const RequestOutcome&) const = default;
};

}  // namespace web
