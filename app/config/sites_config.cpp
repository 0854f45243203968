#include "app/config/sites_config.h"

#include "runtime/codepage.h"
#include "runtime/terminal_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

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

// A value of the file as a message quotes it: escaped, and cut after 80
// bytes (on a character's first byte) so a huge line cannot flood the
// terminal.
std::string Quoted(std::string_view s) {
    constexpr std::size_t kShown = 80;
    if (s.size() <= kShown) return "\"" + rt::EscapeControls(s) + "\"";
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
    return "\"" + rt::EscapeControls(s.substr(0, cut)) + "\"...";
}

}  // namespace

const std::vector<std::string>& SitesConfigKeys() {
    static const std::vector<std::string> kKeys = [] {
        std::vector<std::string> k;
        for (int i = 1; i <= kSiteCount; ++i) k.push_back("site" + std::to_string(i));
        k.insert(k.end(), {"site1_hash", "site7_tag", "portal", "parallel"});
        return k;
    }();
    return kKeys;
}

SitesConfig ParseSitesConfig(std::string_view text, std::string_view fileName) {
    SitesConfig config;
    const std::string shownName = rt::EscapeControls(fileName);
    auto report = [&](int line, const std::string& what) {
        if (static_cast<int>(config.problems.size()) >= kShownProblems) {
            ++config.moreProblems;
            return;
        }
        config.problems.push_back("seeker: " + shownName + ":" +
                                  (line > 0 ? std::to_string(line) + ": " : " ") + what);
    };
    std::map<std::string, int> setOn;  // the line each key was last set on
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
            report(lineNumber, what + "; line ignored");
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
                     " (known: site1 to site8, site1_hash, site7_tag, portal, parallel)");
            continue;
        }
        if (value.empty()) {
            complain(key + " has no value");
            continue;
        }
        rt::Text usable;
        if (key == "parallel") {
            if (value != "on" && value != "off") {
                complain("parallel " + Quoted(value) + " is not on or off");
                continue;
            }
            usable = std::string(value);
        } else if (key == "site7_tag") {
            if (const std::string why = TagProblem(value, usable); !why.empty()) {
                complain("site7_tag " + Quoted(value) + ": " + why);
                continue;
            }
        } else {
            const bool isPortal = key == "portal";
            if (const std::string why = UrlProblem(value, isPortal); !why.empty()) {
                complain(key + " " + Quoted(value) + " is not " +
                         (isPortal ? "http(s)://host[:port][/path]"
                                   : "http(s)://host[:port] without a path") +
                         ": " + why);
                continue;
            }
            usable = std::string(value);
        }
        if (const auto before = setOn.find(key); before != setOn.end()) {
            report(lineNumber, key + " was already set on line " + std::to_string(before->second) +
                                   "; this later value is used");
        }
        setOn[key] = lineNumber;
        config.values[key] = usable;
    }
    if (setOn.contains("site1") && !setOn.contains("site1_hash")) {
        report(setOn["site1"],
               "site1 is set but site1_hash is not, so site 1's hash links are still looked for "
               "under the built-in address; set site1_hash too (usually to the same address)");
    }
    return config;
}

SiteTable ApplySitesConfig(const SiteTable& defaults, const SitesConfig& config) {
    SiteTable table = defaults;
    for (const auto& [key, value] : config.values) {
        if (key == "site1_hash") table.site1HashUrl = value;
        else if (key == "site7_tag") table.site7Tag = value;
        else if (key == "portal") table.portalUrl = value;
        else if (key == "parallel") table.parallel = value == "on";
        else if (IsSiteUrlKey(key)) table.baseUrls.at(key[4] - '1') = value;
    }
    return table;
}

std::string FormatSitesConfig(const SiteTable& table) {
    std::string text =
        "# Sites searched by seeker: key = value, one a line; \"#\" starts a comment.\n"
        "# site1 to site8 are http(s)://host[:port] without a path; parallel = on reads\n"
        "# the ticked sites at once, each site's pages still one after another.\n";
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        text += "site" + std::to_string(site) + " = " + table.BaseUrl(site) + "\n";
    text += "site1_hash = " + table.site1HashUrl + "\n";
    text += "site7_tag = " + rt::Cp936ToUtf8(table.site7Tag) + "\n";
    text += "portal = " + table.portalUrl + "\n";
    text += std::string("parallel = ") + (table.parallel ? "on" : "off") + "\n";
    return text;
}

SitesFile LoadSitesFile(const SiteTable& defaults, const std::string& path, bool named) {
    SitesFile result;
    result.table = defaults;
    const std::string shownPath = rt::EscapeControls(path);
    auto unreadable = [&](const std::string& why) {
        result.unreadable = true;
        result.problems.push_back("seeker: cannot read " + shownPath + ": " + why +
                                  (named ? "" : "; using the built-in sites"));
        return result;
    };
    if (path.empty()) return result;

    // The type is asked first: opening a FIFO would wait for a writer.
    std::error_code error;
    const std::filesystem::path systemPath = SystemPath(path);
    const std::filesystem::file_status status = std::filesystem::status(systemPath, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        if (!named) return result;  // no file is the usual case
        return unreadable(std::make_error_code(std::errc::no_such_file_or_directory).message());
    }
    if (error) return unreadable(error.message());
    if (status.type() != std::filesystem::file_type::regular) {
        return unreadable(status.type() == std::filesystem::file_type::directory
                              ? "it is a directory"
                              : "it is not a regular file");
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(systemPath),
                                                               &std::fclose);
    if (!file) return unreadable(std::strerror(errno));
    std::string text(kMaxSitesFileBytes + 1, '\0');
    // One byte more than the limit tells a file that is too large.
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    if (std::ferror(file.get())) return unreadable(std::strerror(errno ? errno : EIO));
    if (text.size() > kMaxSitesFileBytes) return unreadable("it is larger than 1 MiB");

    const SitesConfig config = ParseSitesConfig(text, path);
    result.table = ApplySitesConfig(defaults, config);
    result.problems = config.problems;
    if (config.moreProblems > 0) {
        result.problems.push_back("seeker: " + shownPath + ": " +
                                  std::to_string(config.moreProblems) + " more problem" +
                                  (config.moreProblems > 1 ? "s" : "") + " not shown");
    }
    return result;
}

rt::Text SitesFileNotice(const std::vector<std::string>& problems) {
    if (problems.empty()) return {};
    rt::Text notice = "站点配置文件有问题：";
    for (std::string_view line : problems) {
        if (line.starts_with("seeker: ")) line.remove_prefix(8);
        notice += "\r\n" + rt::Utf8ToCp936(line);
    }
    return notice;
}

}  // namespace app
