// Hits per second of every site rule on a 100 KB result page of the demo
// sites, beside the same extraction by bench/peer_scraper.py (Python's
// html.parser) on the same pages, run once at start-up; both sides are
// timed in processor time. Each benchmark
// reports hits_per_s, peer_hits_per_s and ratio (how many times faster).
#include "app/scraping/page_body.h"
#include "app/sites/site_rules.h"
#include "demo_pages.h"
#include "runtime/codepage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kPageBytes = 100 * 1024;

struct BenchPage {
    std::string name;  // file name without ".html"
    app::SiteId site;
    rt::Text keyword;
    int page;
    std::string body;  // as served
};

struct PeerResult {
    int hits = -1;
    double hitsPerSecond = 0;
};

// A full page of each site (site 7's without an eD2k item) and a full page
// of site 5's table layout. The keyword varies only where a site's results
// end on its first page.
std::vector<BenchPage> MakePages() {
    demo::PageOptions options;
    options.site1HashUrl = app::DemoSiteTable(18080).site1HashUrl;
    options.minimumBytes = kPageBytes;
    std::vector<BenchPage> pages;
    auto add = [&](const std::string& name, app::SiteId site, bool tableLayout) {
        for (int variant = 0;; ++variant) {
            // The keyword arrives as UTF-8 here (this file keeps UTF-8 literals).
            const rt::Text keyword =
                rt::Utf8ToCp936("流浪地球") + (variant ? std::to_string(variant) : "");
            for (int page = 1; page < demo::LastPage(site, keyword); ++page) {
                const demo::PagePlan plan = demo::PlanPage(site, keyword, page);
                if (plan.ed2kAt >= 0 || plan.tableLayout != tableLayout) continue;
                pages.push_back({name, site, keyword, page,
                                 demo::BuildPage(site, keyword, page, options).body});
                return;
            }
        }
    };
    for (app::SiteId site = app::kFirstSite; site <= app::kLastSite; ++site) {
        add("site" + std::to_string(site), site, false);
    }
    add("site5_table", 5, true);
    return pages;
}

std::map<std::string, PeerResult> RunPeer(const std::filesystem::path& dir) {
    std::map<std::string, PeerResult> results;
    const std::string command =
        "python3 '" + std::string(SEEKER_PEER_SCRAPER) + "' '" + dir.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return results;
    char name[64];
    int hits = 0;
    double seconds = 0, rate = 0;
    while (std::fscanf(pipe, "%63s hits=%d seconds_per_page=%lf hits_per_second=%lf", name, &hits,
                       &seconds, &rate) == 4) {
        results[name] = {hits, rate};
    }
    pclose(pipe);
    return results;
}

void RunRule(benchmark::State& state, const BenchPage& page, const PeerResult& peer) {
    const rt::Text text = app::PageTextFromBody(page.body);
    const app::SiteTable table = app::DemoSiteTable(18080);
    const int expected = demo::ExpectedHits(demo::PlanPage(page.site, page.keyword, page.page));
    std::int64_t hits = 0;
    int lastCount = 0;
    // Processor time on both sides: the machine may be shared.
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        const app::PageHits result = app::ScrapePage(page.site, text, table);
        lastCount = static_cast<int>(result.hits.size());
        hits += lastCount;
        benchmark::DoNotOptimize(result);
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    if (lastCount != expected) state.SkipWithError("rule found a different number of hits");
    state.counters["page_kb"] = static_cast<double>(page.body.size()) / 1024.0;
    state.counters["hits_per_page"] = lastCount;
    state.counters["hits_per_s"] =
        benchmark::Counter(static_cast<double>(hits), benchmark::Counter::kIsRate);
    state.counters["peer_hits_per_page"] = peer.hits;
    state.counters["peer_hits_per_s"] = peer.hitsPerSecond;
    if (peer.hitsPerSecond > 0 && seconds > 0) {
        state.counters["ratio"] = (static_cast<double>(hits) / seconds) / peer.hitsPerSecond;
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::vector<BenchPage> pages = MakePages();

    char dirTemplate[] = "/tmp/bench_scraping_XXXXXX";
    const char* made = mkdtemp(dirTemplate);
    std::map<std::string, PeerResult> peer;
    if (made) {
        const std::filesystem::path dir(made);
        for (const BenchPage& page : pages) {
            std::ofstream(dir / (page.name + ".html"), std::ios::binary) << page.body;
        }
        peer = RunPeer(dir);
        std::filesystem::remove_all(dir);
    }
    if (peer.empty()) std::fprintf(stderr, "bench_scraping: the Python peer gave no figures\n");

    for (const BenchPage& page : pages) {
        benchmark::RegisterBenchmark(("SiteRule/" + page.name).c_str(),
                                     [&page, result = peer[page.name]](benchmark::State& state) {
                                         RunRule(state, page, result);
                                     });
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
