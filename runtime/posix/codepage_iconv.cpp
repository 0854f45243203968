// Code-page conversion over iconv, with the replacement rules of the Windows
// converter: a byte sequence that does not decode becomes U+FFFD (UTF-8) or
// "?" (code page 936); a character with no form in the target becomes "?"
// (code page 936) or U+FFFD (UTF-8).
#include "runtime/codepage.h"

#include "runtime/utf8_to_cp936.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace rt {
namespace {

// One conversion descriptor, closed on scope exit.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts what it can of [in, in + inLeft) into `out`; returns false on
    // a stop (errno EILSEQ or EINVAL), leaving `in`/`inLeft` at the failing unit.
    bool Run(const char*& in, size_t& inLeft, std::string& out) {
        char buffer[8192];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            char* src = const_cast<char*>(in);
            size_t rc = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
            int err = errno;
            in = src;
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc != static_cast<size_t>(-1) || err == E2BIG) continue;
            errno = err;
            return false;
        }
        return true;
    }

    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

enum Direction { k936ToWide, kUtf8ToWide, kWideTo936, kWideToUtf8, k936ToUtf8, kDirections };

// Opening a descriptor costs more than converting a label, and a descriptor
// must not be shared between threads: each thread keeps its own, opened on
// first use.
Converter* ConverterFor(Direction direction) {
    static constexpr const char* kNames[kDirections][2] = {
        {"UTF-16LE", "CP936"}, {"UTF-16LE", "UTF-8"}, {"CP936", "UTF-16LE"},
        {"UTF-8", "UTF-16LE"}, {"UTF-8", "CP936"},
    };
    thread_local std::unique_ptr<Converter> converters[kDirections];
    auto& slot = converters[direction];
    if (!slot) slot = std::make_unique<Converter>(kNames[direction][0], kNames[direction][1]);
    if (!slot->Ok()) return nullptr;
    slot->Reset();
    return slot.get();
}

// Converts `text` in `direction`. At each stop iconv makes, `bad` is
// appended; a sequence cut off by the end (EINVAL) ends the conversion, any
// other stop skips the number of input bytes `skipLength` gives and goes on.
//
// iconv is fed a bounded window at a time: after a stop, glibc's multi-step
// converters redo work in proportion to the input handed to that call, so a
// long run of unconvertible characters would otherwise cost quadratic time.
template <typename SkipLength>
std::string ConvertReplacing(Direction direction, std::string_view text, std::string_view bad,
                             SkipLength skipLength) {
    constexpr size_t kWindow = 512;  // far longer than any one character
    if (text.empty()) return {};
    Converter* conv = ConverterFor(direction);
    if (conv == nullptr) return {};
    std::string result;
    result.reserve(text.size() * 2);
    const char* in = text.data();
    const char* const end = in + text.size();
    while (in < end) {
        size_t windowLeft = std::min<size_t>(static_cast<size_t>(end - in), kWindow);
        const bool lastWindow = in + windowLeft == end;
        if (conv->Run(in, windowLeft, result)) continue;
        if (errno == EINVAL) {
            // A character cut by the window goes whole into the next one.
            if (!lastWindow) continue;
            result.append(bad);
            break;
        }
        result.append(bad);
        const size_t n = skipLength(in, static_cast<size_t>(end - in));
        in += n;
        conv->Reset();
    }
    return result;
}

size_t OneByte(const char*, size_t) { return 1; }

}  // namespace

std::u16string MultiByteToWide(int codePage, std::string_view bytes) {
    if (codePage != kCodePage936 && codePage != kCodePageUtf8) return {};
    // An undecodable byte becomes U+FFFD (UTF-8) or "?" (code page 936).
    const std::string_view bad =
        codePage == kCodePageUtf8 ? std::string_view("\xFD\xFF", 2) : std::string_view("?\0", 2);
    const std::string raw =  // UTF-16LE bytes
        ConvertReplacing(codePage == kCodePageUtf8 ? kUtf8ToWide : k936ToWide, bytes, bad, OneByte);
    std::u16string result(raw.size() / 2, u'\0');
    std::memcpy(result.data(), raw.data(), result.size() * 2);  // little-endian host
    return result;
}

std::string WideToMultiByte(int codePage, std::u16string_view text) {
    if (codePage != kCodePage936 && codePage != kCodePageUtf8) return {};
    // A character without a form in the target or a lone surrogate: one
    // replacement, for both units of a surrogate pair.
    auto unitsToSkip = [](const char* in, size_t left) -> size_t {
        char16_t units[2] = {};
        std::memcpy(units, in, left >= 4 ? 4 : 2);
        const bool pair = left >= 4 && units[0] >= 0xD800 && units[0] < 0xDC00 &&
                          units[1] >= 0xDC00 && units[1] < 0xE000;
        return pair ? 4 : 2;
    };
    const std::string_view raw(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return ConvertReplacing(codePage == kCodePageUtf8 ? kWideToUtf8 : kWideTo936, raw,
                            codePage == kCodePageUtf8 ? "\xEF\xBF\xBD" : "?", unitsToSkip);
}

// Direct conversions, with the same results as going through UTF-16.

std::string Cp936ToUtf8(std::string_view text) {
    // ASCII reads the same in both, and most links, sizes and dates are
    // nothing else: iconv's table walk costs more than the rest of a hit.
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text);
    // Every code-page-936 character has a UTF-8 form, so a stop is a byte
    // that does not decode: "?", as MultiByteToWide gives.
    return ConvertReplacing(k936ToUtf8, text, "?", OneByte);
}

std::string Utf8ToCp936(std::string_view text) {
    std::string result(text.size(), '\0');
    result.resize(Utf8ToCp936Into(text, result.data()));
    return result;
}

}  // namespace rt
