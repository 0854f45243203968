// What a control shows of a text that may be far longer than any box can
// hold (a page can give a title of megabytes): drawing, measuring and
// tooltips take the first few characters, so their cost does not grow with
// the text, while the text itself is kept whole for copying and opening.
#pragma once

#include <string_view>

#include "runtime/text.h"

namespace ui {

// Far more characters than a line of any box or tooltip shows.
inline constexpr int kMaxShownColumns = 1000;

// The first `maxColumns` characters of a code-page-936 text; a double-byte
// character counts once and is never split.
std::string_view ShownPart(std::string_view text, int maxColumns = kMaxShownColumns);

// The same drawn on one line: CR LF, a lone CR and a lone LF each become one
// space.
rt::Text OneLine(std::string_view text, int maxColumns = kMaxShownColumns);

}  // namespace ui
