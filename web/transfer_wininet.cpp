// One HTTP exchange over WinINet.
//
// WinINet's calls block, and a name lookup inside HttpSendRequest cannot be
// cancelled at all. So the calls run on a helper thread, kept for later
// exchanges (a new thread per page costs more than the page), and the
// calling thread watches: on a stop request or a time bound it closes the
// handles (WinINet's way to end a call in progress, which also lets the
// server go at once), takes what arrived so far and returns. The helper does
// nothing more once its call returns. A name lookup goes on until it ends by
// itself; WinINet's own limits (the connect bound, no data for the rate
// window) are set to the transfer's bounds, so no call outlives them.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <utility>

#include "runtime/clock.h"
#include "runtime/helper_threads.h"
#include "runtime/sync.h"
#include "runtime/thread.h"
#include "web/request_headers.h"
#include "web/transfer.h"

namespace web {
namespace {

constexpr DWORD kReadChunk = 64 * 1024;
// How often the watcher looks at the bounds while nothing else wakes it.
constexpr DWORD kWatchMs = 100;

// WinINet's own additions that the exchange switches off: no cache, no
// cookies, no redirect, no authentication dialogue or retry, no user
// interface.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT |
                                INTERNET_FLAG_NO_AUTH | INTERNET_FLAG_NO_UI;

// The state one exchange shares between the helper that runs it and the
// caller that watches it.
class Exchange {
public:
    Exchange(TransferRequest request, TransferLimits limits)
        : request_(std::move(request)), limits_(limits) {}
    ~Exchange() { CloseHandles(); }

    // On the helper thread.
    void Run() {
        const Outcome failure = Perform();
        std::lock_guard lock(mutex_);
        CloseHandlesLocked();
        finished_ = true;
        if (outcome_ == Outcome::Ok) outcome_ = failure;
        changed_.NotifyAll();
    }

    // On the calling thread: waits for the end of the exchange, a stop
    // request or a bound, whichever comes first.
    TransferResponse Watch() {
        const std::int64_t start = rt::MonotonicMs();
        // Bytes received at each look, over the last rate window.
        std::deque<std::pair<std::int64_t, std::uint64_t>> samples;
        bool stopped = false;
        std::stop_callback onStop(rt::CurrentStopToken(), [&] {
            std::lock_guard lock(mutex_);
            stopped = true;
            changed_.NotifyAll();
        });
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.WaitFor(lock, kWatchMs, [&] { return finished_ || stopped; });
            if (stopped) {
                AbortLocked(Outcome::Stopped);
                TransferResponse response;
                response.outcome.kind = Outcome::Stopped;
                return response;
            }
            if (finished_) break;
            const std::int64_t now = rt::MonotonicMs();
            if (!connected_.load() && now - start >= limits_.connectTimeoutMs) {
                AbortLocked(Outcome::ConnectTimedOut);
                break;
            }
            if (now - start >= limits_.totalMs) {
                AbortLocked(Outcome::TooLong);
                break;
            }
            const std::int64_t windowMs = std::int64_t{limits_.lowSpeedSeconds} * 1000;
            samples.emplace_back(now, received_);
            while (samples.size() > 1 && samples[1].first <= now - windowMs) samples.pop_front();
            const bool fullWindow =
                now - start >= windowMs && samples.front().first <= now - windowMs;
            if (fullWindow && received_ - samples.front().second <
                                  static_cast<std::uint64_t>(limits_.lowSpeedBytes) *
                                      static_cast<std::uint64_t>(limits_.lowSpeedSeconds)) {
                AbortLocked(Outcome::TooSlow);
                break;
            }
        }
        return TakeResponseLocked();
    }

private:
    // Runs the WinINet calls; returns how the exchange failed, or Ok.
    Outcome Perform() {
        const bool viaProxy = request_.httpProxy.has_value();
        const std::string proxy = viaProxy ? "http=http://" + *request_.httpProxy : std::string();
        // No agent: the request's own User-Agent line is the only one.
        HINTERNET session =
            InternetOpenA(nullptr, viaProxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_DIRECT,
                          viaProxy ? proxy.c_str() : nullptr, nullptr, 0);
        if (!Keep(session, &session_)) return Outcome::Failed;
        // The caller watches the bounds, the connect bound through the
        // connection's status; WinINet's own limits are set out of reach.
        InternetSetStatusCallbackA(session, &OnStatus);
        DWORD connectMs = static_cast<DWORD>(limits_.connectTimeoutMs);
        InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
        // A second past the rate window: the caller's rate bound comes first.
        DWORD silentMs = static_cast<DWORD>(limits_.lowSpeedSeconds) * 1000 + 1000;
        for (DWORD option :
             {INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
              INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
            InternetSetOptionA(session, option, &silentMs, sizeof silentMs);
        }

        std::string host = request_.endpoint.host;
        if (host.size() > 2 && host.front() == '[') host = host.substr(1, host.size() - 2);
        HINTERNET connection = InternetConnectA(
            session, host.c_str(), static_cast<INTERNET_PORT>(request_.endpoint.port), nullptr,
            nullptr, INTERNET_SERVICE_HTTP, 0, Context());
        if (!Keep(connection, &connection_)) return Outcome::Failed;

        const DWORD flags = kRequestFlags | (request_.endpoint.https ? INTERNET_FLAG_SECURE : 0);
        HINTERNET httpRequest =
            HttpOpenRequestA(connection, request_.method.c_str(), request_.endpoint.target.c_str(),
                             "HTTP/1.1", nullptr, nullptr, flags, Context());
        if (!Keep(httpRequest, &requestHandle_)) return Outcome::Failed;
        if (!AddHeaderLines(httpRequest)) return Outcome::Failed;

        const rt::ByteBuffer* body = request_.body ? &*request_.body : nullptr;
        if (!HttpSendRequestA(httpRequest, nullptr, 0,
                              body ? const_cast<std::uint8_t*>(body->data()) : nullptr,
                              body ? static_cast<DWORD>(body->size()) : 0)) {
            return SendFailure(GetLastError());
        }
        if (!TakeHeaders(httpRequest)) return Outcome::Failed;
        return ReadBody(httpRequest);
    }

    DWORD_PTR Context() { return reinterpret_cast<DWORD_PTR>(this); }

    // Called on the thread of the WinINet call, or on the watcher's while it
    // closes the handles: it takes no lock.
    static void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void*, DWORD) {
        if (status == INTERNET_STATUS_CONNECTED_TO_SERVER && context != 0)
            reinterpret_cast<Exchange*>(context)->connected_.store(true);
    }

    // Records a handle for closing; false when it is null or the watcher has
    // closed the exchange meanwhile.
    bool Keep(HINTERNET handle, HINTERNET* slot) {
        if (handle == nullptr) return false;
        std::lock_guard lock(mutex_);
        if (closed_ || abandoned_) {
            InternetCloseHandle(handle);
            return false;
        }
        *slot = handle;
        return true;
    }

    // The request's lines in their order. WinINet made a Host line of its
    // own when the request was opened: the request's replaces it.
    bool AddHeaderLines(HINTERNET httpRequest) {
        for (const std::string& line : request_.headerLines) {
            const DWORD mode = IsHeaderNamed(line, "Host")
                                   ? HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE
                                   : HTTP_ADDREQ_FLAG_ADD;
            if (!HttpAddRequestHeadersA(httpRequest, line.c_str(), static_cast<DWORD>(line.size()),
                                        mode)) {
                return false;
            }
        }
        return true;
    }

    static Outcome SendFailure(DWORD error) {
        switch (error) {
        case ERROR_INTERNET_NAME_NOT_RESOLVED: return Outcome::HostNotFound;
        case ERROR_INTERNET_CANNOT_CONNECT: return Outcome::ConnectionRefused;
        // Sending and receiving have no WinINet limit: this is the connect.
        case ERROR_INTERNET_TIMEOUT: return Outcome::ConnectTimedOut;
        default: return Outcome::Failed;
        }
    }

    bool TakeHeaders(HINTERNET httpRequest) {
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!HttpQueryInfoA(httpRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr)) {
            return false;
        }
        std::string raw(4096, '\0');
        size = static_cast<DWORD>(raw.size());
        while (
            !HttpQueryInfoA(httpRequest, HTTP_QUERY_RAW_HEADERS_CRLF, raw.data(), &size, nullptr)) {
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
            raw.assign(size + 1, '\0');
        }
        raw.resize(size);
        // Each line followed by CR LF, then the empty line.
        while (raw.ends_with("\r\n")) raw.resize(raw.size() - 2);
        raw += "\r\n\r\n";
        std::lock_guard lock(mutex_);
        if (abandoned_) return false;
        response_.outcome.status = static_cast<int>(status);
        response_.rawHeaders = std::move(raw);
        headerBlockEnded_ = true;
        received_ += response_.rawHeaders.size();
        return true;
    }

    Outcome ReadBody(HINTERNET httpRequest) {
        // The announced length, to tell a body cut short from a whole one:
        // WinINet reports a connection closed early as the end of the body.
        DWORD announced = 0;
        DWORD size = sizeof announced;
        const bool lengthKnown =
            HttpQueryInfoA(httpRequest, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                           &announced, &size, nullptr);
        if (lengthKnown) {
            std::lock_guard lock(mutex_);
            response_.body.reserve(std::min<std::size_t>(announced, limits_.maxBodyBytes));
        }
        auto chunk = std::make_unique_for_overwrite<std::uint8_t[]>(kReadChunk);
        std::size_t total = 0;
        for (;;) {
            // InternetReadFile waits until it has all it was asked for: asked
            // for what is there, it hands over a slow body as it arrives.
            DWORD available = 0;
            if (!InternetQueryDataAvailable(httpRequest, &available, 0, 0))
                return Outcome::CutShort;
            if (available == 0) break;
            DWORD n = 0;
            if (!InternetReadFile(httpRequest, chunk.get(), std::min(available, kReadChunk), &n))
                return Outcome::CutShort;
            if (n == 0) break;
            std::lock_guard lock(mutex_);
            if (abandoned_) return Outcome::Failed;
            if (n > limits_.maxBodyBytes - response_.body.size()) return Outcome::BodyTooLarge;
            response_.body.insert(response_.body.end(), chunk.get(), chunk.get() + n);
            received_ += n;
            total += n;
        }
        if (lengthKnown && total < announced) return Outcome::CutShort;
        return Outcome::Ok;
    }

    // The helper sees `abandoned_` when its call returns.
    void AbortLocked(Outcome why) {
        if (!finished_ && outcome_ == Outcome::Ok) outcome_ = why;
        abandoned_ = true;
        CloseHandlesLocked();
    }

    void CloseHandles() {
        std::lock_guard lock(mutex_);
        CloseHandlesLocked();
    }

    // Closing ends a WinINet call in progress on these handles.
    void CloseHandlesLocked() {
        closed_ = true;
        for (HINTERNET* handle : {&requestHandle_, &connection_, &session_}) {
            if (*handle != nullptr) InternetCloseHandle(*handle);
            *handle = nullptr;
        }
    }

    TransferResponse TakeResponseLocked() {
        TransferResponse response = std::move(response_);
        const int status = response.outcome.status;
        Outcome kind = outcome_;
        if (kind == Outcome::Ok && status >= 400) kind = Outcome::HttpStatus;
        response.outcome = {kind, status};
        SettleDelivery(response, headerBlockEnded_);
        return response;
    }

    const TransferRequest request_;
    const TransferLimits limits_;

    rt::Mutex mutex_;
    rt::Condition changed_;
    HINTERNET session_ = nullptr;
    HINTERNET connection_ = nullptr;
    HINTERNET requestHandle_ = nullptr;
    bool closed_ = false;
    bool abandoned_ = false;  // the caller has returned: nothing more to do
    bool finished_ = false;
    bool headerBlockEnded_ = false;
    std::atomic<bool> connected_{false};
    Outcome outcome_ = Outcome::Ok;  // the first failure, from either side
    std::uint64_t received_ = 0;     // header and body bytes, for the rate
    TransferResponse response_;
};

}  // namespace

TransferResponse RunTransfer(const TransferRequest& request, const TransferLimits& limits) {
    TransferResponse failed;
    failed.outcome.kind = Outcome::Failed;
    if (rt::StopRequested()) {
        failed.outcome.kind = Outcome::Stopped;
        return failed;
    }
    auto exchange = std::make_shared<Exchange>(request, limits);
    if (!rt::RunOnHelper([exchange] { exchange->Run(); })) return failed;
    return exchange->Watch();
}

}  // namespace web
