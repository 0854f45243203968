// Searching that steps by character: the building block of FindText,
// ReplaceSubtext and SplitText.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace rt::detail {

inline constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

inline bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

inline unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Where a forward search for `m` bytes in `n` bytes begins (0-based): `start`
// omitted or below 1 counts as 1. kNotFound when either is empty, the pattern
// is longer, or `start` leaves too few bytes.
std::size_t ForwardScanStart(std::size_t n, std::size_t m, std::optional<int> start);

// True when `a` and `b` (of equal length) are equal, ASCII letters compared
// without regard to case when `ignoreCase` is set.
bool BytesEqual(const char* a, const char* b, std::size_t n, bool ignoreCase);

// The first occurrence of the `m` bytes at `needle` in the `n` bytes at
// `haystack` (memmem), or null.
const char* FindBytesIn(const char* haystack, std::size_t n, const char* needle, std::size_t m);

// The last byte equal to `c` in the `n` bytes at `bytes` (memrchr), or null.
const char* FindLastByte(const char* bytes, std::size_t n, char c);

// The 0-based position of the first occurrence of `sub` in `text` that a scan
// starting at `from` (taken as a character boundary) and stepping by character
// reaches, or kNotFound. An occurrence must lie wholly inside `text`.
std::size_t FindOnBoundary(std::string_view text, std::string_view sub, std::size_t from,
                           bool ignoreCase);

}  // namespace rt::detail
