#include "web/encoding.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "runtime/codepage.h"
#include "runtime/utf8_to_cp936.h"

namespace web {
namespace {

// The converters read a zero-terminated text up to its zero byte.
std::string_view UpToZero(const rt::Text& text) { return std::string_view(text.c_str()); }

bool IsSafeByte(std::uint8_t b) {
    return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
           (b >= 'a' && b <= 'z');
}

// A base character followed by a non-spacing mark that has a precomposed
// code-page-936 form: the pair is converted as that one character (the
// converter's composite check). Sorted by mark, then base.
struct Composite {
    char32_t mark, base, composed;
};
constexpr std::array<Composite, 35> kComposites = {{
    {0x0300, 0x0061, 0x00E0}, {0x0300, 0x0065, 0x00E8}, {0x0300, 0x0069, 0x00EC},
    {0x0300, 0x006F, 0x00F2}, {0x0300, 0x0075, 0x00F9}, {0x0300, 0x00FC, 0x01DC},
    {0x0301, 0x0061, 0x00E1}, {0x0301, 0x0065, 0x00E9}, {0x0301, 0x0069, 0x00ED},
    {0x0301, 0x006E, 0x0144}, {0x0301, 0x006F, 0x00F3}, {0x0301, 0x0075, 0x00FA},
    {0x0301, 0x00FC, 0x01D8}, {0x0302, 0x0065, 0x00EA}, {0x0304, 0x0061, 0x0101},
    {0x0304, 0x0065, 0x0113}, {0x0304, 0x0069, 0x012B}, {0x0304, 0x006F, 0x014D},
    {0x0304, 0x0075, 0x016B}, {0x0304, 0x00FC, 0x01D6}, {0x0306, 0x0418, 0x0419},
    {0x0306, 0x0438, 0x0439}, {0x0308, 0x0075, 0x00FC}, {0x0308, 0x0415, 0x0401},
    {0x0308, 0x0435, 0x0451}, {0x030C, 0x0061, 0x01CE}, {0x030C, 0x0065, 0x011B},
    {0x030C, 0x0069, 0x01D0}, {0x030C, 0x006E, 0x0148}, {0x030C, 0x006F, 0x01D2},
    {0x030C, 0x0075, 0x01D4}, {0x030C, 0x00FC, 0x01DA}, {0x0338, 0x003C, 0x226E},
    {0x0338, 0x003D, 0x2260}, {0x0338, 0x003E, 0x226F},
}};

char32_t ComposedForm(char32_t base, char32_t mark) {
    for (const Composite& c : kComposites) {
        if (c.mark == mark && c.base == base) return c.composed;
    }
    return 0;
}

// The code point of the well-formed UTF-8 sequence at `in`, and its length;
// length 1 and code point 0xFFFD for a byte that starts none.
std::pair<char32_t, std::size_t> DecodeOne(std::string_view in) {
    const auto b0 = static_cast<std::uint8_t>(in[0]);
    if (b0 < 0x80) return {b0, 1};
    const std::size_t len = b0 >= 0xC2 && b0 <= 0xDF   ? 2
                            : b0 >= 0xE0 && b0 <= 0xEF ? 3
                            : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                                       : 0;
    if (len == 0 || in.size() < len) return {0xFFFD, 1};
    char32_t cp = b0 & (0x7F >> len);
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<std::uint8_t>(in[i]);
        if ((b & 0xC0) != 0x80) return {0xFFFD, 1};
        cp = (cp << 6) | (b & 0x3F);
    }
    return {cp, len};
}

void AppendUtf8(char32_t cp, std::string* out) {
    if (cp < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    } else {
        out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    }
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
}

// Replaces each base-and-mark pair of kComposites by its precomposed form,
// left to right; a composed character does not combine again. Never longer
// than the input.
std::string ComposePairs(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    char32_t previous = 0;  // 0: nothing that may combine with a mark
    std::size_t previousAt = 0;
    for (std::size_t i = 0; i < in.size();) {
        const auto [cp, len] = DecodeOne(in.substr(i));
        const char32_t composed = previous ? ComposedForm(previous, cp) : 0;
        if (composed) {
            out.resize(previousAt);
            AppendUtf8(composed, &out);
            previous = 0;
        } else {
            previous = cp;
            previousAt = out.size();
            out.append(in.substr(i, len));
        }
        i += len;
    }
    return out;
}

// The marks of kComposites lie in U+0300..U+033F, whose UTF-8 forms begin
// with 0xCC.
bool MayHoldComposites(std::string_view utf8) {
    return std::memchr(utf8.data(), 0xCC, utf8.size()) != nullptr;
}

}  // namespace

rt::ByteBuffer AnsiToUtf8Bytes(const rt::Text& text) {
    if (text.empty()) return {};
    const std::string utf8 = rt::WideToMultiByte(
        rt::kCodePageUtf8, rt::MultiByteToWide(rt::kCodePage936, UpToZero(text)));
    rt::ByteBuffer bytes(utf8.begin(), utf8.end());
    bytes.push_back(0);  // the converted terminating zero unit
    return bytes;
}

rt::ByteBuffer Utf8BytesToAnsi(const rt::ByteBuffer& bytes) {
    if (bytes.empty()) return {};
    std::string_view input(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string composed;
    if (MayHoldComposites(input)) {
        composed = ComposePairs(input);
        input = composed;
    }
    rt::ByteBuffer ansi(input.size());
    ansi.resize(rt::Utf8ToCp936Into(input, reinterpret_cast<char*>(ansi.data())));
    return ansi;
}

rt::Text UrlEncode(const rt::Text& text, std::optional<bool> keepSafe,
                   std::optional<bool> convertToUtf8) {
    const rt::Text source = convertToUtf8.value_or(false) ? AnsiToUtf8Text(text) : text;
    const bool safe = keepSafe.value_or(false);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    rt::Text out;
    out.reserve(source.size() * 3);
    for (const char c : source) {
        const auto b = static_cast<std::uint8_t>(c);
        if (safe && IsSafeByte(b)) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kDigits[b >> 4]);
            out.push_back(kDigits[b & 0x0F]);
        }
    }
    return out;
}

rt::Text AnsiToUtf8Text(const rt::Text& text) {
    if (text.empty()) return {};
    const std::string utf8 = rt::WideToMultiByte(
        rt::kCodePageUtf8, rt::MultiByteToWide(rt::kCodePage936, UpToZero(text)));
    return rt::Text(UpToZero(utf8));
}

}  // namespace web
