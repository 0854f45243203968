// A site that sets 100 new cookies on every answer, read page after page
// through the process-wide cookie store: the time per page at the start and
// after many pages. A store without limits grows by 100 cookies a page and
// every page costs more than the one before; a bounded store costs the same.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <thread>

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

class CookieFlood {
public:
    CookieFlood() {
        server_.Get("/page", [this](const httplib::Request&, httplib::Response& res) {
            const int answer = ++answers_;
            for (int i = 0; i < kCookiesPerAnswer; ++i) {
                res.set_header("Set-Cookie", "a" + std::to_string(answer) + "x" +
                                                 std::to_string(i) + "=value; Path=/");
            }
            res.set_content("<html>page</html>", "text/html");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) usleep(1000);
    }
    ~CookieFlood() {
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/page"; }

private:
    httplib::Server server_;
    int port_ = 0;
    int answers_ = 0;  // handled on the server's one worker at a time
    std::thread thread_;
};

void BM_CookieFloodPages(benchmark::State& state) {
    CookieFlood flood;
    for (auto _ : state) {
        double first = 0, last = 0;
        for (int page = 0; page < kPages; ++page) {
            const double start = Now();
            const rt::Text text = web::WebRequestText(flood.url());
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
