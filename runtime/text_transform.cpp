// Texts changed as a whole: spaces, letter case, replaced sections.
#include "runtime/text.h"
#include "runtime/text_scan.h"

namespace rt {
namespace {

constexpr char kWideSpaceByte = static_cast<char>(0xA1);  // full-width space is A1 A1

bool IsWideSpaceAt(const Text& text, std::size_t i) {
    return i + 1 < text.size() && text[i] == kWideSpaceByte && text[i + 1] == kWideSpaceByte;
}

// Copies `text` with ASCII letters mapped from [from, from + 26) by `shift`;
// a lead byte is copied together with the byte after it.
Text ShiftLetters(const Text& text, char from, int shift) {
    Text result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (detail::IsLeadByte(result[i])) {
            ++i;
        } else if (result[i] >= from && result[i] < from + 26) {
            result[i] = static_cast<char>(result[i] + shift);
        }
    }
    return result;
}

}  // namespace

Text TrimSpaces(const Text& text) {
    std::size_t begin = 0;
    for (;;) {
        if (begin < text.size() && text[begin] == ' ') begin += 1;
        else if (IsWideSpaceAt(text, begin)) begin += 2;
        else break;
    }
    std::size_t end = text.size();
    for (;;) {
        if (end > begin && text[end - 1] == ' ') end -= 1;
        else if (end >= begin + 2 && text[end - 1] == kWideSpaceByte &&
                 text[end - 2] == kWideSpaceByte)
            end -= 2;
        else break;
    }
    return text.substr(begin, end - begin);
}

Text RemoveSpaces(const Text& text) {
    Text result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            i += 1;
        } else if (IsWideSpaceAt(text, i)) {
            i += 2;
        } else if (detail::IsLeadByte(text[i])) {
            result.append(text, i, 2);
            i += 2;
        } else {
            result.push_back(text[i]);
            i += 1;
        }
    }
    return result;
}

Text ToLowerText(const Text& text) { return ShiftLetters(text, 'A', 'a' - 'A'); }

Text ToUpperText(const Text& text) { return ShiftLetters(text, 'a', 'A' - 'a'); }

Text ReplaceSection(const Text& text, int start, int length, std::optional<Text> replacement) {
    if (text.empty()) return replacement.value_or(Text());
    if (start == 0) start = 1;
    if (start < 0 || static_cast<std::size_t>(start) > text.size() || length <= 0) return text;
    const std::size_t head = static_cast<std::size_t>(start - 1);
    const std::size_t tail = head + static_cast<std::size_t>(length);
    Text result = text.substr(0, head);
    if (replacement) result.append(*replacement);
    if (tail < text.size()) result.append(text, tail, Text::npos);
    return result;
}

}  // namespace rt
