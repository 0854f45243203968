// The command line's own costs: the program `seeker --search abc --pages 10`
// against the demo sites (8 sites x 10 full pages), its output read through
// a pipe as a script would, from the fork to its end; against the same
// search run by the driver in this process, and against the program that
// only tells its version (the start and end of a process of this size). Medians of several runs;
// the program's CPU time from the kernel's accounting of the child.
#include "app/config/sites_config.h"
#include "app/search/search_driver.h"
#include "bench_sites.h"
#include "runtime/thread.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

class CountingSink : public app::SearchSink {
public:
    bool SiteSelected(app::SiteId) override { return true; }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(app::Tick) override {}
    void HitFound(app::SiteId, const app::Hit&) override { ++hits; }
    void ProgressChanged(int) override {}
    void SearchFinished(int, int) override {}
    int hits = 0;
};

struct Run {
    double ms = 0;
    double cpuMs = 0;
    long lines = 0;
};

// Runs the program with its standard output in a pipe read here: a search
// of 10 pages, or only its version when `search` is false.
Run RunProgram(const std::string& configHome, bool search) {
    Run run;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return run;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        std::freopen("/dev/null", "w", stderr);
        if (search)
            execl(SEEKER_PROGRAM, SEEKER_PROGRAM, "--search", "abc", "--pages", "10",
                  static_cast<char*>(nullptr));
        else execl(SEEKER_PROGRAM, SEEKER_PROGRAM, "--version", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[65536];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        run.lines += std::count(buffer, buffer + n, '\n');
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.ms = Ms(Clock::now() - start);
    run.cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return run;
}

void BM_CommandLineEightSitesTenPages(benchmark::State& state) {
    demo::DemoSites sites;
    if (!ServeFullPages(sites, state, 11)) return;
    const app::SiteTable table = app::DemoSiteTable(sites.BasePort());
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("bench_cli." + std::to_string(getpid()));
    std::filesystem::create_directories(home / "seeker");
    std::ofstream(home / "seeker" / "sites.conf") << app::FormatSitesConfig(table);

    std::vector<double> programMs, programCpuMs, searchMs, versionMs;
    long lines = 0;
    int hits = 0;
    for (auto _ : state) {
        versionMs.push_back(RunProgram(home.string(), false).ms);
        const Run run = RunProgram(home.string(), true);
        programMs.push_back(run.ms);
        programCpuMs.push_back(run.cpuMs);
        lines = run.lines;

        CountingSink sink;
        const auto start = Clock::now();
        rt::ThreadHandle worker;
        rt::StartThread([&] { app::RunSearch({table, "abc", 10}, sink); }, &worker);
        worker.join();
        searchMs.push_back(Ms(Clock::now() - start));
        hits = sink.hits;
        state.SetIterationTime(run.ms / 1e3);
    }
    std::filesystem::remove_all(home);
    state.counters["program_ms"] = Median(programMs);
    state.counters["program_cpu_ms"] = Median(programCpuMs);
    state.counters["search_ms"] = Median(searchMs);
    state.counters["program_over_search_ms"] = Median(programMs) - Median(searchMs);
    state.counters["version_only_ms"] = Median(versionMs);
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["hits"] = hits;
}
BENCHMARK(BM_CommandLineEightSitesTenPages)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15);

}  // namespace

BENCHMARK_MAIN();
