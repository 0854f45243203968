// Fuzzes request assembly: whatever the caller's URL, header block and
// cookies, and whatever a response's headers bring back (cookies for the
// caller or the store, a location, a redirect), no header line that would be
// sent, nor the target of the request line, holds a CR, an LF or a zero byte.
// The input is the URL, the caller's headers, the response headers and the
// caller's cookies, separated by lines "##"; without a fourth part the store
// is used.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "web/cookie_store.h"
#include "web/cookies.h"
#include "web/redirect.h"
#include "web/request_assembly.h"
#include "web/request_headers.h"
#include "web/url.h"

using fuzz::Check;

namespace {

constexpr std::int64_t kNow = 1700000000;

bool OnOneLine(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

// Sends a request to `to` as the exchange that began at `first` would.
void CheckSent(const web::HeaderPlan& plan, web::CookieStore* store, const web::Endpoint& first,
               const web::Endpoint& to) {
    web::Hop hop{.first = first, .to = to, .method = "POST", .body = rt::ByteBuffer{'b'}};
    if (store) hop.storeCookies = store->CookieLine(to, kNow);
    const web::TransferRequest request = web::AssembleRequest(plan, hop);
    for (const char c : request.endpoint.target) Check(c > 0x20 && c < 0x7F);
    Check(OnOneLine(request.endpoint.host));
    for (const std::string& line : request.headerLines) Check(OnOneLine(line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    for (std::size_t begin = 0;;) {
        const std::size_t at = input.find("\n##\n", begin);
        parts.push_back(
            input.substr(begin, at == std::string::npos ? std::string::npos : at - begin));
        if (at == std::string::npos) break;
        begin = at + 4;
    }
    parts.resize(std::max<std::size_t>(parts.size(), 3));
    const rt::Text& url = parts[0];
    rt::Text headers = parts[1];
    const std::string& rawHeaders = parts[2];
    const bool ownCookies = parts.size() > 3;
    rt::Text cookies = ownCookies ? parts[3] : rt::Text();
    web::CookieStore store;
    web::CookieStore* shared = ownCookies ? nullptr : &store;

    // The first request; the store keeps what the response set, and an
    // automatic redirect goes where its location says.
    if (const auto first = web::EndpointOf(url)) {
        const web::HeaderPlan plan =
            web::PlanHeaders(url, headers, ownCookies ? &cookies : nullptr);
        CheckSent(plan, shared, *first, *first);
        headers = plan.sentHeaders;
        store.KeepFrom(rawHeaders, *first, kNow);
        if (const auto next = web::AutomaticFollowUp(*first, 302, rawHeaders)) {
            if (const auto to = web::EndpointOf(next->url)) CheckSent(plan, shared, *first, *to);
        }
    }

    // The exchange after a "301 Moved": its cookies merged into the caller's
    // and its location, with the old path, as the next URL.
    web::HeaderScan scan = web::ScanResponseHeaders(web::FitResponseHeaders(rawHeaders));
    Check(OnOneLine(scan.location));
    Check(OnOneLine(scan.receivedCookies));
    if (ownCookies) web::MergeCookies(&cookies, &scan.receivedCookies);
    const rt::Text next = scan.location + web::UrlPath(url);
    if (const auto to = web::EndpointOf(next)) {
        CheckSent(web::PlanHeaders(next, headers, ownCookies ? &cookies : nullptr), shared, *to,
                  *to);
    }
    return 0;
}
