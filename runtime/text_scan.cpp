#include "runtime/text_scan.h"

#include <cstring>

namespace rt::detail {
namespace {

// First position >= pos where `sub` occurs byte for byte (or folded), whether
// or not it is a character boundary.
std::size_t NextCandidate(std::string_view text, std::string_view sub, std::size_t pos,
                          bool ignoreCase) {
    const std::size_t last = text.size() - sub.size();  // last possible start
    if (!ignoreCase) {
        const void* hit = memmem(text.data() + pos, text.size() - pos, sub.data(), sub.size());
        return hit == nullptr ? kNotFound
                              : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    }
    const unsigned char first = FoldAscii(static_cast<unsigned char>(sub[0]));
    const bool letter = first >= 'a' && first <= 'z';
    // Both cases of a first letter are candidates. They are looked for in a
    // window that doubles, so a case that is rare or absent does not make
    // every call scan to the end of the text.
    std::size_t window = 64;
    while (pos <= last) {
        const std::size_t span = last - pos + 1 < window ? last - pos + 1 : window;
        const char* p = static_cast<const char*>(std::memchr(text.data() + pos, first, span));
        if (letter) {
            const std::size_t upperSpan = p == nullptr ? span : static_cast<std::size_t>(p - (text.data() + pos));
            const void* upper = std::memchr(text.data() + pos, first - ('a' - 'A'), upperSpan);
            if (upper != nullptr) p = static_cast<const char*>(upper);
        }
        if (p == nullptr) {
            pos += span;
            window *= 2;
            continue;
        }
        const std::size_t at = static_cast<std::size_t>(p - text.data());
        if (BytesEqual(p + 1, sub.data() + 1, sub.size() - 1, true)) return at;
        pos = at + 1;
    }
    return kNotFound;
}

}  // namespace

std::size_t ForwardScanStart(std::size_t n, std::size_t m, std::optional<int> start) {
    if (n == 0 || m == 0 || m > n) return kNotFound;
    const std::size_t from = start && *start > 1 ? static_cast<std::size_t>(*start - 1) : 0;
    return from > n - m ? kNotFound : from;
}

bool BytesEqual(const char* a, const char* b, std::size_t n, bool ignoreCase) {
    if (!ignoreCase) return std::memcmp(a, b, n) == 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::size_t FindOnBoundary(std::string_view text, std::string_view sub, std::size_t from,
                           bool ignoreCase) {
    const std::size_t n = text.size();
    const std::size_t m = sub.size();
    if (m == 0 || m > n || from > n - m) return kNotFound;

    // Candidates come from a plain byte search; each is then checked against
    // the character boundaries of a scan from `from`. Any byte below 0x80 is
    // either a single-byte character or the second byte of a pair, so the
    // position after it is always a boundary; between such a position (or the
    // last known boundary) and the candidate lie only lead-range bytes, which
    // pair up, so the candidate is a boundary when that distance is even.
    std::size_t boundary = from;
    std::size_t pos = from;
    while (pos <= n - m) {
        std::size_t c = NextCandidate(text, sub, pos, ignoreCase);
        if (c == kNotFound) return kNotFound;
        std::size_t b = c;
        while (b > boundary && IsLeadByte(text[b - 1])) --b;
        if (((c - b) & 1) == 0) return c;
        // c is the second byte of a pair: the next boundary follows it.
        boundary = c + 1;
        pos = c + 1;
    }
    return kNotFound;
}

}  // namespace rt::detail
