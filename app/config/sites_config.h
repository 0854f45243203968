// The sites configuration file: `key = value` lines that point the sites
// somewhere else without a rebuild. The build's site table stays the default;
// a file only overrides the values it names.
#pragma once

#include "app/scraping/site_table.h"

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The keys a file may set, in the order FormatSitesConfig writes them.
const std::vector<std::string>& SitesConfigKeys();

// What a file sets. Values are ready for the site table (code page 936);
// problems are whole lines for standard error, in UTF-8.
struct SitesConfig {
    std::map<std::string, rt::Text> values;
    std::vector<std::string> problems;
};

// Reads the text of a file (UTF-8). A bad line adds a problem naming
// `fileName`, the line number and what is wrong, and is ignored; the last of
// two lines for one key wins.
SitesConfig ParseSitesConfig(std::string_view text, std::string_view fileName);

// `defaults` with the values the file sets.
SiteTable ApplySitesConfig(const SiteTable& defaults, const SitesConfig& config);

// The file text that sets every value of `table` (UTF-8, with a header comment).
std::string FormatSitesConfig(const SiteTable& table);

// $XDG_CONFIG_HOME/seeker/sites.conf, or ~/.config/seeker/sites.conf when the
// variable is unset or empty; empty when neither it nor HOME is set.
std::string DefaultSitesConfigPath();

// The table for a run: `defaults` overridden by the file at `path`. A file
// that does not exist is no problem unless it was named by the user
// (`named`); every problem goes to `errors` as one line. The program starts
// with whatever this returns.
SiteTable LoadSiteTable(const SiteTable& defaults, const std::string& path, bool named,
                        std::FILE* errors);

}  // namespace app
