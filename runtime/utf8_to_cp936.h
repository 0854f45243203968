// One-pass conversion of UTF-8 to code page 936 (web pages, labels).
#pragma once

#include <cstddef>
#include <string_view>

namespace rt {

// The same result as UTF-8 -> UTF-16 -> code page 936. Over iconv it goes
// straight (an undecodable byte becomes "?", so does a character without a
// code-page-936 form, and a sequence cut off by the end becomes one "?" that
// ends the text), through a table of the converter's own answers for the
// characters of the basic plane, each asked once, which is many times faster
// on a page of 100 KB; Windows' own converters are fast enough as they are.
// Writes the result to `out`, which must have room for utf8.size() bytes
// (the result is never longer than its input), and returns its length.
std::size_t Utf8ToCp936Into(std::string_view utf8, char* out);

}  // namespace rt
