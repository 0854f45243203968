// A result page's body as the site rules receive it.
#pragma once

#include "runtime/text.h"

#include <string_view>

namespace app {

// True when the bytes "utf-8" begin at one of the body's first 499 bytes.
bool BodyDeclaresUtf8(std::string_view body);

// The body as a code-page-936 Text, as the page request hands it over:
// converted from UTF-8 when it declares UTF-8 (or `forceUtf8`), then cut at
// its first zero byte.
rt::Text PageTextFromBody(std::string_view body, bool forceUtf8 = false);

}  // namespace app
