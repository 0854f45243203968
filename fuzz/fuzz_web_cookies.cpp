// Fuzzes the cookie merge: the input is split into a stored and a received
// cookie text at its first line feed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
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
    return 0;
}
