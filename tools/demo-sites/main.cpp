// demo-sites [OPTIONS] [BASE_PORT]: serves the portal on 127.0.0.1:BASE_PORT
// and the eight demo sites on the eight ports after it, until SIGINT or
// SIGTERM. Options:
//   --write-config FILE once every port listens, FILE becomes a sites configuration for them
//   --log FILE          append every request to FILE ("N TARGET", N = 0 for the portal)
//   --last-page N       every site has full pages up to page N (0: no results)
//   --stall SITE:PAGE   never answer that page of that site
//   --pad BYTES         pad result pages to at least BYTES
//   --long-title BYTES  the first title of every page is at least BYTES long
//   --delay MS          answer every request MS milliseconds late
#include "demo_server.h"

#include "app/config/sites_config.h"
#include "app/scraping/site_table.h"
#include "app/scraping/site_table_config.h"
#include "app/sites/site_rules.h"
#include "runtime/codepage.h"

#include <pthread.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
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

int Usage() {
    std::fprintf(stderr,
                 "usage: demo-sites [--log FILE] [--last-page N] [--stall SITE:PAGE] "
                 "[--pad BYTES] [--long-title BYTES] [--delay MS] [--write-config FILE] "
                 "[BASE_PORT]\n");
    return 2;
}

// A whole decimal number >= 0, or -1.
long Number(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end == text || *end != '\0' || value < 0 ? -1 : value;
}

}  // namespace

int main(int argc, char** argv) {
    int basePort = app::build_config::kDemoBasePort;
    demo::ServeOptions options;
    std::string configPath;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--write-config") == 0 && hasValue) {
            configPath = argv[++i];
        } else if (std::strcmp(arg, "--log") == 0 && hasValue) {
            options.logPath = argv[++i];
        } else if (std::strcmp(arg, "--last-page") == 0 && hasValue) {
            const long n = Number(argv[++i]);
            if (n < 0 || n > 100000) return Usage();
            options.lastPage = static_cast<int>(n);
        } else if (std::strcmp(arg, "--stall") == 0 && hasValue) {
            if (std::sscanf(argv[++i], "%d:%d", &options.stallSite, &options.stallPage) != 2) {
                return Usage();
            }
        } else if (std::strcmp(arg, "--delay") == 0 && hasValue) {
            const long n = Number(argv[++i]);
            if (n < 0 || n > 600000) return Usage();
            options.delayMs = static_cast<int>(n);
        } else if (std::strcmp(arg, "--pad") == 0 && hasValue) {
            const long n = Number(argv[++i]);
            if (n < 0) return Usage();
            options.minimumPageBytes = static_cast<std::size_t>(n);
        } else if (std::strcmp(arg, "--long-title") == 0 && hasValue) {
            const long n = Number(argv[++i]);
            if (n < 0) return Usage();
            options.longTitleBytes = static_cast<std::size_t>(n);
        } else if (i == argc - 1 && Number(arg) > 0) {
            basePort = static_cast<int>(Number(arg));
        } else {
            return Usage();
        }
    }

    // Signals are taken by sigwait below, not by the server threads.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    demo::DemoSites sites;
    if (!sites.Start(basePort, options)) {
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
