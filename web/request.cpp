#include "web/request.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include <time.h>

#include "web/cookies.h"
#include "web/encoding.h"
#include "web/request_assembly.h"
#include "web/request_headers.h"
#include "web/transfer.h"
#include "web/url.h"

namespace web {
namespace {

// Milliseconds on the monotonic clock (<chrono> has literals with no
// code-page-936 form).
long long NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The caller's variables, or scratch ones for those not supplied.
struct Arguments {
    std::int32_t method;
    rt::Text postText;
    rt::Text* cookies;  // null: not supplied
    rt::Text* receivedCookies;
    rt::Text* headers;
    rt::Text* location;
    bool noRedirect;
    rt::ByteBuffer* postBytes;
    std::optional<rt::Text> proxy;
    rt::Text* responseHeaders;
    RequestOutcome* outcome;
};

struct Scratch {
    rt::Text receivedCookies, headers, location, responseHeaders;
    rt::ByteBuffer postBytes;
    RequestOutcome outcome;
};

bool IsHttps(const rt::Text& url) { return rt::ToLowerText(rt::LeftText(url, 5)) == "https"; }

// One exchange and its bookkeeping (steps up to the redirect decision).
// Returns the body, or nothing when the exchange failed; the arguments are
// changed only after a completed exchange.
std::optional<rt::ByteBuffer> Exchange(const rt::Text& url, const Arguments& args,
                                       long long deadlineMs) {
    std::optional<AssembledRequest> assembled = AssembleRequest(url, *args.headers, args.cookies);
    if (!assembled) {
        *args.outcome = {Outcome::kHostNotFound, 0};  // no name a resolver could look up
        return std::nullopt;
    }
    TransferRequest& request = assembled->transfer;
    request.followRedirects = !args.noRedirect;
    if (args.proxy && !args.proxy->empty() && !IsHttps(url)) request.httpProxy = *args.proxy;
    if (args.method != 0) {
        request.sendBody = true;
        request.postVerb = args.method == 1;
        request.body = args.postBytes->empty()
                           ? rt::ByteBuffer(args.postText.begin(), args.postText.end())
                           : *args.postBytes;
    }

    // The total time bound covers every exchange of one call.
    TransferLimits limits;
    const long long left = deadlineMs - NowMs();
    if (left <= 0) {
        *args.outcome = {Outcome::kTooLong, 0};
        return std::nullopt;
    }
    limits.totalMs = static_cast<long>(left);

    TransferResponse response = RunTransfer(request, limits);
    *args.outcome = response.outcome;
    if (!response.delivered) return std::nullopt;

    *args.headers = std::move(assembled->sentHeaders);
    if (request.sendBody && args.postBytes->empty()) *args.postBytes = request.body;
    *args.responseHeaders = FitResponseHeaders(response.rawHeaders);
    HeaderScan scan = ScanResponseHeaders(*args.responseHeaders);
    *args.receivedCookies = std::move(scan.receivedCookies);
    // Overwritten on every exchange: a value left in the caller's variable by
    // an earlier call would otherwise pass for this response's location.
    *args.location = std::move(scan.location);
    if (args.cookies) MergeCookies(args.cookies, args.receivedCookies);
    if (args.location->empty()) *args.location = *args.responseHeaders;
    return std::move(response.body);
}

// Runs the exchange and follows "301 Moved" answers by hand, each time to the
// location with the old path appended.
rt::ByteBuffer RequestCore(rt::Text url, const Arguments& args) {
    const long long deadlineMs = NowMs() + TransferLimits().totalMs;
    for (int follows = 0;; ++follows) {
        std::optional<rt::ByteBuffer> body = Exchange(url, args, deadlineMs);
        if (!body) return {};
        if (follows == kMaxMovedFollows || !IsMovedPermanently(*args.responseHeaders)) {
            return std::move(*body);
        }
        url = *args.location + UrlPath(url);
        args.location->clear();
    }
}

}  // namespace

bool LooksLikeUtf8(const rt::ByteBuffer& body, const rt::Text& responseHeaders) {
    // A match must begin at one of the first 499 bytes.
    static constexpr std::string_view kMark = "utf-8";
    const std::size_t window = std::min<std::size_t>(body.size(), 498 + kMark.size());
    const std::string_view head(reinterpret_cast<const char*>(body.data()), window);
    return head.find(kMark) != std::string_view::npos ||
           rt::FindText(responseHeaders, rt::Text(kMark), 1, true) != -1;
}

rt::ByteBuffer WebRequest(const rt::Text& url, const RequestOptions& options) {
    Scratch scratch;
    const Arguments args{
        options.method.value_or(0),
        options.postText.value_or(rt::Text()),
        options.cookies,
        options.receivedCookies ? options.receivedCookies : &scratch.receivedCookies,
        options.headers ? options.headers : &scratch.headers,
        options.location ? options.location : &scratch.location,
        options.noRedirect.value_or(false),
        options.postBytes ? options.postBytes : &scratch.postBytes,
        options.proxy,
        options.responseHeaders ? options.responseHeaders : &scratch.responseHeaders,
        options.outcome ? options.outcome : &scratch.outcome,
    };
    return RequestCore(url, args);
}

rt::Text WebRequestText(const rt::Text& url, const RequestOptions& options) {
    rt::Text scratchHeaders;
    RequestOptions seen = options;
    if (!seen.responseHeaders) seen.responseHeaders = &scratchHeaders;
    rt::ByteBuffer body = WebRequest(url, seen);
    if (body.empty()) return {};
    if (LooksLikeUtf8(body, *seen.responseHeaders)) body = Utf8BytesToAnsi(body);
    const char* bytes = reinterpret_cast<const char*>(body.data());
    const void* zero = std::memchr(bytes, 0, body.size());
    return rt::Text(bytes, zero ? static_cast<const char*>(zero) - bytes : body.size());
}

}  // namespace web
