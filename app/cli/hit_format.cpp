#include "app/cli/hit_format.h"

#include "app/sites/site_rules.h"
#include "runtime/codepage.h"
#include "runtime/terminal_text.h"

#include <cstdio>

namespace app::cli {

namespace {

// Control characters (C0, DEL, C1) become a space in a field of a line and
// an escape in a JSON string, so no page can drive the terminal.
std::string TsvField(const rt::Text& text) {
    const std::string utf8 = rt::Cp936ToUtf8(text);
    std::string field;
    field.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        // A run of printable ASCII goes in whole.
        std::size_t end = at;
        while (end < utf8.size() && utf8[end] >= 0x20 && utf8[end] < 0x7F) ++end;
        field.append(utf8, at, end - at);
        if (end == utf8.size()) break;
        at = end;
        const long c = rt::DecodeUtf8(utf8, at);
        if (c == -1 || rt::IsControlCharacter(c)) field += ' ';
        else field.append(utf8, end, at - end);
    }
    return field;
}

std::string JsonString(const rt::Text& text) {
    const std::string utf8 = rt::Cp936ToUtf8(text);
    std::string out = "\"";
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const long c = rt::DecodeUtf8(utf8, at);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c == -1 || rt::IsControlCharacter(c)) {
                char escaped[24];
                std::snprintf(escaped, sizeof escaped, "\\u%04lx", c == -1 ? 0xFFFDL : c);
                out += escaped;
            } else {
                out.append(utf8, start, at - start);
            }
        }
    }
    return out + "\"";
}

}  // namespace

std::string FormatHit(Format format, int number, SiteId site, const Hit& hit) {
    if (format == Format::Tsv) {
        return std::to_string(number) + "\t" + TsvField(hit.title) + "\t" + TsvField(hit.size) +
               "\t" + TsvField(hit.date) + "\t" + TsvField(SiteLabel(site)) + "\t" +
               TsvField(hit.link) + "\n";
    }
    return "{\"number\":" + std::to_string(number) + ",\"title\":" + JsonString(hit.title) +
           ",\"size\":" + JsonString(hit.size) + ",\"date\":" + JsonString(hit.date) +
           ",\"site\":" + JsonString(SiteLabel(site)) + ",\"site_id\":" + std::to_string(site) +
           ",\"link\":" + JsonString(hit.link) + "}\n";
}

}  // namespace app::cli
