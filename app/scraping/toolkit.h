// Marker-based text surgery shared by the site rules. Positions and lengths
// count bytes; searches step by character as rt::FindText does.
#pragma once

#include "runtime/text.h"

#include <optional>

namespace app {

// The text between the first `startMarker` and the first `endMarker` after it.
// An absent end marker gives empty. An absent start marker makes the search
// for the end marker begin at byte length(startMarker) - 1.
rt::Text ExtractBetween(const rt::Text& text, const rt::Text& startMarker,
                        const rt::Text& endMarker);

// ExtractBetween when `startMarker` occurs in `text`, else empty: a field
// whose start or end marker is missing comes out empty.
rt::Text ExtractItem(const rt::Text& text, const rt::Text& startMarker, const rt::Text& endMarker);

// Removes the text up to and including `marker` and the one byte after it.
// An absent marker removes the first length(marker) - 1 bytes.
rt::Text DropThrough(const rt::Text& text, const rt::Text& marker);

// Five replacements in order; a pair whose find text is empty changes nothing.
// Without options every occurrence is replaced, ignoring ASCII letter case.
struct ReplaceOptions {
    std::optional<int> start;
    std::optional<int> count;
    std::optional<bool> caseSensitive;
};
rt::Text ReplaceMany(const rt::Text& text, const rt::Text& find1, const rt::Text& replacement1,
                     const rt::Text& find2 = {}, const rt::Text& replacement2 = {},
                     const rt::Text& find3 = {}, const rt::Text& replacement3 = {},
                     const rt::Text& find4 = {}, const rt::Text& replacement4 = {},
                     const rt::Text& find5 = {}, const rt::Text& replacement5 = {},
                     const ReplaceOptions& options = {});

// "%XY" to the byte 0xXY; "+" stays. A non-hex digit counts as -2 and only
// the low 8 bits of the sum are kept (a zero byte is dropped). With toAnsi
// the decoded bytes are read as UTF-8 and converted to code page 936.
rt::Text PercentDecode(const rt::Text& text, std::optional<bool> toAnsi = std::nullopt);

// The bytes of `text` up to its first zero byte, read as UTF-8, as a
// code-page-936 text. Characters without a code-page-936 form become "?".
rt::Text Utf8TextToAnsi(const rt::Text& text);

}  // namespace app
