#include "app/scraping/page_body.h"

#include "web/encoding.h"
#include "web/request.h"

namespace app {

bool BodyDeclaresUtf8(std::string_view body) {
    return web::LooksLikeUtf8(rt::ByteBuffer(body.begin(), body.end()), rt::Text());
}

rt::Text PageTextFromBody(std::string_view body, bool forceUtf8) {
    const rt::ByteBuffer bytes(body.begin(), body.end());
    const bool utf8 = forceUtf8 || web::LooksLikeUtf8(bytes, rt::Text());
    return rt::ToText(utf8 ? web::Utf8BytesToAnsi(bytes) : bytes);  // up to the first zero byte
}

}  // namespace app
