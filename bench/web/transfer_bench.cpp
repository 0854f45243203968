// The page request on this system's transfer (libcurl on Linux, WinINet on
// Windows) against one local server, the raw server of the web tests: 200
// sequential requests of a 100 KB page, and the time from a stop request to
// the end of a request the server never answers. Built for both systems, so
// the figures compare the two transfers on the same server code.
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "raw_server.h"
#include "runtime/thread.h"
#include "sample_page.h"
#include "web/request.h"

namespace {

constexpr int kRequests = 200;
using webbench::kPageBytes;

std::string Answer(bool utf8) {
    const std::string page = webbench::SamplePage(utf8);
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(page.size()) + "\r\n\r\n" + page;
}

// One server for the whole run: "/silent" is held open without a word.
webtest::RawServer& Server() {
    static const std::string plain = Answer(false), utf8 = Answer(true);
    static webtest::RawServer server([](const std::string& request) -> std::optional<std::string> {
        if (request.starts_with("GET /silent ")) return std::nullopt;
        return request.starts_with("GET /utf8 ") ? utf8 : plain;
    });
    return server;
}

void BM_SequentialRequests(benchmark::State& state, const char* path) {
    const std::string url = Server().base() + path;
    for (auto _ : state) {
        for (int i = 0; i < kRequests; ++i) {
            const rt::Text page = web::WebRequestText(url);
            benchmark::DoNotOptimize(page.data());
            if (page.size() < kPageBytes / 2) state.SkipWithError("short page");
        }
    }
}

// From StopThread to the end of the thread whose request waits for an answer.
void BM_StopLatency(benchmark::State& state) {
    const std::string url = Server().base() + "/silent";
    for (auto _ : state) {
        const std::size_t before = Server().requests().size();
        rt::ThreadHandle worker;
        rt::StartThread([&] { benchmark::DoNotOptimize(web::WebRequestText(url)); }, &worker);
        if (!Server().waitForRequests(before + 1)) state.SkipWithError("no request");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // waiting for the answer
        const auto start = std::chrono::steady_clock::now();
        rt::StopThread(worker);
        worker.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

// The machine is shared: medians of several runs.
void Medians(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(BM_SequentialRequests, plain_page, "/plain")->Apply(Medians);
BENCHMARK_CAPTURE(BM_SequentialRequests, utf8_page, "/utf8")->Apply(Medians);
BENCHMARK(BM_StopLatency)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
