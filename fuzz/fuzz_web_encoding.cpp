// Fuzzes the charset and URL encodings: the one-pass UTF-8 to code-page-936
// conversion is checked against the converters' way through UTF-16 (where no
// combining mark can compose), the percent-encoder against its output form.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "runtime/codepage.h"
#include "web/encoding.h"

using fuzz::Check;

namespace {

bool IsUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    const rt::ByteBuffer ansi = web::Utf8BytesToAnsi(rt::ByteBuffer(data, data + size));
    Check(ansi.size() <= input.size());
    // Without a combining mark (U+0300..U+033F, lead byte 0xCC) nothing composes,
    // and the result is the converters' way through UTF-16.
    if (input.find('\xCC') == std::string::npos) {
        Check(std::string(ansi.begin(), ansi.end()) ==
              rt::WideToMultiByte(rt::kCodePage936, rt::MultiByteToWide(rt::kCodePageUtf8, input)));
    }

    const rt::Text encoded = web::UrlEncode(input);
    Check(encoded.size() == 3 * input.size());
    for (std::size_t i = 0; i < encoded.size(); i += 3) {
        Check(encoded[i] == '%' && IsUpperHex(encoded[i + 1]) && IsUpperHex(encoded[i + 2]));
    }
    const rt::Text safe = web::UrlEncode(input, true, true);
    for (const char c : safe) Check(static_cast<unsigned char>(c) < 0x80);

    const rt::ByteBuffer utf8 = web::AnsiToUtf8Bytes(input);
    Check(utf8.empty() == input.empty());
    if (!utf8.empty()) Check(utf8.back() == 0);
    const rt::Text utf8Text = web::AnsiToUtf8Text(input);
    Check(utf8Text.size() + 1 <= utf8.size() || utf8.empty());
    return 0;
}
