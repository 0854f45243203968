#include "app/sites/site_rules.h"

#include "runtime/fatal.h"

namespace app {

PageHits ScrapePage(SiteId site, const rt::Text& page, const SiteTable& table) {
    using Rule = PageHits (*)(const rt::Text&, const SiteTable&);
    static constexpr Rule kRules[kSiteCount] = {ScrapeSite1, ScrapeSite2, ScrapeSite3,
                                                ScrapeSite4, ScrapeSite5, ScrapeSite6,
                                                ScrapeSite7, ScrapeSite8};
    if (site < kFirstSite || site > kLastSite) rt::FatalError(rt::kErrorSelectorRange);
    return kRules[site - 1](page, table);
}

}  // namespace app
