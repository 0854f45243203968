// Text on its way to a terminal: what a page, a file or a command line
// holds is shown there, never obeyed, so control characters travel escaped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt {

// The code point of the UTF-8 sequence at `at`, moving `at` past it; -1
// for a byte that begins no valid sequence (overlong forms and surrogates
// included), and `at` then moves one byte on.
long DecodeUtf8(std::string_view text, std::size_t& at);

// The C0 controls, DEL and the C1 controls.
bool IsControlCharacter(long codePoint);

// `text` (UTF-8) with every C0 control and DEL written as \xHH, every C1
// control as \u00HH and every byte that begins no valid UTF-8 sequence as
// \xHH; the rest stays.
std::string EscapeControls(std::string_view text);

}  // namespace rt
