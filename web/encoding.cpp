#include "web/encoding.h"

#include <string_view>

#include "runtime/codepage.h"
#include "runtime/utf8_to_cp936.h"

namespace web {
namespace {

// The converters read a zero-terminated text up to its zero byte.
std::string_view UpToZero(const rt::Text& text) {
    return std::string_view(text.c_str());
}

bool IsSafeByte(std::uint8_t b) {
    return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
           (b >= 'a' && b <= 'z');
}

}  // namespace

rt::ByteBuffer AnsiToUtf8Bytes(const rt::Text& text) {
    if (text.empty()) return {};
    const std::string utf8 =
        rt::WideToMultiByte(rt::kCodePageUtf8, rt::MultiByteToWide(rt::kCodePage936, UpToZero(text)));
    rt::ByteBuffer bytes(utf8.begin(), utf8.end());
    bytes.push_back(0);  // the converted terminating zero unit
    return bytes;
}

rt::ByteBuffer Utf8BytesToAnsi(const rt::ByteBuffer& bytes) {
    if (bytes.empty()) return {};
    const std::string_view input(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    rt::ByteBuffer ansi(bytes.size());
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
    const std::string utf8 =
        rt::WideToMultiByte(rt::kCodePageUtf8, rt::MultiByteToWide(rt::kCodePage936, UpToZero(text)));
    return rt::Text(UpToZero(utf8));
}

}  // namespace web
