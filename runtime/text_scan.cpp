#include "runtime/text_scan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rt::detail {
namespace {

// A pattern byte as a folded comparison takes it: `bits` or-ed into a text
// byte folds an ASCII capital to its small letter, and is 0 for a byte that
// is no letter (compared exactly).
struct FoldedByte {
    unsigned char value;
    unsigned char bits;
};

FoldedByte FoldedPatternByte(char c) {
    const unsigned char folded = FoldAscii(static_cast<unsigned char>(c));
    const bool letter = folded >= 'a' && folded <= 'z';
    return {folded, static_cast<unsigned char>(letter ? 0x20 : 0)};
}

bool Matches(char c, FoldedByte b) { return (static_cast<unsigned char>(c) | b.bits) == b.value; }

// The first position >= pos where `sub` occurs without regard to ASCII case.
// Positions whose first and last bytes both match are checked in full; the
// two bytes are compared sixteen positions at a time, so a long run of text
// that matches only the first byte costs no more than any other text.
std::size_t NextFoldedCandidate(std::string_view text, std::string_view sub, std::size_t pos) {
    const std::size_t m = sub.size();
    const std::size_t last = text.size() - m;  // last possible start
    const FoldedByte first = FoldedPatternByte(sub[0]);
    const FoldedByte end = FoldedPatternByte(sub[m - 1]);
    auto check = [&](std::size_t at) {
        return m <= 2 || BytesEqual(text.data() + at + 1, sub.data() + 1, m - 2, true);
    };
#if defined(__SSE2__)
    const __m128i firstValue = _mm_set1_epi8(static_cast<char>(first.value));
    const __m128i firstBits = _mm_set1_epi8(static_cast<char>(first.bits));
    const __m128i endValue = _mm_set1_epi8(static_cast<char>(end.value));
    const __m128i endBits = _mm_set1_epi8(static_cast<char>(end.bits));
    for (; pos + 16 <= last + 1; pos += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos));
        const __m128i b =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos + m - 1));
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstBits), firstValue),
                                           _mm_cmpeq_epi8(_mm_or_si128(b, endBits), endValue));
        for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask != 0;
             mask &= mask - 1) {
            const std::size_t at = pos + static_cast<std::size_t>(__builtin_ctz(mask));
            if (check(at)) return at;
        }
    }
#endif
    for (; pos <= last; ++pos) {
        if (Matches(text[pos], first) && Matches(text[pos + m - 1], end) && check(pos)) return pos;
    }
    return kNotFound;
}

// First position >= pos where `sub` occurs byte for byte (or folded), whether
// or not it is a character boundary.
std::size_t NextCandidate(std::string_view text, std::string_view sub, std::size_t pos,
                          bool ignoreCase) {
    if (ignoreCase) return NextFoldedCandidate(text, sub, pos);
    const char* hit = FindBytesIn(text.data() + pos, text.size() - pos, sub.data(), sub.size());
    return hit == nullptr ? kNotFound : static_cast<std::size_t>(hit - text.data());
}

}  // namespace

// glibc's memmem and memrchr are several times faster than a plain search on
// a long page; other C libraries lack them.
const char* FindBytesIn(const char* haystack, std::size_t n, const char* needle, std::size_t m) {
#if defined(__GLIBC__)
    return static_cast<const char*>(memmem(haystack, n, needle, m));
#else
    const std::size_t at = std::string_view(haystack, n).find(std::string_view(needle, m));
    return at == std::string_view::npos ? nullptr : haystack + at;
#endif
}

const char* FindLastByte(const char* bytes, std::size_t n, char c) {
#if defined(__GLIBC__)
    return static_cast<const char*>(memrchr(bytes, c, n));
#else
    while (n > 0) {
        if (bytes[--n] == c) return bytes + n;
    }
    return nullptr;
#endif
}

std::size_t ForwardScanStart(std::size_t n, std::size_t m, std::optional<int> start) {
    if (n == 0 || m == 0 || m > n) return kNotFound;
    const std::size_t from = start && *start > 1 ? static_cast<std::size_t>(*start - 1) : 0;
    return from > n - m ? kNotFound : from;
}

bool BytesEqual(const char* a, const char* b, std::size_t n, bool ignoreCase) {
    if (!ignoreCase) return std::memcmp(a, b, n) == 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (FoldAscii(static_cast<unsigned char>(a[i])) !=
            FoldAscii(static_cast<unsigned char>(b[i])))
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
