// Every site rule and every toolkit routine on arbitrary bytes. Each input is
// used twice: as the page itself, and as a recipe whose bytes pick pieces of
// the sites' markers, so that short runs already reach deep into the rules.
// This file and the rules are compiled from code-page-936 copies, so the
// literals here and the rules' markers are the bytes the program ships; the
// start-up check refuses to run when they are not.
#include "app/scraping/page_body.h"
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"
#include "tests/app/sites/rule_oracle.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kPieces[] = {
    "\" class=\"btn\" title=\"",
    "\" target=\"_blank\">Detail</a></td> </tr>",
    " <td class=\"files-size\">",
    "</td> <td class=\"convert-date\">",
    "<td class=\"convert-date\">",
    "</td> <td class=\"action\">",
    "<td class=\"action\"><a href=\"http://127.0.0.1:18081/magnet/detail/hash/",
    "height=\"18\"",
    "磁力下载",
    "<B>",
    "</B>",
    "<font color=\"red\">",
    "</font>",
    "<a href=\"/torrent/",
    ".html",
    "|文件数:",
    " | ",
    ">Detail</a><a href=\"",
    "\" title=\"",
    "<tr><td class=\"name\">",
    "</td><td class=\"size\">",
    "</td><td class=\"date\">",
    "</td><td class=\"action\"",
    "Jan 20, 2015",
    "Mar  5, 2014",
    " </ul>",
    " Magnet</a>",
    "href=\"",
    "\">",
    "&amp;dn=",
    "%E4%B8%AD",
    "%",
    "Size:",
    "  Requests",
    "<li hash=",
    "</span>",
    "href=\"ed2k",
    "\">ED2K</a>",
    "<br/>",
    "<small>",
    "&nbsp",
    "<tr class=\"row",
    ">ED2K",
    "<td>",
    "    ",
    "<td width='70' align='right'>",
    "</td>",
    "|/\"",
    "<div class=\"r\">",
    "磁力链接",
    "<a href=\"/hash/",
    "\" target=\"",
    "</h5>",
    "<span class='highlight'>",
    "class=\"prop_val\">",
    "昨天",
    "<li class=\"tableli\">",
    "</li>",
    "html\" class=\"",
    "\"></a>",
    "ED2K",
    "MAGNET",
    "html\">",
    "</a>",
    ">HASH值：",
    "</div>",
    "\"tsize\">",
    "\"ttime\">",
    "<strong>",
    "<div class=\"search-item\">",
    "迅雷链接</a>",
    "\"_blank\">",
    "<span>文件大小：",
    "</b>",
    "<b class=\"cpill yellow-pill\">",
    "<b>",
    "<span>创建时间：",
    "magnet:?",
    "\" class=",
    "utf-8",
    "\x81",
    "中"};
constexpr std::size_t kPieceCount = sizeof kPieces / sizeof kPieces[0];

std::string Recipe(const std::uint8_t* data, std::size_t size) {
    std::string page;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < kPieceCount) {
            page += kPieces[data[i]];
        } else {
            page += static_cast<char>(data[i]);
        }
    }
    return page;
}

void RunAll(const std::string& page) {
    const app::SiteTable table = app::DemoSiteTable(18080);
    for (app::SiteId site = app::kFirstSite; site <= app::kLastSite; ++site) {
        const app::PageHits result = app::ScrapePage(site, page, table);
        const auto count = static_cast<int>(result.hits.size());
        const int limit = app::SiteRecordLimit(site);
        // A full page never ends the site; a short one does, except at an
        // eD2k item of site 7. The rows obey the rule oracle.
        if (count > limit || (count == limit && result.exhausted) ||
            (count < limit && !result.exhausted && site != 7) ||
            !app::test::RowsAreSound(site, page, result)) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // "磁力下载" in code page 936; site 2's record ends at that marker.
    const std::string marker = "\xB4\xC5\xC1\xA6\xCF\xC2\xD4\xD8";
    const std::string page =
        "<td height=\"18\"><B>t</B><a href=\"/torrent/H.html\">" + marker + "</a>";
    if (std::string("磁力下载") != marker || app::kUnknownField != "\xCE\xB4\xD6\xAA" ||
        app::ScrapePage(2, page, app::DemoSiteTable(18080)).hits.size() != 1) {
        std::fprintf(stderr, "the rules' markers are not code-page-936 bytes\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    RunAll(raw);
    RunAll(Recipe(data, size));

    const std::string a = raw.substr(0, size / 3);
    const std::string b = raw.substr(size / 3, size / 3);
    const std::string c = raw.substr(2 * (size / 3));
    app::ExtractBetween(c, a, b);
    app::DropThrough(c, a);
    app::ReplaceMany(c, a, b, b, a);
    app::PercentDecode(raw, true);
    app::PageTextFromBody(raw);
    return 0;
}
