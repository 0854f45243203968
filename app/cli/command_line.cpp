#include "app/cli/command_line.h"

#include "app/config/sites_config.h"
#include "app/search/search_texts.h"
#include "app/sites/site_rules.h"
#include "runtime/codepage.h"

#include <optional>

namespace app::cli {

namespace {

// A whole decimal number within [low, high], or nothing.
std::optional<int> Number(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

bool ParseSites(const std::string& text, std::array<bool, kSiteCount>& sites) {
    sites.fill(false);
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const auto site = Number(text.substr(start, comma - start), kFirstSite, kLastSite);
        if (!site) return false;
        sites[*site - 1] = true;
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool searchOnly = false;  // an option that means nothing without --search
    std::string searchOnlyName;
    auto fail = [&](const std::string& error) {
        line.mode = Mode::UsageError;
        line.error = error;
        return line;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (name.starts_with("--")) {
            if (const std::size_t eq = name.find('='); eq != std::string::npos) {
                value = name.substr(eq + 1);
                name.resize(eq);
            }
        }
        if (name == "--help" || name == "-h" || name == "--version") {
            CommandLine only;
            only.mode = name == "--version" ? Mode::Version : Mode::Help;
            return only;
        }
        if (name == "--parallel") {
            if (value) return fail("--parallel takes no value");
            searchOnly = true;
            searchOnlyName = name;
            line.parallel = true;
            continue;
        }
        const bool takesValue = name == "--search" || name == "--pages" || name == "--sites" ||
                                name == "--format" || name == "--config";
        if (!takesValue) {
            if (name.starts_with("-")) return fail("unknown option " + name);
            return fail("unexpected argument \"" + name + "\"");
        }
        if (!value) {
            if (i + 1 >= args.size()) return fail(name + " needs a value");
            value = args[++i];
        }
        if (name == "--search") {
            line.mode = Mode::Search;
            line.keyword = *value;
        } else if (name == "--config") {
            if (value->empty()) return fail("--config needs a file name");
            line.configPath = *value;
        } else {
            searchOnly = true;
            searchOnlyName = name;
            if (name == "--pages") {
                const auto pages = Number(*value, 1, kMaxPageCount);
                if (!pages)
                    return fail("--pages takes a number from 1 to " +
                                std::to_string(kMaxPageCount));
                line.pages = *pages;
            } else if (name == "--sites") {
                if (!ParseSites(*value, line.sites))
                    return fail(
                        "--sites takes site numbers 1 to 8 separated by commas, such as 1,4");
            } else if (*value == "tsv" || *value == "json") {
                line.format = *value == "tsv" ? Format::Tsv : Format::Json;
            } else {
                return fail("--format takes tsv or json");
            }
        }
    }
    if (searchOnly && line.mode != Mode::Search) return fail(searchOnlyName + " needs --search");
    return line;
}

std::string HelpText() {
    std::string sites;
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        sites += "  " + std::to_string(site) + "  " + rt::Cp936ToUtf8(SiteLabel(site)) + "\n";
    return "Usage: seeker [--config FILE]\n"
           "       seeker --search KEYWORD [--pages N] [--sites LIST] [--format tsv|json] "
           "[--parallel]\n"
           "                      [--config FILE]\n"
           "\n"
           "Searches torrent sites for magnet and ed2k links. Without --search it opens its "
           "window.\n"
           "\n"
           "  --search KEYWORD  search without a window; hits go to standard output as they are "
           "found\n"
           "  --pages N         result pages per site, 1 to 1000 (default 10)\n"
           "  --sites LIST      site numbers 1 to 8 to search, such as 1,4 (default all)\n"
           "  --format FORMAT   tsv: number, title, size, date, site, link separated by tabs "
           "(default;\n"
           "                    control characters in a field become spaces);\n"
           "                    json: one object a line\n"
           "  --parallel        read the sites at once, each site's pages still in order;\n"
           "                    the hits come in the same order (also \"parallel = on\" in\n"
           "                    the sites configuration)\n"
           "  --config FILE     the sites configuration (default " +
           std::string(kDefaultSitesConfigPlace) +
           ")\n"
           "  --help            this text\n"
           "  --version         the version\n"
           "\n"
           "Sites:\n" +
           sites +
           "\n"
           "Progress, the sites that failed and why, and the closing line (seconds, hits) go to\n"
           "standard error. Ctrl+C stops a search; the hits found so far have been printed.\n"
           "\n"
           "Exit status: 0 the search ended (or the window was closed); 1 the window could not\n"
           "be opened, or the hits could not be written; 2 the command line was not understood,\n"
           "or the --config file cannot be read; 3 every site searched failed; 130 stopped with\n"
           "Ctrl+C.\n";
}

}  // namespace app::cli
