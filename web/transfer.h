// The transfer backend: one HTTP exchange, one request and its response, over
// the system's HTTP client. Everything around it (which bytes to send, the
// cookie store, redirects, the count of requests, the text of the page) is
// shared code above this header; a backend only carries bytes and reports
// how the exchange ended. One implementation is built per system:
// transfer_curl.cpp over libcurl on Linux, transfer_wininet.cpp over WinINet
// on Windows.
//
// What every backend must do:
// - Send exactly the request described: `method` and the target in the
//   request line with "HTTP/1.1", then `headerLines` in their order, each
//   ended by CR LF, then an empty line and the body when there is one. It
//   adds no header line of its own (no Accept, Expect, Connection, Cache-
//   Control, Cookie or User-Agent line of the library) except what an HTTP
//   proxy needs when `httpProxy` is set.
// - Follow no redirect, keep and send no cookie, read and write no cache,
//   ask for no compression, use no proxy but `httpProxy` (none from the
//   environment or the system settings). Certificates are checked as the
//   system checks them; an untrusted one fails the exchange.
// - Keep its bounds (TransferLimits): the body is cut off at
//   `maxBodyBytes` (not delivered, BodyTooLarge, however the body is
//   framed); no connection within `connectTimeoutMs` ends it as
//   ConnectTimedOut; fewer than `lowSpeedBytes` a second averaged over
//   `lowSpeedSeconds` ends it as TooSlow; `totalMs` from the call ends it as
//   TooLong.
// - Keep what arrived of a page whose body fails midway (CutShort, TooSlow,
//   TooLong after the header block ended): delivered, with the bytes
//   received so far.
// - Return within 100 ms of a stop request of the calling thread
//   (rt::StopThread; rt::CurrentStopToken() gives the token) in every phase,
//   name lookup, connect and TLS handshake included, with Stopped and
//   nothing delivered; a thread already asked to stop sends nothing.
// - Say how it ended with the RequestOutcome values: Ok or HttpStatus
//   with the status for a whole response; HostNotFound (the name lookup
//   found no address), ConnectionRefused (nothing listens, or unreachable),
//   ConnectTimedOut, TooSlow, TooLong, CutShort, BodyTooLarge,
//   Stopped; Failed for anything else (TLS, protocol, resources). Never
//   TooManyRedirects: counting requests is the shared code's.
// - Hand back the response's header block as `rawHeaders` describes it, so
//   that the shared code reads status, Location and Set-Cookie lines the
//   same on every system.
// - Be safe to run on several threads at once, each with its own exchange.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "web/endpoint.h"
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
};

struct TransferRequest {
    // Scheme, host (an IPv6 address in brackets) and port to connect to, and
    // the target of the request line: bytes 0x21 to 0x7E only, from "/".
    Endpoint endpoint;
    std::string method = "GET";  // "GET" or "POST", whether or not a body is sent
    // Every line after the request line, "Name: value" or "Name:" for an empty
    // value, without CR LF; the Host line and, with a body, its
    // Content-Length line are among them.
    std::vector<std::string> headerLines;
    std::optional<rt::ByteBuffer> body;  // sent as given, also when empty
    // "host:port" of an HTTP proxy that carries this (http) request: the
    // request line then names the absolute URL.
    std::optional<std::string> httpProxy;
};

struct TransferResponse {
    // A response arrived: its header block ended, and the body was not cut
    // off at its size bound. Its body may be cut short (CutShort, TooSlow,
    // TooLong): the bytes received are kept.
    bool delivered = false;
    // Ok for a whole response with a status below 400, HttpStatus for one of
    // 400 or more, and the failures above; the status code of the response,
    // 0 when none arrived.
    RequestOutcome outcome;
    rt::ByteBuffer body;  // as sent, after any chunked framing is taken off
    // Status line and header lines of the response (an interim 1xx answer
    // skipped), each as received without its line break and followed by
    // CR LF, then CR LF. Empty when nothing was delivered.
    std::string rawHeaders;
};

// Settles a finished exchange's response from its outcome: a body cut short
// by the connection or a time bound is what the server sent of the page and
// is delivered once the header block ended; anything else (a body over the
// size bound included) drops the body and the header block.
inline void SettleDelivery(TransferResponse& response, bool headerBlockEnded) {
    const Outcome kind = response.outcome.kind;
    response.delivered = headerBlockEnded && (kind == Outcome::Ok || kind == Outcome::HttpStatus ||
                                              kind == Outcome::CutShort ||
                                              kind == Outcome::TooSlow || kind == Outcome::TooLong);
    if (!response.delivered) {
        response.body.clear();
        response.rawHeaders.clear();
    }
}

// Runs the exchange on the calling thread.
TransferResponse RunTransfer(const TransferRequest& request, const TransferLimits& limits = {});

}  // namespace web
