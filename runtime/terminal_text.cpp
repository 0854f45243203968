#include "runtime/terminal_text.h"

#include <cstdio>

namespace rt {

long DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    long value = 0;
    long least = 0;  // the smallest code point a sequence of this length may carry
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        ++at;
        return -1;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) {
        ++at;
        return -1;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return -1;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++at;
        return -1;
    }
    at += length;
    return value;
}

bool IsControlCharacter(long codePoint) {
    return (codePoint >= 0 && codePoint < 0x20) || (codePoint >= 0x7F && codePoint <= 0x9F);
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const long c = DecodeUtf8(text, at);
        if (c != -1 && !IsControlCharacter(c)) {
            out.append(text.substr(start, at - start));
            continue;
        }
        char escaped[24];
        if (c >= 0x80) {
            std::snprintf(escaped, sizeof escaped, "\\u%04lX", c);
        } else {
            std::snprintf(escaped, sizeof escaped, "\\x%02X",
                          static_cast<unsigned>(static_cast<unsigned char>(text[start])));
        }
        out += escaped;
    }
    return out;
}

}  // namespace rt
