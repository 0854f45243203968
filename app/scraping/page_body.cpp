#include "app/scraping/page_body.h"

#include "runtime/codepage.h"

namespace app {

bool BodyDeclaresUtf8(std::string_view body) {
    constexpr std::string_view kMark = "utf-8";
    constexpr size_t kLastStart = 499;  // 1-based start positions 1..499
    const size_t found = body.substr(0, kLastStart - 1 + kMark.size()).find(kMark);
    return found != std::string_view::npos;
}

rt::Text PageTextFromBody(std::string_view body, bool forceUtf8) {
    std::string text;
    if (forceUtf8 || BodyDeclaresUtf8(body)) {
        text = rt::Utf8ToCp936(body);
    } else {
        text = std::string(body);
    }
    return text.substr(0, text.find('\0'));
}

}  // namespace app
