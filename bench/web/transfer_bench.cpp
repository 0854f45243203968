// The page request on this system's transfer (libcurl on Linux, WinINet on
// Windows) against one local server, the raw server of the web tests: 200
// sequential requests of a 100 KB page, and the time from a stop request to
// the end of a request in each phase where it can wait. Built for both systems, so
// the figures compare the two transfers on the same server code; on Windows
// the same requests made with WinINet's calls alone show the system's own
// share.
#ifdef _WIN32
#include <windows.h>
#include <wininet.h>
#endif
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "raw_server.h"
#include "runtime/thread.h"
#include "sample_page.h"
#include "test_socket.h"
#include "web/request.h"

namespace {

constexpr int kRequests = 200;
using webbench::kPageBytes;

std::string Answer(bool utf8) {
    const std::string page = webbench::SamplePage(utf8);
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(page.size()) + "\r\n\r\n" + page;
}

// One server for the whole run.
webtest::RawServer& Server() {
    static const std::string kPlain = Answer(false), kUtf8 = Answer(true);
    static webtest::RawServer server([](const std::string& request) -> std::optional<std::string> {
        return request.starts_with("GET /utf8 ") ? kUtf8 : kPlain;
    });
    return server;
}

void BM_SequentialRequests(benchmark::State& state, const char* path) {
    const std::string url = Server().Base() + path;
    for (auto _ : state) {
        for (int i = 0; i < kRequests; ++i) {
            const rt::Text page = web::WebRequestText(url);
            benchmark::DoNotOptimize(page.data());
            if (page.size() < kPageBytes / 2) state.SkipWithError("short page");
        }
    }
}

// Where a stopped request waits.
enum class Phase { Lookup, Connect, Answer, Body };

// A listener that never accepts, its queue filled by connections that are
// never taken up: a further connect waits (the system drops its SYN).
class FullListener {
public:
    FullListener() : listener_(webtest::ListenOnLoopback(false, 0, &port_)) {
        for (auto& filler : fillers_) filler = webtest::StartConnecting(port_);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the queue fills
    }
    ~FullListener() {
        for (auto filler : fillers_) webtest::Close(filler);
        webtest::Close(listener_);
    }
    int Port() const { return port_; }

private:
    int port_ = 0;
    webtest::Socket listener_;
    webtest::Socket fillers_[4] = {};
};

// From StopThread to the end of the thread whose request waits in `phase`:
// a name lookup ("stall.invalid" stalls only with the web tests' slow
// resolver preloaded), a connect, the answer of a silent server, a body that
// stops coming. Servers of its own each time: they hold the connection until
// they go, and a WinINet call under wine keeps it past the stop until then.
void BM_StopLatency(benchmark::State& state, Phase phase) {
    for (auto _ : state) {
        std::optional<FullListener> full;
        std::optional<webtest::RawServer> server;
        std::string url = "http://stall.invalid/";
        if (phase == Phase::Connect) {
            full.emplace();
            url = "http://127.0.0.1:" + std::to_string(full->Port()) + "/";
        } else if (phase == Phase::Answer) {
            server.emplace([](const std::string&) { return std::nullopt; });
            url = server->Base() + "/silent";
        } else if (phase == Phase::Body) {
            server.emplace([](const std::string&) { return Answer(false); },
                           webtest::Pace{.bytes = 5000, .gapMs = 3600 * 1000});
            url = server->Base() + "/stalled";
        }
        rt::ThreadHandle worker;
        rt::StartThread([&] { benchmark::DoNotOptimize(web::WebRequestText(url)); }, &worker);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (worker.Finished() || (server && server->Requests().empty())) {
            state.SkipWithError("the request did not wait where it should");
        }
        const auto start = std::chrono::steady_clock::now();
        rt::StopThread(worker);
        worker.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

#ifdef _WIN32
// The same requests with WinINet's calls alone, on the calling thread and
// without the project's code: the system's (or wine's) own cost.
void BM_BareWinInet(benchmark::State& state) {
    const int port = Server().Port();
    std::string chunk(64 * 1024, '\0');
    for (auto _ : state) {
        for (int i = 0; i < kRequests; ++i) {
            HINTERNET session =
                InternetOpenA(nullptr, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
            HINTERNET connection =
                InternetConnectA(session, "127.0.0.1", static_cast<INTERNET_PORT>(port), nullptr,
                                 nullptr, INTERNET_SERVICE_HTTP, 0, 0);
            HINTERNET request = HttpOpenRequestA(
                connection, "GET", "/plain", "HTTP/1.1", nullptr, nullptr,
                INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES, 0);
            std::size_t received = 0;
            if (HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
                DWORD available = 0, n = 0;
                while (InternetQueryDataAvailable(request, &available, 0, 0) && available > 0 &&
                       InternetReadFile(request, chunk.data(),
                                        std::min<DWORD>(available, chunk.size()), &n) &&
                       n > 0) {
                    received += n;
                }
            }
            for (HINTERNET handle : {request, connection, session}) InternetCloseHandle(handle);
            if (received < kPageBytes) state.SkipWithError("short page");
        }
    }
}
#endif

// The machine is shared: medians of several runs.
void Medians(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(BM_SequentialRequests, plain_page, "/plain")->Apply(Medians);
BENCHMARK_CAPTURE(BM_SequentialRequests, utf8_page, "/utf8")->Apply(Medians);
#ifdef _WIN32
BENCHMARK(BM_BareWinInet)->Apply(Medians);
#endif
void StopRuns(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
}
BENCHMARK_CAPTURE(BM_StopLatency, lookup, Phase::Lookup)->Apply(StopRuns);
BENCHMARK_CAPTURE(BM_StopLatency, connect, Phase::Connect)->Apply(StopRuns);
BENCHMARK_CAPTURE(BM_StopLatency, answer, Phase::Answer)->Apply(StopRuns);
BENCHMARK_CAPTURE(BM_StopLatency, body, Phase::Body)->Apply(StopRuns);

}  // namespace
