// Code-page conversion over iconv, with the replacement rules of the Windows
// converter: a byte sequence that does not decode becomes U+FFFD (UTF-8) or
// "?" (code page 936); a character with no form in the target becomes "?"
// (code page 936) or U+FFFD (UTF-8).
#include "runtime/codepage.h"

#include <iconv.h>

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
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

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

enum Direction { k936ToWide, kUtf8ToWide, kWideTo936, kWideToUtf8, k936ToUtf8, kUtf8To936, kDirections };

// Opening a descriptor costs more than converting a label, and a descriptor
// must not be shared between threads: each thread keeps its own, opened on
// first use.
Converter* ConverterFor(Direction direction) {
    static constexpr const char* names[kDirections][2] = {
        {"UTF-16LE", "CP936"}, {"UTF-16LE", "UTF-8"}, {"CP936", "UTF-16LE"},
        {"UTF-8", "UTF-16LE"}, {"UTF-8", "CP936"},    {"CP936", "UTF-8"},
    };
    thread_local std::unique_ptr<Converter> converters[kDirections];
    auto& slot = converters[direction];
    if (!slot) slot = std::make_unique<Converter>(names[direction][0], names[direction][1]);
    if (!slot->ok()) return nullptr;
    slot->Reset();
    return slot.get();
}

void AppendUnit(std::string& out, char16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0.
size_t Utf8SequenceLength(const unsigned char* s, size_t left) {
    const unsigned char c = s[0];
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF;  // bounds of the second byte
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (left < n || s[1] < lo || s[1] > hi) return 0;
    for (size_t i = 2; i < n; ++i) {
        if (s[i] < 0x80 || s[i] > 0xBF) return 0;
    }
    return n;
}

}  // namespace

std::u16string MultiByteToWide(int codePage, std::string_view bytes) {
    if ((codePage != kCodePage936 && codePage != kCodePageUtf8) || bytes.empty()) return {};
    Converter* conv = ConverterFor(codePage == kCodePageUtf8 ? kUtf8ToWide : k936ToWide);
    if (conv == nullptr) return {};
    const char16_t bad = codePage == kCodePageUtf8 ? u'\uFFFD' : u'?';

    std::string raw;  // UTF-16LE bytes
    raw.reserve(bytes.size() * 2);
    const char* in = bytes.data();
    size_t left = bytes.size();
    while (!conv->Run(in, left, raw)) {
        // A sequence cut off by the end (EINVAL) is one bad character; an
        // undecodable byte (EILSEQ) is replaced and the scan goes on after it.
        const bool cutOff = errno == EINVAL;
        AppendUnit(raw, bad);
        if (cutOff) break;
        ++in;
        --left;
        conv->Reset();
    }
    std::u16string result(raw.size() / 2, u'\0');
    std::memcpy(result.data(), raw.data(), result.size() * 2);  // little-endian host
    return result;
}

std::string WideToMultiByte(int codePage, std::u16string_view text) {
    if ((codePage != kCodePage936 && codePage != kCodePageUtf8) || text.empty()) return {};
    Converter* conv = ConverterFor(codePage == kCodePageUtf8 ? kWideToUtf8 : kWideTo936);
    if (conv == nullptr) return {};
    const char* bad = codePage == kCodePageUtf8 ? "\xEF\xBF\xBD" : "?";

    const char* raw = reinterpret_cast<const char*>(text.data());
    std::string result;
    result.reserve(text.size() * 2);
    const char* in = raw;
    size_t left = text.size() * 2;
    while (!conv->Run(in, left, result)) {
        // A character without a form in the target (EILSEQ), a lone
        // surrogate (EILSEQ) or a high surrogate at the end (EINVAL).
        size_t unitIndex = static_cast<size_t>(in - raw) / 2;
        size_t skip = 1;
        char16_t unit = text[unitIndex];
        if (unit >= 0xD800 && unit < 0xDC00 && unitIndex + 1 < text.size() &&
            text[unitIndex + 1] >= 0xDC00 && text[unitIndex + 1] < 0xE000) {
            skip = 2;
        }
        result.append(bad);
        in += 2 * skip;
        left -= 2 * skip;
        conv->Reset();
    }
    return result;
}

// Direct conversions, with the same results as going through UTF-16.

std::string Cp936ToUtf8(std::string_view text) {
    if (text.empty()) return {};
    Converter* conv = ConverterFor(k936ToUtf8);
    if (conv == nullptr) return {};
    std::string result;
    result.reserve(text.size() + text.size() / 2);
    const char* in = text.data();
    size_t left = text.size();
    // Every code-page-936 character has a UTF-8 form, so a stop is a byte
    // that does not decode: "?" (what MultiByteToWide gives) for each.
    while (!conv->Run(in, left, result)) {
        const bool cutOff = errno == EINVAL;
        result.push_back('?');
        if (cutOff) break;
        ++in;
        --left;
        conv->Reset();
    }
    return result;
}

std::string Utf8ToCp936(std::string_view text) {
    if (text.empty()) return {};
    Converter* conv = ConverterFor(kUtf8To936);
    if (conv == nullptr) return {};
    std::string result;
    result.reserve(text.size());
    const char* in = text.data();
    size_t left = text.size();
    while (!conv->Run(in, left, result)) {
        // Either a well-formed character without a code-page-936 form (one "?"
        // for all its bytes) or bytes that do not decode (U+FFFD, which has no
        // form either: "?" for the byte, or once for a sequence cut off by the end).
        const bool cutOff = errno == EINVAL;
        result.push_back('?');
        if (cutOff) break;
        size_t n = Utf8SequenceLength(reinterpret_cast<const unsigned char*>(in), left);
        if (n == 0) n = 1;
        in += n;
        left -= n;
        conv->Reset();
    }
    return result;
}

}  // namespace rt
