#include "web/utf8_to_cp936.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace web {
namespace {

class Iconv {
public:
    Iconv() : cd_(iconv_open("CP936", "UTF-8")) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 when it is
// not one (bad lead byte, bad continuation, overlong form, surrogate, beyond
// U+10FFFF, or cut off).
std::size_t SequenceLength(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = b(0);
    std::size_t n;
    std::uint8_t lo = 0x80, hi = 0xBF;  // range of the first continuation byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < n || b(1) < lo || b(1) > hi) return 0;
    for (std::size_t i = 2; i < n; ++i) {
        if (b(i) < 0x80 || b(i) > 0xBF) return 0;
    }
    return n;
}

}  // namespace

std::string Utf8ToCp936Bytes(std::string_view utf8) {
    std::string out;
    if (utf8.empty()) return out;
    Iconv conv;
    if (!conv.ok()) return out;
    // Code page 936 never needs more bytes than UTF-8 for one character.
    out.resize(utf8.size() + 16);
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    while (inLeft > 0) {
        if (iconv(conv.get(), &in, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
        const int err = errno;
        if (err == E2BIG) {
            const std::size_t used = out.size() - dstLeft;
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
            continue;
        }
        if (dstLeft == 0) {
            const std::size_t used = out.size();
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
        }
        *dst++ = '?';
        --dstLeft;
        if (err == EINVAL) break;  // cut off by the end: one replacement, then the end
        // A well-formed character without a code-page-936 form is skipped whole;
        // an undecodable byte alone.
        const std::size_t n = SequenceLength(std::string_view(in, inLeft));
        const std::size_t skip = n == 0 ? 1 : n;
        in += skip;
        inLeft -= skip;
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace web
