// A site that sets 100 new cookies on every answer, read page after page
// through the process-wide cookie store: the time per page at the start and
// after many pages. A store without limits grows by 100 cookies a page and
// every page costs more than the one before; a bounded store costs the same.
#include <benchmark/benchmark.h>
#include <time.h>

#include <atomic>
#include <string>

#include "http_server.h"
#include "web/request.h"

namespace {

constexpr int kPages = 600;
constexpr int kCookiesPerAnswer = 100;
constexpr int kWindow = 50;  // pages averaged at each end

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Answers every request with a page and 100 cookies no answer set before.
class CookieFlood {
public:
    std::string Url() const { return server_.Base() + "/page"; }

private:
    void Routes(httplib::Server& s) {
        s.Get("/page", [this](const httplib::Request&, httplib::Response& res) {
            const int answer = ++answers_;
            for (int i = 0; i < kCookiesPerAnswer; ++i) {
                res.set_header("Set-Cookie", "a" + std::to_string(answer) + "x" +
                                                 std::to_string(i) + "=value; Path=/");
            }
            res.set_content("<html>page</html>", "text/html");
        });
    }

    std::atomic<int> answers_{0};
    webtest::HttpServer server_{[this](httplib::Server& s) { Routes(s); }};
};

void BM_CookieFloodPages(benchmark::State& state) {
    CookieFlood flood;
    for (auto _ : state) {
        double first = 0, last = 0;
        for (int page = 0; page < kPages; ++page) {
            const double start = Now();
            const rt::Text text = web::WebRequestText(flood.Url());
            const double spent = Now() - start;
            if (text.empty()) state.SkipWithError("empty page");
            if (page < kWindow) first += spent;
            if (page >= kPages - kWindow) last += spent;
        }
        state.counters["first_pages_ms"] = first * 1000 / kWindow;
        state.counters["last_pages_ms"] = last * 1000 / kWindow;
    }
}

// One run: the store is process-wide, so a second run would start full.
BENCHMARK(BM_CookieFloodPages)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
