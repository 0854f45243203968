// Conversion between code page 936, UTF-8 and UTF-16, with the Windows
// converter's handling of what does not convert: Windows' own converters on
// Windows, iconv with the same replacement rules elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace rt {

// Code page identifiers as the conversion routines take them.
inline constexpr int kCodePage936 = 936;
inline constexpr int kCodePageUtf8 = 65001;

// True when narrow literals of this build are code-page-936 bytes (GCC with
// -fexec-charset=CP936); false when they stay UTF-8 (clang builds).
inline constexpr bool kLiteralsAreCp936 = sizeof("中") == 3;

// The MultiByteToWideChar role: bytes of `codePage` to UTF-16. Bytes that do
// not decode become U+FFFD (UTF-8) or U+003F (code page 936).
std::u16string MultiByteToWide(int codePage, std::string_view bytes);

// The WideCharToMultiByte role: UTF-16 to bytes of `codePage`. A character
// with no code-page-936 form becomes "?".
std::string WideToMultiByte(int codePage, std::u16string_view text);

// Shortcuts for the conversions at the edges (Pango, X11, clipboard).
std::string Cp936ToUtf8(std::string_view text);
std::string Utf8ToCp936(std::string_view text);

}  // namespace rt
