#include "web/request.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include <time.h>

#include "web/cookie_store.h"
#include "web/cookies.h"
#include "web/encoding.h"
#include "web/redirect.h"
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

// What one page request may still spend: its time and its requests.
struct Budget {
    long long deadlineMs;
    int requestsLeft = kMaxRequests;
};

// Hands a delivered response to the caller's variables (the steps after the
// read loop up to the redirect decision).
void Commit(const Arguments& args, const HeaderPlan& headers, const Hop& firstHop,
            const TransferResponse& response) {
    *args.headers = headers.sentHeaders;
    if (firstHop.body && args.postBytes->empty()) *args.postBytes = *firstHop.body;
    *args.responseHeaders = FitResponseHeaders(response.rawHeaders);
    HeaderScan scan = ScanResponseHeaders(*args.responseHeaders);
    *args.receivedCookies = std::move(scan.receivedCookies);
    // Overwritten on every exchange: a value left in the caller's variable by
    // an earlier call would otherwise pass for this response's location.
    *args.location = std::move(scan.location);
    if (args.cookies) MergeCookies(args.cookies, args.receivedCookies);
    if (args.location->empty()) *args.location = *args.responseHeaders;
}

// One exchange as the caller sees it: the request for `url` and, unless
// `noRedirect`, the follow-ups of the redirects it meets, keeping the
// process-wide cookie store up to date on the way. Returns the body of the
// last response, or nothing when a request failed; the arguments are changed
// only after a delivered response.
std::optional<rt::ByteBuffer> Exchange(const rt::Text& url, const Arguments& args, Budget* budget) {
    Outcome unusable = Outcome::Failed;
    const std::optional<Endpoint> first = EndpointOf(url, &unusable);
    if (!first) {
        *args.outcome = {unusable, 0};
        return std::nullopt;
    }
    const HeaderPlan headers = PlanHeaders(url, *args.headers, args.cookies);
    CookieStore* store = args.cookies ? nullptr : &ProcessCookieStore();
    Hop firstHop{.first = *first, .to = *first, .method = args.method == 1 ? "POST" : "GET"};
    if (args.method != 0) {
        firstHop.body = args.postBytes->empty()
                            ? rt::ByteBuffer(args.postText.begin(), args.postText.end())
                            : *args.postBytes;
    }
    Hop hop = firstHop;
    for (;;) {
        // The time bound covers every request of one call.
        const long long left = budget->deadlineMs - NowMs();
        if (left <= 0) {
            *args.outcome = {Outcome::TooLong, 0};
            return std::nullopt;
        }
        TransferLimits limits;
        limits.totalMs = static_cast<long>(left);
        hop.storeCookies = store ? store->CookieLine(hop.to, CookieClockNow()) : std::string();
        hop.httpProxy.reset();
        if (args.proxy && !args.proxy->empty() && !hop.to.https) hop.httpProxy = *args.proxy;

        --budget->requestsLeft;
        TransferResponse response = RunTransfer(AssembleRequest(headers, hop), limits);
        *args.outcome = response.outcome;
        if (!response.delivered) return std::nullopt;
        if (store) store->KeepFrom(response.rawHeaders, hop.to, CookieClockNow());

        const std::optional<FollowUp> next =
            args.noRedirect || response.outcome.kind != Outcome::Ok
                ? std::nullopt
                : AutomaticFollowUp(hop.to, response.outcome.status, response.rawHeaders);
        if (next && budget->requestsLeft > 0) {
            const std::optional<Endpoint> to = EndpointOf(next->url, &unusable);
            if (!to) {
                *args.outcome = {unusable, 0};
                return std::nullopt;
            }
            hop.to = *to;
            if (next->asGet) {
                hop.method = "GET";
                hop.body.reset();
            }
            continue;
        }
        if (next) args.outcome->kind = Outcome::TooManyRedirects;
        Commit(args, headers, firstHop, response);
        return std::move(response.body);
    }
}

// Runs the exchange and follows "301 Moved" answers by hand, each time to the
// location with the old path appended.
rt::ByteBuffer RequestCore(rt::Text url, const Arguments& args) {
    Budget budget{NowMs() + TransferLimits().totalMs};
    for (;;) {
        std::optional<rt::ByteBuffer> body = Exchange(url, args, &budget);
        if (!body) return {};
        if (!IsMovedPermanently(*args.responseHeaders)) return std::move(*body);
        if (budget.requestsLeft == 0) {
            args.outcome->kind = Outcome::TooManyRedirects;
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
