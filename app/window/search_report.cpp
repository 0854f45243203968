// Each site box's tooltip tells the site's part of the search just ended.
#include "app/report/site_report.h"
#include "app/window/main_window.h"

namespace app {

void MainWindow::ReportSites(bool stopped) {
    std::array<bool, kSiteCount> ticked{};
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        ticked[site - 1] = siteBoxes_[site - 1].CheckState() == 1;
    siteStats_.End(stopped, searchPages_, ticked);
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        siteBoxes_[site - 1].Tooltip(SiteReportText(siteStats_.Stats(site)), true);
}

}  // namespace app
