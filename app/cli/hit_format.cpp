#include "app/cli/hit_format.h"

#include "app/sites/site_rules.h"
#include "runtime/codepage.h"

#include <cstdio>

namespace app::cli {

namespace {

std::string TsvField(const rt::Text& text) {
    std::string field = rt::Cp936ToUtf8(text);
    for (char& c : field)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return field;
}

std::string JsonString(const rt::Text& text) {
    std::string out = "\"";
    for (const char c : rt::Cp936ToUtf8(text)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

}  // namespace

std::string FormatHit(Format format, int number, SiteId site, const Hit& hit) {
    if (format == Format::kTsv) {
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
