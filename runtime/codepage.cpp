// Code-page conversion over iconv, with the replacement rules of the Windows
// converter: a byte sequence that does not decode becomes U+FFFD (UTF-8) or
// "?" (code page 936); a character with no form in the target becomes "?"
// (code page 936) or U+FFFD (UTF-8).
#include "runtime/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

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
        char buffer[4096];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            char* src = const_cast<char*>(in);
            size_t rc = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
            int err = errno;
            in = src;
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc != static_cast<size_t>(-1)) continue;
            if (err == E2BIG) continue;
            errno = err;
            return false;
        }
        return true;
    }

    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

const char* IconvName(int codePage) {
    switch (codePage) {
        case kCodePage936: return "CP936";
        case kCodePageUtf8: return "UTF-8";
        default: return nullptr;
    }
}

void AppendUnit(std::string& out, char16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

}  // namespace

std::u16string MultiByteToWide(int codePage, std::string_view bytes) {
    const char* from = IconvName(codePage);
    if (from == nullptr || bytes.empty()) return {};
    Converter conv("UTF-16LE", from);
    if (!conv.ok()) return {};
    const char16_t bad = codePage == kCodePageUtf8 ? u'\uFFFD' : u'?';

    std::string raw;  // UTF-16LE bytes
    raw.reserve(bytes.size() * 2);
    const char* in = bytes.data();
    size_t left = bytes.size();
    while (!conv.Run(in, left, raw)) {
        // A sequence cut off by the end (EINVAL) is one bad character; an
        // undecodable byte (EILSEQ) is replaced and the scan goes on after it.
        const bool cutOff = errno == EINVAL;
        AppendUnit(raw, bad);
        if (cutOff) break;
        ++in;
        --left;
        conv.Reset();
    }
    std::u16string result(raw.size() / 2, u'\0');
    for (size_t i = 0; i < result.size(); ++i) {
        result[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                          (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    }
    return result;
}

std::string WideToMultiByte(int codePage, std::u16string_view text) {
    const char* to = IconvName(codePage);
    if (to == nullptr || text.empty()) return {};
    Converter conv(to, "UTF-16LE");
    if (!conv.ok()) return {};
    const char* bad = codePage == kCodePageUtf8 ? "\xEF\xBF\xBD" : "?";

    std::string raw;
    raw.reserve(text.size() * 2);
    for (char16_t unit : text) AppendUnit(raw, unit);

    std::string result;
    result.reserve(text.size() * 2);
    const char* in = raw.data();
    size_t left = raw.size();
    while (!conv.Run(in, left, result)) {
        // A character without a form in the target (EILSEQ), a lone
        // surrogate (EILSEQ) or a high surrogate at the end (EINVAL).
        size_t unitIndex = static_cast<size_t>(in - raw.data()) / 2;
        size_t skip = 1;
        char16_t unit = text[unitIndex];
        if (unit >= 0xD800 && unit < 0xDC00 && unitIndex + 1 < text.size() &&
            text[unitIndex + 1] >= 0xDC00 && text[unitIndex + 1] < 0xE000) {
            skip = 2;
        }
        result.append(bad);
        in += 2 * skip;
        left -= 2 * skip;
        conv.Reset();
    }
    return result;
}

std::string Cp936ToUtf8(std::string_view text) {
    return WideToMultiByte(kCodePageUtf8, MultiByteToWide(kCodePage936, text));
}

std::string Utf8ToCp936(std::string_view text) {
    return WideToMultiByte(kCodePage936, MultiByteToWide(kCodePageUtf8, text));
}

}  // namespace rt
