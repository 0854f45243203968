// Fuzzes the URL pieces and the header rules of the page request.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "web/request_headers.h"
#include "web/url.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    const rt::Text host = web::UrlHost(input, false);
    // Only a bracketed IPv6 address keeps colons.
    Check(host.find(':') == rt::Text::npos || host[0] == '[');
    Check(web::UrlHost(input, true).compare(0, host.size(), host) == 0);
    web::UrlPort(input);
    const rt::Text path = web::UrlPath(input);
    Check(!path.empty() && path[0] == '/');

    // Markers are taken from the input's first two lines.
    const std::size_t a = input.find('\n');
    const std::size_t b = a == std::string::npos ? a : input.find('\n', a + 1);
    if (b != std::string::npos) {
        const rt::Text start = input.substr(0, a);
        const rt::Text end = input.substr(a + 1, b - a - 1);
        const rt::Text rest = input.substr(b + 1);
        const rt::Text between = web::TextBetween(rest, start, end, static_cast<int>(size % 7) - 2);
        Check(between.size() <= rest.size());
        web::TextBetween(rest, start, end, 1, true);
    }

    web::HeaderValue(input);
    web::AgentFor(input);
    const rt::Text block = web::CompleteHeaders(input, "http://h/", input);
    Check(block.compare(0, input.size(), input) == 0);
    const rt::Text fitted = web::FitResponseHeaders(input);
    Check(fitted.size() <= static_cast<std::size_t>(web::kResponseHeaderBuffer));
    web::ScanResponseHeaders(fitted);
    web::IsMovedPermanently(fitted);
    return 0;
}
