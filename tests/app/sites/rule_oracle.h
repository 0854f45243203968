// What every site rule must hold on any page: at most one row per record of
// the page, and every row holds what its site's end condition asks of a
// record. Shared by the rules' robustness tests and their fuzz target.
#pragma once

#include "app/scraping/hit.h"
#include "app/scraping/site_table.h"

#include <string_view>
#include <vector>

namespace app::test {

// Markers of which every record of `site` holds one: where a record
// begins, or for site 1, whose fields come before its start marker, where
// it ends.
inline std::vector<rt::Text> OneMarkerPerRecord(SiteId site) {
    switch (site) {
    case 1: return {"\" target=\"_blank\">Detail</a></td> </tr>"};
    case 2: return {"height=\"18\""};
    case 3: return {">Detail</a><a href=\""};
    case 4: return {" </ul>"};
    case 5: return {"<li hash=", "<tr class=\"row"};
    case 6: return {"<div class=\"r\">"};
    case 7: return {"<li class=\"tableli\">"};
    default: return {"<div class=\"search-item\">"};
    }
}

// Occurrences of those markers, found as the rules find them (stepping by
// character).
inline int CountRecords(SiteId site, const rt::Text& page) {
    int n = 0;
    for (const rt::Text& marker : OneMarkerPerRecord(site)) {
        for (int at = rt::FindText(page, marker); at != -1;
             at = rt::FindText(page, marker, at + rt::TextLength(marker))) {
            ++n;
        }
    }
    return n;
}

// True when `link` holds nothing the page gave: the rules add fixed parts
// around what they cut from a record. Sites 1 and 2 follow the hash with
// "&dn=" and the percent-encoded name, so the last "&dn=" ends the hash,
// which a hostile page may fill with anything, "&dn=" included. Sites 3, 4
// and 7 may take their whole link from the page.
inline bool LinkIsEmpty(SiteId site, const rt::Text& link) {
    std::string_view rest = link;
    auto drop = [&rest](std::string_view prefix) {
        if (rest.starts_with(prefix)) rest.remove_prefix(prefix.size());
    };
    switch (site) {
    case 1:
    case 2: drop("magnet:?xt=urn:btih:"); return rest.substr(0, rest.rfind("&dn=")).empty();
    case 5: drop("ed2k"); break;
    case 6: drop("magnet:?xt=urn:btih:"); break;
    case 8: drop("magnet:?"); break;
    default: break;
    }
    return rest.empty();
}

// The rows of `result` obey the oracle for `page`. A record ends its site
// when sites 1 and 2 find no title in it and site 6 no hash; any other
// field may be empty.
inline bool RowsAreSound(SiteId site, const rt::Text& page, const PageHits& result) {
    if (static_cast<int>(result.hits.size()) > CountRecords(site, page)) return false;
    for (const Hit& hit : result.hits) {
        if ((site == 1 || site == 2) && hit.title.empty()) return false;
        if (site == 6 && LinkIsEmpty(site, hit.link)) return false;
    }
    return true;
}

}  // namespace app::test
