// Text, byte-buffer and value operations used by every layer.
//
// A Text holds code-page-936 bytes. Positions are 1-based byte positions, a
// failed search gives -1, and out-of-range arguments give empty or unchanged
// results rather than errors. Operations that "step by character" treat a byte
// of 0x80 or above as the lead byte of a two-byte character.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rt {

// Code-page-936 bytes; empty and absent are one value.
using Text = std::string;

// Counted bytes that may contain zero bytes.
using ByteBuffer = std::vector<std::uint8_t>;

// Days since 30 December 1899; the fraction is the time of day.
struct DateTime {
    double days = 0;
};

// A 1-based list of texts. Reading outside 1..count is a fatal runtime error
// (number 4 below 1, number 1 above the count).
class TextList {
public:
    TextList() = default;
    explicit TextList(std::vector<Text> items) : items_(std::move(items)) {}

    int count() const { return static_cast<int>(items_.size()); }
    void append(const Text& text) { items_.push_back(text); }
    void append(Text&& text) { items_.push_back(std::move(text)); }
    void clear() { items_.clear(); }
    const Text& operator[](int index) const;
    Text& operator[](int index);

    const std::vector<Text>& Items() const { return items_; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Text> items_;
};

// Search and extraction.
int TextLength(const Text& text);
int FindText(const Text& text, const Text& sub, std::optional<int> start = std::nullopt,
             bool ignoreCase = false);
int FindTextReverse(const Text& text, const Text& sub, std::optional<int> start = std::nullopt,
                    bool ignoreCase = false);
Text LeftText(const Text& text, int n);
Text RightText(const Text& text, int n);
Text MidText(const Text& text, int start, int n);

// Transformation.
Text TrimSpaces(const Text& text);
Text RemoveSpaces(const Text& text);
Text ToLowerText(const Text& text);
Text ToUpperText(const Text& text);
Text ReplaceSubtext(const Text& text, const Text& find,
                    std::optional<Text> replacement = std::nullopt,
                    std::optional<int> start = std::nullopt,
                    std::optional<int> count = std::nullopt,
                    std::optional<bool> caseSensitive = std::nullopt);
Text ReplaceSection(const Text& text, int start, int length,
                    std::optional<Text> replacement = std::nullopt);
TextList SplitText(const Text& text, std::optional<Text> delimiter = std::nullopt,
                   std::optional<int> limit = std::nullopt);
template <typename... Texts>
Text ConcatText(const Texts&... texts) {
    Text result;
    result.reserve((std::string_view(texts).size() + ... + 0));
    (result.append(texts), ...);
    return result;
}
int CompareText(const Text& a, const Text& b);

// Conversions. Reals print with six decimals, less trailing zeros and a bare
// point; a date-time outside the years 100..9999 gives an empty text.
Text ToText(const Text& value);
Text ToText(const char* value);
Text ToText(std::int32_t value);
Text ToText(std::uint8_t value);
Text ToText(std::int16_t value);
Text ToText(std::int64_t value);
Text ToText(float value);
Text ToText(double value);
Text ToText(bool value);
Text ToText(const ByteBuffer& value);
Text ToText(DateTime value);

// Texts: full-width forms become half-width first, then they are read like
// atoi; a value beyond 32 bits is clamped to INT32_MIN/INT32_MAX. Reals are
// truncated toward zero; NaN and reals out of range give INT32_MIN (the x86
// "integer indefinite"). A 64-bit integer gives its low 32 bits.
std::int32_t ToInteger(const Text& value);
std::int32_t ToInteger(const char* value);
std::int32_t ToInteger(std::int32_t value);
std::int32_t ToInteger(std::uint8_t value);
std::int32_t ToInteger(std::int16_t value);
std::int32_t ToInteger(std::int64_t value);
std::int32_t ToInteger(float value);
std::int32_t ToInteger(double value);
std::int32_t ToInteger(bool value);

Text CharText(std::int32_t code);
Text HexText(std::int32_t value);

ByteBuffer ToBytes(const Text& value);
ByteBuffer ToBytes(std::uint8_t value);
ByteBuffer ToBytes(std::int16_t value);
ByteBuffer ToBytes(std::int32_t value);
ByteBuffer ToBytes(std::int64_t value);
ByteBuffer ToBytes(float value);
ByteBuffer ToBytes(double value);
ByteBuffer ToBytes(bool value);
ByteBuffer ToBytes(DateTime value);

// Byte buffers.
int ByteLength(const ByteBuffer& bytes);
ByteBuffer LeftBytes(const ByteBuffer& bytes, int n);
int FindBytes(const ByteBuffer& bytes, const ByteBuffer& pattern,
              std::optional<int> start = std::nullopt);
template <typename... Buffers>
ByteBuffer ConcatBytes(const Buffers&... buffers) {
    ByteBuffer result;
    (result.insert(result.end(), buffers.begin(), buffers.end()), ...);
    return result;
}
ByteBuffer BlankBytes(int n);
Text BlankText(int n);

// A value read from a byte buffer; the alternative follows the type code
// (1 8-bit, 2 16-bit, 3 32-bit, 4 64-bit, 5 32-bit real, 6 64-bit real,
// 7 boolean, 8 date-time, 9 routine reference, 10 zero-terminated text).
using BytesValue = std::variant<std::uint8_t, std::int16_t, std::int32_t, std::int64_t, float,
                                double, bool, DateTime, std::uintptr_t, Text>;
// A type code outside 1..10 is fatal runtime error 100. When `position` is
// given it is advanced past the value, or set to -1 when nothing is left after
// it (or it was outside the buffer). A routine reference is read as 32 bits.
BytesValue ReadBytesValue(const ByteBuffer& bytes, int typeCode, int* position = nullptr);
BytesValue ReadBytesValue(const ByteBuffer& bytes, int typeCode, int position);

std::int32_t BitOr(std::int32_t a, std::int32_t b);
template <typename... Rest>
std::int32_t BitOr(std::int32_t a, std::int32_t b, Rest... rest) {
    return BitOr(BitOr(a, b), rest...);
}

}  // namespace rt
