#include "app/scraping/url_text.h"

#include "web/encoding.h"

namespace app {

rt::Text EncodeForUrl(const rt::Text& text) { return web::UrlEncode(web::AnsiToUtf8Text(text)); }

}  // namespace app
