#include "runtime/utf8_to_cp936.h"

#include "runtime/codepage.h"
#include "runtime/kept.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace rt {
namespace {

constexpr std::uint16_t kUnmapped = 0xFFFF;     // not a code-page-936 code
constexpr std::uint16_t kNotLookedUp = 0xFFFE;  // no code page 936 code either

// The code-page-936 code of a character U+0000..U+FFFF as the converter
// gives it: one byte below 0x100, else lead byte << 8 | trail byte.
std::uint16_t LookUp(std::uint32_t cp) {
    if (cp >= 0xD800 && cp < 0xE000) return kUnmapped;  // surrogates are no characters
    const std::string out =
        WideToMultiByte(kCodePage936, std::u16string(1, static_cast<char16_t>(cp)));
    if (out == "?" && cp != u'?') return kUnmapped;  // no code-page-936 form
    if (out.size() == 1) return static_cast<std::uint8_t>(out[0]);
    if (out.size() == 2) {
        return static_cast<std::uint16_t>(static_cast<std::uint8_t>(out[0]) << 8 |
                                          static_cast<std::uint8_t>(out[1]));
    }
    return kUnmapped;
}

// The converter's answer for every character of the basic plane, each asked
// the first time a text holds it: a page uses a few thousand characters at
// most, so no program pays for the 65,536 it never meets. Threads that meet
// a character at once both ask and store the same answer.
class Cp936Table {
public:
    Cp936Table() : codes_(std::make_unique<std::atomic<std::uint16_t>[]>(0x10000)) {
        for (std::size_t cp = 0; cp < 0x10000; ++cp)
            codes_[cp].store(kNotLookedUp, std::memory_order_relaxed);
    }
    std::uint16_t operator[](std::uint32_t cp) const {
        std::uint16_t code = codes_[cp].load(std::memory_order_relaxed);
        if (code == kNotLookedUp) {
            code = LookUp(cp);
            codes_[cp].store(code, std::memory_order_relaxed);
        }
        return code;
    }

private:
    std::unique_ptr<std::atomic<std::uint16_t>[]> codes_;
};

// Kept for the life of the process: a worker may convert a page while the
// process exits.
const Cp936Table& Table() {
    static Kept<Cp936Table> table;
    return table.get();
}

// What stands at the start of a UTF-8 text: a well-formed character of
// `length` bytes, or a bad byte (length 0); `cutOff` when the text ends
// within what its lead byte announces and every byte after the lead is a
// continuation byte. That is the converter's "incomplete input": it does not
// look at overlong forms or at the range there, and it knows the obsolete
// five- and six-byte leads.
struct Sequence {
    std::size_t length = 0;
    std::uint32_t cp = 0;
    bool cutOff = false;
};

bool IsContinuation(std::uint8_t c) { return c >= 0x80 && c <= 0xBF; }

Sequence Decode(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = b(0);
    const std::size_t announced = lead >= 0xFC   ? 6
                                  : lead >= 0xF8 ? 5
                                  : lead >= 0xF0 ? 4
                                  : lead >= 0xE0 ? 3
                                  : lead >= 0xC2 ? 2
                                                 : 0;
    if (announced == 0 || lead >= 0xFE) return {};
    if (s.size() < announced) {
        for (std::size_t i = 1; i < s.size(); ++i) {
            if (!IsContinuation(b(i))) return {};
        }
        return {0, 0, true};
    }
    if (announced > 4) return {};
    std::uint8_t lo = 0x80, hi = 0xBF;  // range of the first continuation byte
    if (lead == 0xE0) lo = 0xA0;        // no overlong forms
    if (lead == 0xED) hi = 0x9F;        // no surrogates
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;  // nothing beyond U+10FFFF
    if (lead > 0xF4 || b(1) < lo || b(1) > hi) return {};
    std::uint32_t cp = lead & (0x7F >> announced);
    for (std::size_t i = 1; i < announced; ++i) {
        if (!IsContinuation(b(i))) return {};
        cp = cp << 6 | (b(i) & 0x3F);
    }
    return {announced, cp, false};
}

}  // namespace

std::size_t Utf8ToCp936Into(std::string_view utf8, char* out) {
    const Cp936Table& table = Table();
    char* const start = out;
    const char* const data = utf8.data();
    const std::size_t size = utf8.size();
    std::size_t i = 0;
    while (i < size) {
        // ASCII, most of a page, goes eight bytes at a time.
        std::uint64_t word;
        if (i + 8 <= size && (std::memcpy(&word, data + i, 8), (word & 0x8080808080808080u) == 0)) {
            std::memcpy(out, data + i, 8);
            out += 8;
            i += 8;
            continue;
        }
        const auto lead = static_cast<std::uint8_t>(data[i]);
        if (lead < 0x80) {
            *out++ = static_cast<char>(lead);
            ++i;
            continue;
        }
        const Sequence seq = Decode(utf8.substr(i));
        if (seq.length == 0) {
            *out++ = '?';
            if (seq.cutOff) break;  // one replacement for the cut-off end
            ++i;
            continue;
        }
        if (seq.cp < 0x10000) {
            const std::uint16_t code = table[seq.cp];
            if (code == kUnmapped) {
                *out++ = '?';
            } else if (code < 0x100) {
                *out++ = static_cast<char>(code);
            } else {
                *out++ = static_cast<char>(code >> 8);
                *out++ = static_cast<char>(code & 0xFF);
            }
        } else {
            // Beyond U+FFFF: rare enough to take the converter's way.
            const std::string bytes = WideToMultiByte(
                kCodePage936, MultiByteToWide(kCodePageUtf8, utf8.substr(i, seq.length)));
            std::memcpy(out, bytes.data(), std::min(bytes.size(), seq.length));
            out += std::min(bytes.size(), seq.length);
        }
        i += seq.length;
    }
    return static_cast<std::size_t>(out - start);
}

}  // namespace rt
