// 200 sequential page requests of a 100 KB page from a local server: the page
// request against a plain libcurl loop (a new easy handle per request), and
// the time from a stop request to the end of a transfer in progress.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "http_server.h"
#include "runtime/thread.h"
#include "sample_page.h"
#include "web/request.h"

namespace {

constexpr int kRequests = 200;
using webbench::kPageBytes;

// One server for the whole run; silent requests are held open until the
// client leaves.
class PageServer {
public:
    std::string Url(const char* path) const { return server_.Base() + path; }
    int SilentArrivals() const { return silentArrivals_.load(); }

private:
    void Routes(httplib::Server& s) {
        s.Get("/utf8", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(utf8_, "text/html");
        });
        s.Get("/plain", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(plain_, "text/html");
        });
        s.Get("/silent", [this](const httplib::Request&, httplib::Response& res) {
            ++silentArrivals_;
            res.set_chunked_content_provider("text/html", [](std::size_t, httplib::DataSink& sink) {
                usleep(5000);
                return sink.is_writable();
            });
        });
    }

    std::string utf8_ = webbench::SamplePage(true), plain_ = webbench::SamplePage(false);
    std::atomic<int> silentArrivals_{0};
    webtest::HttpServer server_{[this](httplib::Server& s) { Routes(s); }};
};

PageServer& Server() {
    static PageServer server;
    return server;
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

void BM_PlainCurlLoop(benchmark::State& state, const char* path) {
    const std::string url = Server().Url(path);
    for (auto _ : state) {
        for (int i = 0; i < kRequests; ++i) {
            std::string body;
            std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(),
                                                                     &curl_easy_cleanup);
            curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
            curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &Collect);
            curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
            curl_easy_perform(easy.get());
            benchmark::DoNotOptimize(body.data());
            if (body.size() != kPageBytes) state.SkipWithError("short page");
        }
    }
}

void BM_WebRequestText(benchmark::State& state, const char* path) {
    const std::string url = Server().Url(path);
    for (auto _ : state) {
        for (int i = 0; i < kRequests; ++i) {
            const rt::Text page = web::WebRequestText(url);
            benchmark::DoNotOptimize(page.data());
            if (page.empty()) state.SkipWithError("empty page");
        }
    }
}

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Time from StopThread to the end of the thread whose request is in progress.
void BM_AbortLatency(benchmark::State& state) {
    const std::string url = Server().Url("/silent");
    for (auto _ : state) {
        const int before = Server().SilentArrivals();
        rt::ThreadHandle worker;
        rt::StartThread([&] { benchmark::DoNotOptimize(web::WebRequestText(url)); }, &worker);
        while (Server().SilentArrivals() == before) usleep(500);
        usleep(20000);  // let the transfer settle into waiting
        const double start = Now();
        rt::StopThread(worker);
        worker.join();
        state.SetIterationTime(Now() - start);
    }
}

// The machine is shared: medians of several runs, best read with
// --benchmark_enable_random_interleaving=true.
void Medians(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(BM_PlainCurlLoop, plain_page, "/plain")->Apply(Medians);
BENCHMARK_CAPTURE(BM_WebRequestText, plain_page, "/plain")->Apply(Medians);
BENCHMARK_CAPTURE(BM_PlainCurlLoop, utf8_page, "/utf8")->Apply(Medians);
BENCHMARK_CAPTURE(BM_WebRequestText, utf8_page, "/utf8")->Apply(Medians);
BENCHMARK(BM_AbortLatency)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
