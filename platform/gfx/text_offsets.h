// Code-page-936 texts handed to a text engine in its own encoding, with the
// place in the converted string of every byte boundary of the original
// (internal to the drawing layer: measuring and caret positions speak in
// bytes of the original).
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace gfx {

// Length in bytes of the code-page-936 character starting at `i`.
inline std::size_t Cp936CharLength(const rt::Text& text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0x81 && lead <= 0xFE && i + 1 < text.size()) {
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) return 2;
    }
    return 1;
}

template <typename String>
struct MappedText {
    String text;
    std::vector<int> offsets;  // byte offset of the original -> index in `text`
};

// `convert` turns a piece of code-page-936 text into the engine's string;
// `unitsAt(s, i)` is the number of code units of the character at `i` in such
// a string.
template <typename String, typename Convert, typename UnitsAt>
MappedText<String> MapCharacters(const rt::Text& text, Convert convert, UnitsAt unitsAt) {
    MappedText<String> out;
    out.offsets.assign(text.size() + 1, 0);
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += Cp936CharLength(text, i)) starts.push_back(i);
    auto charEnd = [&](std::size_t k) {
        return k + 1 < starts.size() ? starts[k + 1] : text.size();
    };
    // One conversion of the whole text; each character gives one code point
    // when the text is well formed, which lets the offsets be walked in step.
    String whole = convert(std::string_view(text));
    std::size_t points = 0;
    for (std::size_t j = 0; j < whole.size(); j += unitsAt(whole, j)) ++points;
    if (points == starts.size()) {
        out.text = std::move(whole);
        std::size_t u = 0;
        for (std::size_t k = 0; k < starts.size(); ++k) {
            for (std::size_t b = starts[k]; b < charEnd(k); ++b)
                out.offsets[b] = static_cast<int>(u);
            u = std::min(out.text.size(), u + unitsAt(out.text, u));
        }
    } else {
        // Malformed bytes: convert character by character to keep the offsets.
        for (std::size_t k = 0; k < starts.size(); ++k) {
            for (std::size_t b = starts[k]; b < charEnd(k); ++b)
                out.offsets[b] = static_cast<int>(out.text.size());
            out.text += convert(std::string_view(text).substr(starts[k], charEnd(k) - starts[k]));
        }
    }
    out.offsets[text.size()] = static_cast<int>(out.text.size());
    return out;
}

// Removes the code units of `in` not flagged in `keep`, composing the offsets.
template <typename String>
MappedText<String> Filter(const MappedText<String>& in, const std::vector<bool>& keep) {
    MappedText<String> out;
    std::vector<int> newIndex(in.text.size() + 1);
    for (std::size_t i = 0; i < in.text.size(); ++i) {
        newIndex[i] = static_cast<int>(out.text.size());
        if (keep[i]) out.text.push_back(in.text[i]);
    }
    newIndex[in.text.size()] = static_cast<int>(out.text.size());
    out.offsets.reserve(in.offsets.size());
    for (int u : in.offsets) out.offsets.push_back(newIndex[static_cast<std::size_t>(u)]);
    return out;
}

// Drops the spaces at the end of every line: they take no room unless the
// format says they do.
template <typename String>
void StripTrailingSpaces(MappedText<String>& text) {
    std::vector<bool> keep(text.text.size(), true);
    std::size_t end = text.text.size();
    for (std::size_t i = text.text.size(); i-- > 0;) {
        const auto c = text.text[i];
        if (c == '\n' || c == '\r') {
            end = i;
            continue;
        }
        if (c == ' ' && i + 1 == end) {
            keep[i] = false;
            end = i;
        }
    }
    text = Filter(text, keep);
}

}  // namespace gfx
