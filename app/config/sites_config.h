// The sites configuration file: `key = value` lines that point the sites
// somewhere else without a rebuild. The build's site table stays the default;
// a file only overrides the values it names.
#pragma once

#include "app/scraping/site_table.h"

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The keys a file may set, in the order FormatSitesConfig writes them.
const std::vector<std::string>& SitesConfigKeys();

// What a file sets. Values are ready for the site table (code page 936);
// problems are whole lines for standard error, in UTF-8 with control
// characters escaped: the first kShownProblems in full, then
// `moreProblems` counts the rest.
inline constexpr int kShownProblems = 5;
struct SitesConfig {
    std::map<std::string, rt::Text> values;
    std::vector<std::string> problems;
    int moreProblems = 0;
};

// Reads the text of a file (UTF-8). A bad line adds a problem naming
// `fileName`, the line number and what is wrong, and is ignored; of two
// lines for one key the last wins, with a warning, and site1 set without
// site1_hash is warned about.
SitesConfig ParseSitesConfig(std::string_view text, std::string_view fileName);

// `defaults` with the values the file sets.
SiteTable ApplySitesConfig(const SiteTable& defaults, const SitesConfig& config);

// The file text that sets every value of `table` (UTF-8, with a header comment).
std::string FormatSitesConfig(const SiteTable& table);

// $XDG_CONFIG_HOME/seeker/sites.conf, or ~/.config/seeker/sites.conf when the
// variable is unset or empty; empty when neither it nor HOME is set. On
// Windows %APPDATA%\seeker\sites.conf in UTF-8, empty without APPDATA.
std::string DefaultSitesConfigPath();
// A path as the program holds it (the bytes given on Linux; UTF-8 on
// Windows, as the command line and DefaultSitesConfigPath give it) as the
// file system takes it, and that file opened for reading bytes (null with
// errno set when it cannot be).
std::filesystem::path SystemPath(const std::string& path);
std::FILE* OpenForReading(const std::filesystem::path& path);
// Where that is, as --help names it to the user.
extern const char* const kDefaultSitesConfigPlace;

// The largest sites file read.
inline constexpr std::size_t kMaxSitesFileBytes = 1 << 20;

// The table for a run and what to tell the user about the file it came from.
struct SitesFile {
    SiteTable table;
    // Lines for standard error (UTF-8, control characters escaped), the
    // first few problems in full and then their count.
    std::vector<std::string> problems;
    // The file could not be read as a whole: it is missing, not a regular
    // file, larger than kMaxSitesFileBytes or failed to read. The table is
    // then `defaults`.
    bool unreadable = false;
};

// `defaults` overridden by the file at `path`. Only a regular file is read,
// so a FIFO or a device given as the file cannot block or flood the program.
// A file that does not exist is no problem unless it was named by the user
// (`named`).
SitesFile LoadSitesFile(const SiteTable& defaults, const std::string& path, bool named);

// The problems of SitesFile as the window's status box shows them at start
// (code page 936, one a line under a heading); empty without problems.
rt::Text SitesFileNotice(const std::vector<std::string>& problems);

}  // namespace app
