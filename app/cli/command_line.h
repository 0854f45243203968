// The program's command line: the window, or a search without one.
#pragma once

#include "app/scraping/site_table.h"

#include <array>
#include <string>
#include <vector>

namespace app::cli {

enum class Mode { Window, Search, Help, Version, UsageError };
enum class Format { Tsv, Json };

inline constexpr int kDefaultPages = 10;

struct CommandLine {
    Mode mode = Mode::Window;
    std::string keyword;  // UTF-8, as given
    int pages = kDefaultPages;
    std::array<bool, kSiteCount> sites{true, true, true, true, true, true, true, true};
    Format format = Format::Tsv;
    std::string configPath;  // empty: the default file
    bool parallel = false;   // read the sites at once, as "parallel = on" does
    std::string error;       // one line, for UsageError
};

// Reads the arguments after the program name. Options take their value as
// the next argument or after "=".
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string HelpText();

}  // namespace app::cli
