#include "web/request.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "web/cookies.h"
#include "web/encoding.h"
#include "web/request_headers.h"
#include "web/transfer.h"
#include "web/url.h"

namespace web {
namespace {

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
};

struct Scratch {
    rt::Text receivedCookies, headers, location, responseHeaders;
    rt::ByteBuffer postBytes;
};

bool IsHttps(const rt::Text& url) {
    return rt::ToLowerText(rt::LeftText(url, 5)) == "https";
}

// A host as a name server can be asked for it. libcurl would read "?", "#",
// "@" and the like in the host part as the start of another URL part and
// connect somewhere else; such a host cannot be resolved, so the call fails.
bool IsHostName(const rt::Text& host) {
    return std::all_of(host.begin(), host.end(), [](char c) {
        const auto b = static_cast<std::uint8_t>(c);
        return b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') ||
               (b >= 'A' && b <= 'Z') || b == '-' || b == '.' || b == '_';
    });
}

// libcurl takes a URL, so host, port and path are put back together; bytes a
// URL cannot carry raw are percent-encoded, everything else goes as given.
std::string TransferUrl(const rt::Text& url) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out = IsHttps(url) ? "https://" : "http://";
    out += UrlHost(url, false);
    out += ':';
    out += std::to_string(UrlPort(url));
    for (const char c : UrlPath(url)) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b <= 0x20 || b >= 0x7F) {
            out += '%';
            out += kDigits[b >> 4];
            out += kDigits[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

// libcurl drops a "Name:" line with a blank value (it reads it as "remove
// that header"); written "Name;" it is sent as "Name:" with no value.
std::vector<std::string> HeaderLines(const rt::Text& block) {
    std::vector<std::string> lines;
    for (const rt::Text& line : rt::SplitText(block, rt::Text("\r\n"))) {
        if (line.empty()) continue;
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos && colon > 0 &&
            line.find_first_not_of(" \t", colon + 1) == std::string::npos) {
            lines.push_back(line.substr(0, colon) + ';');
        } else {
            lines.push_back(line);
        }
    }
    return lines;
}

// One exchange and its bookkeeping (steps up to the redirect decision).
// Returns the body, or nothing when the exchange failed; the arguments are
// changed only after a completed exchange.
std::optional<rt::ByteBuffer> Exchange(const rt::Text& url, const Arguments& args) {
    if (!IsHostName(UrlHost(url, false))) return std::nullopt;
    TransferRequest request;
    request.url = TransferUrl(url);
    request.agent = AgentFor(*args.headers);
    request.useCookieStore = args.cookies == nullptr;
    request.followRedirects = !args.noRedirect;
    if (args.proxy && !args.proxy->empty() && !IsHttps(url)) request.httpProxy = *args.proxy;

    const rt::Text sentHeaders =
        CompleteHeaders(*args.headers, url, args.cookies ? *args.cookies : rt::Text());
    request.headerLines = HeaderLines(sentHeaders);
    if (args.method != 0) {
        request.sendBody = true;
        request.postVerb = args.method == 1;
        request.body = args.postBytes->empty() ? rt::ByteBuffer(args.postText.begin(), args.postText.end())
                                               : *args.postBytes;
    }

    std::optional<TransferResponse> response = RunTransfer(request);
    if (!response) return std::nullopt;

    *args.headers = sentHeaders;
    if (request.sendBody && args.postBytes->empty()) *args.postBytes = request.body;
    *args.responseHeaders = FitResponseHeaders(response->rawHeaders);
    HeaderScan scan = ScanResponseHeaders(*args.responseHeaders);
    *args.receivedCookies = std::move(scan.receivedCookies);
    // Overwritten on every exchange: a value left in the caller's variable by
    // an earlier call would otherwise pass for this response's location.
    *args.location = std::move(scan.location);
    if (args.cookies) MergeCookies(args.cookies, args.receivedCookies);
    if (args.location->empty()) *args.location = *args.responseHeaders;
    return std::move(response->body);
}

// Runs the exchange and follows "301 Moved" answers by hand, each time to the
// location with the old path appended.
rt::ByteBuffer RequestCore(rt::Text url, const Arguments& args) {
    for (int follows = 0;; ++follows) {
        std::optional<rt::ByteBuffer> body = Exchange(url, args);
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
