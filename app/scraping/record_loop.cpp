#include "app/scraping/record_loop.h"

namespace app {

std::optional<RecordSpan> NextRecord(const rt::Text& page, const RecordMarkers& markers) {
    std::size_t begin = 0;
    if (!markers.start.empty()) {
        const int a = rt::FindText(page, markers.start);
        if (a == -1) return std::nullopt;
        begin = static_cast<std::size_t>(a - 1) + markers.start.size();
    }
    // Searched from the text's own first byte, as ExtractBetween does.
    const int b = rt::FindText(page.substr(begin), markers.end);
    if (b == -1) return std::nullopt;
    RecordSpan span;
    span.text = page.substr(begin, static_cast<std::size_t>(b - 1));
    span.head = page.substr(0, begin + span.text.size());
    span.next = begin + span.text.size() + 1;
    return span;
}

}  // namespace app
