// One HTTP exchange over libcurl: a fresh easy handle driven by a multi handle
// of its own, so that a stop request of the calling thread ends it at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "web/outcome.h"

namespace web {

// Bounds that keep a misbehaving server from holding the caller for ever or
// exhausting memory.
struct TransferLimits {
    std::size_t maxBodyBytes = 32u << 20;
    long connectTimeoutMs = 15000;
    // The transfer ends when fewer than lowSpeedBytes per second arrive,
    // averaged over lowSpeedSeconds, or when totalMs have passed.
    long lowSpeedBytes = 1024;
    long lowSpeedSeconds = 30;
    long totalMs = 120000;
    long maxAutoRedirects = 10;
};

struct TransferRequest {
    std::string url;  // scheme://host:port/path, ready for libcurl
    std::string agent;
    std::vector<std::string> headerLines;
    bool sendBody = false;
    bool postVerb = false;  // "POST"; otherwise "GET", also with a body
    rt::ByteBuffer body;
    bool useCookieStore = true;  // the process-wide store
    bool followRedirects = true;
    std::optional<std::string> httpProxy;
};

struct TransferResponse {
    // A response arrived: its header block ended. Its body may be cut short
    // (outcome kCutShort, kTooSlow, kTooLong): the bytes received are kept.
    bool delivered = false;
    RequestOutcome outcome;
    rt::ByteBuffer body;
    // Status line and header lines of the final response, each ending in CR LF,
    // then the empty line.
    std::string rawHeaders;
};

// Runs the exchange. Not delivered when no response arrived, the body passed
// its size bound, or a stop was requested for this thread; a stop returns
// within a poll wake-up in every phase, a name lookup included.
TransferResponse RunTransfer(const TransferRequest& request, const TransferLimits& limits = {});

}  // namespace web
