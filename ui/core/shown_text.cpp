#include "ui/core/shown_text.h"

#include "runtime/text_scan.h"

namespace ui {

std::string_view ShownPart(std::string_view text, int maxColumns) {
    std::size_t at = 0;
    for (int column = 0; column < maxColumns && at < text.size(); ++column)
        at += rt::detail::IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1;
    return text.substr(0, at);
}

rt::Text OneLine(std::string_view text, int maxColumns) {
    const std::string_view part = ShownPart(text, maxColumns);
    rt::Text line;
    line.reserve(part.size());
    for (std::size_t i = 0; i < part.size(); ++i) {
        const char c = part[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        line += ' ';
        if (c == '\r' && i + 1 < part.size() && part[i + 1] == '\n') ++i;
    }
    return line;
}

}  // namespace ui
