#include "app/scraping/toolkit.h"

#include "runtime/codepage.h"

namespace app {

rt::Text ExtractBetween(const rt::Text& text, const rt::Text& startMarker,
                        const rt::Text& endMarker) {
    const int a = rt::FindText(text, startMarker);
    // With the start marker found this is exactly the text after it; without
    // it (a = -1) the first length(startMarker) - 2 bytes are cut off.
    const rt::Text rest =
        rt::RightText(text, rt::TextLength(text) - rt::TextLength(startMarker) - a + 1);
    const int b = rt::FindText(rest, endMarker);
    return rt::LeftText(rest, b - 1);
}

rt::Text ExtractItem(const rt::Text& text, const rt::Text& startMarker, const rt::Text& endMarker) {
    if (rt::FindText(text, startMarker) == -1) return {};
    return ExtractBetween(text, startMarker, endMarker);
}

rt::Text DropThrough(const rt::Text& text, const rt::Text& marker) {
    if (text.empty()) return {};
    const int drop = rt::FindText(text, marker) + rt::TextLength(marker);
    if (drop <= 0) return text;
    if (drop > rt::TextLength(text)) return {};
    return text.substr(static_cast<size_t>(drop));
}

rt::Text ReplaceMany(const rt::Text& text, const rt::Text& find1, const rt::Text& replacement1,
                     const rt::Text& find2, const rt::Text& replacement2, const rt::Text& find3,
                     const rt::Text& replacement3, const rt::Text& find4,
                     const rt::Text& replacement4, const rt::Text& find5,
                     const rt::Text& replacement5, const ReplaceOptions& options) {
    const rt::Text* pairs[5][2] = {{&find1, &replacement1},
                                   {&find2, &replacement2},
                                   {&find3, &replacement3},
                                   {&find4, &replacement4},
                                   {&find5, &replacement5}};
    rt::Text result = text;
    for (const auto& pair : pairs) {
        if (pair[0]->empty()) continue;
        result = rt::ReplaceSubtext(result, *pair[0], *pair[1], options.start, options.count,
                                    options.caseSensitive);
    }
    return result;
}

namespace {

// Value of one hexadecimal digit; anything else (or no byte at all) is -2.
int HexDigitValue(const rt::Text& text, size_t index) {
    if (index >= text.size()) return -2;
    const char c = text[index];
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -2;
}

}  // namespace

rt::Text PercentDecode(const rt::Text& text, std::optional<bool> toAnsi) {
    rt::Text result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '%') {
            result += c;
            continue;
        }
        const int high = HexDigitValue(text, i + 1);
        const int low = HexDigitValue(text, i + 2);
        i += 2;
        // Only the low 8 bits survive, and a zero byte would end a Text.
        const auto byte = static_cast<unsigned char>((high * 16 + low) & 0xFF);
        if (byte != 0) result += static_cast<char>(byte);
    }
    if (toAnsi.value_or(false)) result = Utf8TextToAnsi(result);
    return result;
}

rt::Text Utf8TextToAnsi(const rt::Text& text) {
    const rt::Text bytes = text.substr(0, text.find('\0'));
    if (bytes.empty()) return {};
    const std::u16string wide = rt::MultiByteToWide(rt::kCodePageUtf8, bytes);
    if (wide.empty()) return {};
    return rt::WideToMultiByte(rt::kCodePage936, wide);
}

}  // namespace app
