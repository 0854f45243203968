// Fixture pages written by tests/app/sites/make_fixtures.py, read as the rules receive them.
#pragma once

#include "app/scraping/site_table.h"
#include "runtime/text.h"

#include <string>

namespace app::test {

// The saved bytes of a fixture page.
std::string FixtureBytes(const std::string& name);

// The fixture page as a site rule receives it (converted when it declares UTF-8).
rt::Text FixturePage(const std::string& name);

// The table the fixture pages were saved under (site 1 on 127.0.0.1:18081).
const SiteTable& FixtureSiteTable();

// "magnet:?xt=urn:btih:" + hash of the n-th record in the fixture pages.
std::string FixtureHash(int n);

}  // namespace app::test
