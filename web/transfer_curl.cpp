#include "web/transfer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <stop_token>
#include <string_view>

#include "runtime/thread.h"
#include "web/curl_handles.h"
#include "web/request_headers.h"

namespace web {
namespace {

// Receives what libcurl delivers for one exchange.
struct Sink {
    CURL* easy;
    std::size_t maxBodyBytes;
    TransferResponse response;
    bool bodyTooLarge = false;
    bool headerBlockEnded = false;  // of the latest response
    char error[CURL_ERROR_SIZE] = {};
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t n = size * count;
    rt::ByteBuffer& body = sink->response.body;
    if (body.empty()) {
        // Room for the announced length at once, within the bound.
        curl_off_t announced = -1;
        curl_easy_getinfo(sink->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
        if (announced > 0) {
            body.reserve(std::min(static_cast<std::size_t>(announced), sink->maxBodyBytes));
        }
    }
    if (n > sink->maxBodyBytes - body.size()) {
        sink->bodyTooLarge = true;
        return 0;  // makes libcurl end the transfer with a write error
    }
    const std::size_t old = body.size();
    body.resize(old + n);
    std::memcpy(body.data() + old, data, n);
    return n;
}

// Keeps the headers of the final response only: an interim 1xx answer is
// followed by a new block with its own status line.
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t n = size * count;
    std::string_view line(data, n);
    std::string& raw = sink->response.rawHeaders;
    if (line.substr(0, 5) == "HTTP/") {
        raw.clear();
        sink->headerBlockEnded = false;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.empty()) sink->headerBlockEnded = true;
    raw.append(line);
    raw.append("\r\n");
    return n;
}

// The request's lines as libcurl's list. libcurl reads "Name:" with nothing
// after it as "send no such line", so an empty value is written "Name;",
// which it sends as "Name:". Lines of its own that the request does not have
// are switched off the same way.
bool BuildHeaderList(const TransferRequest& request, HeaderList* list) {
    for (const std::string& line : request.headerLines) {
        const bool emptyValue =
            line.find_first_not_of(" \t", line.find(':') + 1) == std::string::npos;
        const std::string given = emptyValue ? line.substr(0, line.find(':')) + ';' : line;
        if (!AppendHeader(list, given.c_str())) return false;
    }
    for (const char* own : {"Accept", "Content-Type", "Expect"}) {
        if (HasHeaderLine(request.headerLines, own)) continue;
        if (!AppendHeader(list, (std::string(own) + ':').c_str())) return false;
    }
    return true;
}

bool Configure(CURL* easy, const TransferRequest& request, const TransferLimits& limits,
               const HeaderList& headers, const std::string& url, Sink* sink) {
    bool ok = true;
    auto set = [&](CURLoption option, auto value) {
        ok = ok && curl_easy_setopt(easy, option, value) == CURLE_OK;
    };
    set(CURLOPT_URL, url.c_str());
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_NOSIGNAL, 1L);
    // A handle removed during a name lookup does not wait for the resolver.
    set(CURLOPT_QUICK_EXIT, 1L);
    set(CURLOPT_ERRORBUFFER, sink->error);
    set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    // Paths such as "//search/x" or "/a/../b" are sent exactly as given.
    set(CURLOPT_PATH_AS_IS, 1L);
    set(CURLOPT_HTTPHEADER, headers.get());
    set(CURLOPT_FOLLOWLOCATION, 0L);
    set(CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    set(CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    set(CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    set(CURLOPT_TIMEOUT_MS, limits.totalMs);
    // Only the request's proxy is used, never one from the environment.
    set(CURLOPT_PROXY, request.httpProxy ? request.httpProxy->c_str() : "");
    if (request.body) {
        static const char kEmpty[] = "";
        const rt::ByteBuffer& body = *request.body;
        set(CURLOPT_POST, 1L);
        set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        set(CURLOPT_POSTFIELDS, body.empty() ? kEmpty : reinterpret_cast<const char*>(body.data()));
    }
    if (request.method != (request.body ? "POST" : "GET")) {
        set(CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    set(CURLOPT_WRITEFUNCTION, &OnBody);
    set(CURLOPT_WRITEDATA, sink);
    set(CURLOPT_HEADERFUNCTION, &OnHeader);
    set(CURLOPT_HEADERDATA, sink);
    return ok;
}

// What a finished (not stopped) transfer amounts to.
RequestOutcome OutcomeOf(CURL* easy, CURLcode result, const Sink& sink) {
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    RequestOutcome outcome{Outcome::Failed, static_cast<int>(status)};
    if (sink.bodyTooLarge) {
        outcome.kind = Outcome::BodyTooLarge;
    } else if (result == CURLE_OK) {
        outcome.kind = status >= 400 ? Outcome::HttpStatus : Outcome::Ok;
    } else if (result == CURLE_COULDNT_RESOLVE_HOST) {
        outcome.kind = Outcome::HostNotFound;
    } else if (result == CURLE_COULDNT_CONNECT) {
        outcome.kind = Outcome::ConnectionRefused;
    } else if (result == CURLE_OPERATION_TIMEDOUT) {
        curl_off_t connected = 0;
        curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connected);
        if (connected == 0) {
            outcome.kind = Outcome::ConnectTimedOut;
        } else {
            const bool slow = std::string_view(sink.error).starts_with("Operation too slow");
            outcome.kind = slow ? Outcome::TooSlow : Outcome::TooLong;
        }
    } else if (sink.headerBlockEnded) {
        outcome.kind = Outcome::CutShort;
    }
    return outcome;
}

}  // namespace

TransferResponse RunTransfer(const TransferRequest& request, const TransferLimits& limits) {
    TransferResponse failed;
    failed.outcome.kind = Outcome::Failed;
    if (!CurlReady()) return failed;
    if (rt::StopRequested()) {
        failed.outcome.kind = Outcome::Stopped;
        return failed;
    }

    HeaderList headers;
    if (!BuildHeaderList(request, &headers)) return failed;
    EasyHandle easy(curl_easy_init());
    MultiHandle multi(curl_multi_init());
    if (!easy || !multi) return failed;
    Sink sink{easy.get(), limits.maxBodyBytes, {}};
    const std::string url = AbsoluteUrl(request.endpoint);
    if (!Configure(easy.get(), request, limits, headers, url, &sink)) return failed;
    if (curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK) return failed;

    // A stop request wakes the poll below; the callback is unregistered (and
    // waited for, when it runs on the stopping thread) before the handles go.
    std::atomic<bool> stopped{false};
    std::stop_callback onStop(rt::CurrentStopToken(), [&] {
        stopped.store(true);
        curl_multi_wakeup(multi.get());
    });

    CURLcode result = CURLE_OK;
    bool done = false;
    while (!done && !stopped.load()) {
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued)) {
            if (msg->msg == CURLMSG_DONE) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || running == 0) {
            done = true;
            break;
        }
        if (curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr) != CURLM_OK) break;
    }
    curl_multi_remove_handle(multi.get(), easy.get());

    if (stopped.load()) {
        failed.outcome.kind = Outcome::Stopped;
        return failed;
    }
    if (!done) return failed;
    TransferResponse response = std::move(sink.response);
    response.outcome = OutcomeOf(easy.get(), result, sink);
    SettleDelivery(response, sink.headerBlockEnded);
    return response;
}

}  // namespace web
