// The keyword of a command-line search, from the UTF-8 of the command line
// to code page 936 as the window's keyword box gives it.
#pragma once

#include "runtime/text.h"

#include <string>
#include <string_view>
#include <vector>

namespace app::cli {

struct Keyword {
    rt::Text text;  // code page 936
    // One line each for what does not convert (invalid UTF-8; characters
    // code page 936 cannot hold), for standard error; they become "?".
    std::vector<std::string> warnings;
};

Keyword KeywordFromUtf8(std::string_view utf8);

}  // namespace app::cli
