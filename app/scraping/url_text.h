// The keyword and title encoding of result URLs and links.
#pragma once

#include "runtime/text.h"

namespace app {

// Every byte of the UTF-8 form of `text` (up to its first zero byte) as "%"
// and two upper-case hexadecimal digits, letters and digits included.
rt::Text EncodeForUrl(const rt::Text& text);

}  // namespace app
