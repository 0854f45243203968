// The 100 KB result page the web benchmarks fetch, declared UTF-8 (with
// non-ASCII rows) or GBK (ASCII rows only).
#pragma once

#include <cstddef>
#include <string>

namespace webbench {

inline constexpr std::size_t kPageBytes = 100 * 1024;

inline std::string SamplePage(bool utf8) {
    std::string page = utf8 ? "<html><head><meta charset=\"utf-8\"></head><body>"
                            : "<html><head><meta charset=\"gbk\"></head><body>";
    const std::string row = utf8 ? "<tr><td>\xE6\x90\x9C\xE7\xB4\xA2 result row</td></tr>\n"
                                 : "<tr><td>plain result row</td></tr>\n";
    while (page.size() + row.size() < kPageBytes) page += row;
    page.resize(kPageBytes, ' ');
    return page;
}

}  // namespace webbench
