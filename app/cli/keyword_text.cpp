#include "app/cli/keyword_text.h"

#include "runtime/codepage.h"
#include "runtime/terminal_text.h"

#include <algorithm>

namespace app::cli {

Keyword KeywordFromUtf8(std::string_view utf8) {
    Keyword keyword;
    keyword.text = rt::Utf8ToCp936(utf8);

    bool invalid = false;
    std::vector<std::string> unheld;  // distinct, in order of appearance
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const long c = rt::DecodeUtf8(utf8, at);
        if (c == -1) {
            invalid = true;
        } else if (c >= 0x80) {
            const std::string character(utf8.substr(start, at - start));
            if (rt::Utf8ToCp936(character) == "?" &&
                std::find(unheld.begin(), unheld.end(), character) == unheld.end())
                unheld.push_back(character);
        }
    }
    if (invalid) {
        keyword.warnings.push_back("seeker: the keyword \"" + rt::EscapeControls(utf8) +
                                   "\" is not valid UTF-8; what is not is searched as \"?\"");
    }
    if (!unheld.empty()) {
        std::string list;
        for (const std::string& c : unheld) list += (list.empty() ? "\"" : ", \"") + c + "\"";
        keyword.warnings.push_back("seeker: code page 936 has no form for " +
                                   rt::EscapeControls(list) +
                                   " in the keyword; the search has \"?\" in their place");
    }
    return keyword;
}

}  // namespace app::cli
