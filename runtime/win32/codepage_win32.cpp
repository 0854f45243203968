// Code-page conversion over the system's own converters with flags 0: its
// code-page-936 table, its replacements ("?" for a character without a form,
// U+FFFD for bad UTF-8) and its best-fit forms (U+00B5 becomes the Greek
// mu 0xA6 0xCC) are the program's.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "runtime/codepage.h"
#include "runtime/utf8_to_cp936.h"

namespace rt {
namespace {

bool Supported(int codePage) { return codePage == kCodePage936 || codePage == kCodePageUtf8; }

}  // namespace

std::u16string MultiByteToWide(int codePage, std::string_view bytes) {
    if (!Supported(codePage) || bytes.empty() || bytes.size() > INT_MAX) return {};
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    const int written = MultiByteToWideChar(codePage, 0, bytes.data(), size,
                                            reinterpret_cast<wchar_t*>(wide.data()), units);
    wide.resize(static_cast<std::size_t>(std::max(written, 0)));
    return wide;
}

std::string WideToMultiByte(int codePage, std::u16string_view text) {
    if (!Supported(codePage) || text.empty() || text.size() > INT_MAX) return {};
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(codePage, 0, units, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    const int written =
        WideCharToMultiByte(codePage, 0, units, size, out.data(), bytes, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(std::max(written, 0)));
    return out;
}

std::string Cp936ToUtf8(std::string_view text) {
    return WideToMultiByte(kCodePageUtf8, MultiByteToWide(kCodePage936, text));
}

std::string Utf8ToCp936(std::string_view text) {
    return WideToMultiByte(kCodePage936, MultiByteToWide(kCodePageUtf8, text));
}

std::size_t Utf8ToCp936Into(std::string_view utf8, char* out) {
    // Every UTF-8 sequence gives at most as many bytes as it has, and a bad
    // byte becomes one "?": the result fits.
    const std::string converted = Utf8ToCp936(utf8);
    const std::size_t length = std::min(converted.size(), utf8.size());
    std::memcpy(out, converted.data(), length);
    return length;
}

}  // namespace rt
