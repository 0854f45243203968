// demo-sites [--write-config FILE] [BASE_PORT]: serves the portal on
// 127.0.0.1:BASE_PORT and the eight demo sites on the eight ports after it,
// until SIGINT or SIGTERM. With --write-config, FILE becomes a sites
// configuration for these ports once they all listen.
#include "demo_server.h"

#include "app/config/sites_config.h"
#include "app/scraping/site_table.h"
#include "app/scraping/site_table_config.h"
#include "runtime/codepage.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pthread.h>
#include <string>

namespace {

// Written beside FILE and renamed, so whoever waits for FILE never reads half of it.
bool WriteConfig(const std::string& path, const app::SiteTable& table) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << app::FormatSitesConfig(table);
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    int basePort = app::build_config::kDemoBasePort;
    std::string configPath;
    int arg = 1;
    if (arg + 1 < argc && std::string(argv[arg]) == "--write-config") {
        configPath = argv[arg + 1];
        arg += 2;
    }
    if (argc - arg > 1 || (argc - arg == 1 && (basePort = std::atoi(argv[arg])) <= 0)) {
        std::fprintf(stderr, "usage: demo-sites [--write-config FILE] [BASE_PORT]\n");
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
    if (!configPath.empty() && !WriteConfig(configPath, table)) {
        std::fprintf(stderr, "demo-sites: cannot write %s\n", configPath.c_str());
        return 1;
    }

    int received = 0;
    sigwait(&stopSignals, &received);
    sites.Stop();
    return 0;
}
