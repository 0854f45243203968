// The plain words for one site's part of the last search, shown as the
// tooltip of the site's check box: pages read, hits found and how it ended.
#pragma once

#include "app/report/site_report_types.h"
#include "runtime/text.h"

namespace app {

// The tooltip text in code page 936, for example
// "上次搜索：读了3页，找到87个资源；第4页没有结果".
rt::Text SiteReportText(const SiteSearchStats& stats);

// The same without its head "上次搜索：", for the command line.
rt::Text SiteReportBody(const SiteSearchStats& stats);

}  // namespace app
