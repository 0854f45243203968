#include "app/config/sites_config.h"

#include "runtime/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace app {

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// A comment starts with "#" at the start of a line or after a blank, so
// "site1 = http://host  # moved" sets site1.
std::string_view WithoutComment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || kBlanks.find(line[i - 1]) != std::string_view::npos))
            return line.substr(0, i);
    }
    return line;
}

bool IsSiteUrlKey(std::string_view key) {
    return key == "site1_hash" || (key.size() == 5 && key.starts_with("site") && key[4] >= '1' &&
                                   key[4] <= '0' + kSiteCount);
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

bool IsIpv6Char(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' ||
           c == '.';
}

// Why `url` is not http(s)://host[:port] (followed by a path and query when
// `tailAllowed`); empty when it is.
std::string UrlProblem(std::string_view url, bool tailAllowed) {
    for (const char c : url) {
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return "it contains a blank or control character";
        if (static_cast<unsigned char>(c) >= 0x80) return "it contains a non-ASCII character";
    }
    std::string_view rest;
    if (StartsWithNoCase(url, "http://")) rest = url.substr(7);
    else if (StartsWithNoCase(url, "https://")) rest = url.substr(8);
    else return "the scheme is not http:// or https://";

    const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    const std::string_view authority = rest.substr(0, authorityEnd);
    const std::string_view tail = rest.substr(authorityEnd);
    if (authority.find('@') != std::string_view::npos) return "user names are not supported";

    std::string_view host;
    std::string_view afterHost;
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return "the IPv6 address has no closing ']'";
        host = authority.substr(1, close - 1);
        for (const char c : host)
            if (!IsIpv6Char(c)) return "the IPv6 address is malformed";
        afterHost = authority.substr(close + 1);
        if (!afterHost.empty() && !afterHost.starts_with(':'))
            return "the IPv6 address is malformed";
    } else {
        const std::size_t colon = authority.find(':');
        host = authority.substr(0, colon);
        for (const char c : host)
            if (!IsHostChar(c))
                return "the host name has a character other than letters, digits, '.', '-' and '_'";
        if (colon != std::string_view::npos) afterHost = authority.substr(colon);
    }
    if (host.empty()) return "there is no host";
    if (!afterHost.empty()) {
        const std::string_view port = afterHost.substr(1);
        long value = 0;
        for (const char c : port) {
            if (c < '0' || c > '9' || value > 65535)
                return "the port is not a number from 1 to 65535";
            value = value * 10 + (c - '0');
        }
        if (port.empty() || value < 1 || value > 65535)
            return "the port is not a number from 1 to 65535";
    }
    if (!tailAllowed && !tail.empty()) return "it has a path";
    if (tail.starts_with('#')) return "it has a fragment";
    return {};
}

// The tag as a Text, or why it cannot be one.
std::string TagProblem(std::string_view tag, rt::Text& out) {
    for (const char c : tag)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "it contains a control character";
    const std::u16string wide = rt::MultiByteToWide(rt::kCodePageUtf8, tag);
    if (wide.find(u'\uFFFD') != std::u16string::npos) return "it is not valid UTF-8";
    out = rt::WideToMultiByte(rt::kCodePage936, wide);
    if (rt::MultiByteToWide(rt::kCodePage936, out) != wide)
        return "it has characters that code page 936 cannot hold";
    return {};
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

}  // namespace

const std::vector<std::string>& SitesConfigKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (int i = 1; i <= kSiteCount; ++i) k.push_back("site" + std::to_string(i));
        k.insert(k.end(), {"site1_hash", "site7_tag", "portal"});
        return k;
    }();
    return keys;
}

SitesConfig ParseSitesConfig(std::string_view text, std::string_view fileName) {
    SitesConfig config;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    int lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        const std::string_view line = Trim(WithoutComment(raw));
        if (line.empty()) continue;

        auto complain = [&](const std::string& what) {
            config.problems.push_back("seeker: " + std::string(fileName) + ":" +
                                      std::to_string(lineNumber) + ": " + what + "; line ignored");
        };
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            complain("expected \"key = value\", found " + Quoted(line));
            continue;
        }
        const std::string key(Trim(line.substr(0, eq)));
        const std::string_view value = Trim(line.substr(eq + 1));
        const auto& keys = SitesConfigKeys();
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            complain("unknown key " + Quoted(key) +
                     " (known: site1 to site8, site1_hash, site7_tag, portal)");
            continue;
        }
        if (value.empty()) {
            complain(key + " has no value");
            continue;
        }
        if (key == "site7_tag") {
            rt::Text tag;
            if (const std::string why = TagProblem(value, tag); !why.empty()) {
                complain("site7_tag " + Quoted(value) + ": " + why);
                continue;
            }
            config.values[key] = tag;
            continue;
        }
        const bool isPortal = key == "portal";
        if (const std::string why = UrlProblem(value, isPortal); !why.empty()) {
            complain(key + " " + Quoted(value) + " is not " +
                     (isPortal ? "http(s)://host[:port][/path]"
                               : "http(s)://host[:port] without a path") +
                     ": " + why);
            continue;
        }
        config.values[key] = std::string(value);
    }
    return config;
}

SiteTable ApplySitesConfig(const SiteTable& defaults, const SitesConfig& config) {
    SiteTable table = defaults;
    for (const auto& [key, value] : config.values) {
        if (key == "site1_hash") table.site1HashUrl = value;
        else if (key == "site7_tag") table.site7Tag = value;
        else if (key == "portal") table.portalUrl = value;
        else if (IsSiteUrlKey(key)) table.baseUrls.at(key[4] - '1') = value;
    }
    return table;
}

std::string FormatSitesConfig(const SiteTable& table) {
    std::string text =
        "# Sites searched by seeker: key = value, one a line; \"#\" starts a comment.\n"
        "# site1 to site8 are http(s)://host[:port] without a path.\n";
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        text += "site" + std::to_string(site) + " = " + table.BaseUrl(site) + "\n";
    text += "site1_hash = " + table.site1HashUrl + "\n";
    text += "site7_tag = " + rt::Cp936ToUtf8(table.site7Tag) + "\n";
    text += "portal = " + table.portalUrl + "\n";
    return text;
}

std::string DefaultSitesConfigPath() {
    // Relative values of XDG_CONFIG_HOME are invalid and ignored, as the base
    // directory rules ask.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/seeker/sites.conf";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::string(home) + "/.config/seeker/sites.conf";
    return {};
}

SiteTable LoadSiteTable(const SiteTable& defaults, const std::string& path, bool named,
                        std::FILE* errors) {
    if (path.empty()) return defaults;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    std::string text;
    int error = file ? 0 : errno;
    if (file) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, n);
        if (std::ferror(file.get())) error = errno ? errno : EIO;
    }
    if (error != 0) {
        if (named || error != ENOENT)
            std::fprintf(errors, "seeker: cannot read %s: %s; using the built-in sites\n",
                         path.c_str(), std::strerror(error));
        return defaults;
    }
    const SitesConfig config = ParseSitesConfig(text, path);
    for (const std::string& problem : config.problems)
        std::fprintf(errors, "%s\n", problem.c_str());
    return ApplySitesConfig(defaults, config);
}

}  // namespace app
