// One-pass conversion of UTF-8 bytes to code page 936 for response bodies.
#pragma once

#include <string>
#include <string_view>

namespace web {

// The same result as UTF-8 -> UTF-16 -> code page 936 through the runtime's
// converters (an undecodable byte becomes "?", so does a character without a
// code-page-936 form, and a sequence cut off by the end becomes one "?" that
// ends the text), but straight and into one buffer, which is several times
// faster on a page of 100 KB.
std::string Utf8ToCp936Bytes(std::string_view utf8);

}  // namespace web
