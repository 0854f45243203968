// Search, extraction, splitting and replacing of texts.
#include <climits>
#include <cstring>

#include "runtime/text.h"
#include "runtime/text_scan.h"

namespace rt {

using detail::kNotFound;

int TextLength(const Text& text) { return static_cast<int>(text.size()); }

int FindText(const Text& text, const Text& sub, std::optional<int> start, bool ignoreCase) {
    const std::size_t from = detail::ForwardScanStart(text.size(), sub.size(), start);
    if (from == kNotFound) return -1;
    const std::size_t hit = detail::FindOnBoundary(text, sub, from, ignoreCase);
    return hit == kNotFound ? -1 : static_cast<int>(hit + 1);
}

int FindTextReverse(const Text& text, const Text& sub, std::optional<int> start, bool ignoreCase) {
    const long long n = static_cast<long long>(text.size());
    const long long m = static_cast<long long>(sub.size());
    if (n == 0 || m == 0 || m > n) return -1;
    long long a = n - m;
    if (start && *start >= 1) {
        a = static_cast<long long>(*start) - m;
        if (a < 0) a = 0;
        if (a > n - m) a = n - m;
    }
    // Steps back one byte at a time, so a match may begin on the second byte
    // of a character.
    for (long long i = a; i >= 0; --i) {
        if (!ignoreCase) {
            // Jump to the previous byte equal to the first byte of `sub`.
            const char* p =
                detail::FindLastByte(text.data(), static_cast<std::size_t>(i + 1), sub[0]);
            if (p == nullptr) return -1;
            i = p - text.data();
        }
        if (detail::BytesEqual(text.data() + i, sub.data(), sub.size(), ignoreCase))
            return static_cast<int>(i + 1);
    }
    return -1;
}

Text LeftText(const Text& text, int n) {
    if (n <= 0 || text.empty()) return {};
    return text.substr(0, static_cast<std::size_t>(n));
}

Text RightText(const Text& text, int n) {
    if (n <= 0 || text.empty()) return {};
    if (static_cast<std::size_t>(n) >= text.size()) return text;
    return text.substr(text.size() - static_cast<std::size_t>(n));
}

Text MidText(const Text& text, int start, int n) {
    if (text.empty() || n < 1 || start < 1 || static_cast<std::size_t>(start) > text.size())
        return {};
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n));
}

Text ReplaceSubtext(const Text& text, const Text& find, std::optional<Text> replacement,
                    std::optional<int> start, std::optional<int> count,
                    std::optional<bool> caseSensitive) {
    if (text.empty()) return {};
    const long long n = static_cast<long long>(text.size());
    const long long m = static_cast<long long>(find.size());
    if (m == 0 || m > n) return text;
    const long long from = start.value_or(1);
    const long long limit = count.value_or(INT_MAX);
    if (from < 1 || limit < 1 || from > n - m + 1) return text;
    const bool ignoreCase = !caseSensitive.value_or(false);

    Text result;
    std::size_t copied = 0;  // bytes of `text` already in `result`
    std::size_t scan = static_cast<std::size_t>(from - 1);
    long long found = 0;
    while (found < limit) {
        std::size_t hit = detail::FindOnBoundary(text, find, scan, ignoreCase);
        if (hit == kNotFound) break;
        if (found == 0) result.reserve(text.size());
        result.append(text, copied, hit - copied);
        if (replacement) result.append(*replacement);
        copied = scan = hit + find.size();
        ++found;
    }
    if (found == 0) return text;
    result.append(text, copied, Text::npos);
    return result;
}

TextList SplitText(const Text& text, std::optional<Text> delimiter, std::optional<int> limit) {
    TextList list;
    if (text.empty() || (limit && *limit <= 0)) return list;
    const Text delim = delimiter.value_or(",");
    if (delim.empty()) {
        list.append(text);
        return list;
    }
    std::size_t entryStart = 0;
    for (;;) {
        std::size_t hit = detail::FindOnBoundary(text, delim, entryStart, false);
        if (hit == kNotFound) break;
        list.append(text.substr(entryStart, hit - entryStart));
        if (limit && list.count() >= *limit) return list;
        entryStart = hit + delim.size();
    }
    if (entryStart < text.size()) list.append(text.substr(entryStart));
    return list;
}

int CompareText(const Text& a, const Text& b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    int c = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
    if (c == 0) c = (a.size() > b.size()) - (a.size() < b.size());
    return (c > 0) - (c < 0);
}

}  // namespace rt
