// Conversions between code-page-936 texts and UTF-8, and the percent-encoder
// used for keywords in result-page URLs.
#pragma once

#include "runtime/text.h"

namespace web {

// UTF-8 form of `text` (up to its first zero byte) followed by one zero byte;
// an empty text gives an empty buffer.
rt::ByteBuffer AnsiToUtf8Bytes(const rt::Text& text);

// Code-page-936 form of UTF-8 `bytes`, no terminator. A zero byte in the
// input stays a zero byte in the output.
rt::ByteBuffer Utf8BytesToAnsi(const rt::ByteBuffer& bytes);

// "%" and two upper-case hexadecimal digits per byte. With `keepSafe`, the
// bytes "-", ".", digits and ASCII letters pass unchanged. With
// `convertToUtf8` the UTF-8 form of `text` is encoded instead of its bytes.
rt::Text UrlEncode(const rt::Text& text, std::optional<bool> keepSafe = std::nullopt,
                   std::optional<bool> convertToUtf8 = std::nullopt);

// The UTF-8 bytes of `text` (up to its first zero byte) as a text.
rt::Text AnsiToUtf8Text(const rt::Text& text);

}  // namespace web
