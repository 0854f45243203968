// Fuzzes the cookie merge and the cookie store: the input is split into a
// stored and a received cookie text at its first line feed; each of its lines
// is also a Set-Cookie value for the store, whose Cookie line must stay one
// line.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "web/cookie_date.h"
#include "web/cookie_store.h"
#include "web/cookies.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    rt::Text stored = input.substr(0, cut);
    rt::Text received = cut == std::string::npos ? rt::Text() : input.substr(cut + 1);

    const rt::Text merged = web::MergeCookies(&stored, &received);
    Check(merged == stored);

    // Dropping repeats never makes a text longer.
    Check(web::DedupeList(input, ";").size() <= input.size());
    Check(web::DedupeList(input, "; ").size() <= input.size());
    web::CookieName(input);

    web::CookieStore store;
    const web::Endpoint from{
        .https = true, .host = "a.example.test", .port = 443, .target = "/dir/page?q"};
    for (std::size_t begin = 0; begin <= input.size();) {
        const std::size_t end = std::min(input.find('\n', begin), input.size());
        store.Keep(std::string_view(input).substr(begin, end - begin), from, 1700000000);
        web::ParseCookieDate(std::string_view(input).substr(begin, end - begin));
        begin = end + 1;
    }
    Check(store.size() <= web::CookieStore::kMaxInAll);
    const std::string line = store.CookieLine(from, 1700000000);
    Check(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    return 0;
}
