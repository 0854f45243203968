#include "app/scraping/url_text.h"

#include "runtime/codepage.h"

namespace app {

rt::Text EncodeForUrl(const rt::Text& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string utf8 = rt::Cp936ToUtf8(text.substr(0, text.find('\0')));
    rt::Text encoded;
    encoded.reserve(utf8.size() * 3);
    for (const unsigned char byte : utf8) {
        if (byte == 0) break;
        encoded += '%';
        encoded += kHex[byte >> 4];
        encoded += kHex[byte & 0x0F];
    }
    return encoded;
}

}  // namespace app
