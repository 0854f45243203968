// Fuzzes request assembly: whatever the caller's URL, header block and
// cookies, and whatever a response's headers bring back (cookies, a
// location), no header line that would be sent, nor the agent or the URL
// handed to libcurl, holds a CR, an LF or a zero byte. The input is the URL,
// the caller's headers, the response headers and the caller's cookies,
// separated by lines "##"; without a fourth part the shared store is used.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "web/cookies.h"
#include "web/request_assembly.h"
#include "web/request_headers.h"
#include "web/url.h"

using fuzz::Check;

namespace {

bool OnOneLine(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

void CheckSent(const web::AssembledRequest& request) {
    Check(OnOneLine(request.transfer.url));
    Check(OnOneLine(request.transfer.agent));
    for (const std::string& line : request.transfer.headerLines) Check(OnOneLine(line));
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
    const rt::Text responseHeaders = web::FitResponseHeaders(parts[2]);
    const bool ownCookies = parts.size() > 3;
    rt::Text cookies = ownCookies ? parts[3] : rt::Text();

    // The first exchange, then the one after a response: its cookies merged
    // into the caller's and its location as the next URL.
    const auto first = web::AssembleRequest(url, headers, ownCookies ? &cookies : nullptr);
    if (first) {
        CheckSent(*first);
        headers = first->sentHeaders;
    }
    web::HeaderScan scan = web::ScanResponseHeaders(responseHeaders);
    Check(OnOneLine(scan.location));
    Check(OnOneLine(scan.receivedCookies));
    if (ownCookies) web::MergeCookies(&cookies, &scan.receivedCookies);
    const rt::Text next = scan.location + web::UrlPath(url);
    if (const auto second = web::AssembleRequest(next, headers, ownCookies ? &cookies : nullptr)) {
        CheckSent(*second);
    }
    return 0;
}
