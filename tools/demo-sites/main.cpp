// demo-sites [BASE_PORT]: serves the portal on 127.0.0.1:BASE_PORT and the
// eight demo sites on the eight ports after it, until SIGINT or SIGTERM.
#include "demo_server.h"

#include "app/scraping/site_table.h"
#include "app/scraping/site_table_config.h"
#include "runtime/codepage.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>

int main(int argc, char** argv) {
    int basePort = app::build_config::kDemoBasePort;
    if (argc > 2 || (argc == 2 && (basePort = std::atoi(argv[1])) <= 0)) {
        std::fprintf(stderr, "usage: demo-sites [BASE_PORT]\n");
        return 2;
    }

    // Signals are taken by sigwait below, not by the server threads.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    demo::DemoSites sites;
    if (!sites.Start(basePort)) {
        std::fprintf(stderr, "demo-sites: cannot listen on 127.0.0.1 ports %d-%d\n", basePort,
                     basePort + app::kSiteCount);
        return 1;
    }
    const app::SiteTable table = app::DemoSiteTable(basePort);
    std::printf("portal  %s\n", table.portalUrl.c_str());
    for (app::SiteId site = app::kFirstSite; site <= app::kLastSite; ++site) {
        std::printf("site %d  %s  %s\n", site, table.BaseUrl(site).c_str(),
                    rt::Cp936ToUtf8(app::SiteLabel(site)).c_str());
    }
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    sites.Stop();
    return 0;
}
