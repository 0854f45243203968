#include "demo_server.h"

#include "demo_pages.h"

#include "app/scraping/site_table.h"
#include "runtime/codepage.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>

namespace demo {

namespace {

constexpr const char* kHost = "127.0.0.1";

// The keyword of a request path or parameter (UTF-8 after URL decoding) in
// code page 936, as the pages are built.
rt::Text KeywordOf(const std::string& utf8) { return rt::Utf8ToCp936(utf8); }

// The page number of a request; a missing or odd one shows the first page.
int PageOf(const std::string& digits) {
    int page = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9' || page > 100000) break;
        page = page * 10 + (c - '0');
    }
    return page < 1 ? 1 : page;
}

void Answer(httplib::Response& response, const DemoPage& page) {
    response.set_content(page.body, page.contentType.c_str());
}

// The route of each site's result pages (paths arrive URL-decoded).
// `beforePage` runs before a page is built, with its number.
void AddSiteRoutes(httplib::Server& server, app::SiteId site, PageOptions options,
                   std::function<void(int)> beforePage) {
    auto serve = [site, options, beforePage](httplib::Response& response,
                                             const std::string& keyword, const std::string& page) {
        beforePage(PageOf(page));
        Answer(response, BuildPage(site, KeywordOf(keyword), PageOf(page), options));
    };
    auto byPath = [serve](const char* pattern, httplib::Server& s) {
        s.Get(pattern, [serve](const httplib::Request& request, httplib::Response& response) {
            serve(response, request.matches[1], request.matches[2]);
        });
    };
    switch (site) {
    case 1: byPath(R"(/search/(.*)/currentPage/(\d+))", server); break;
    case 2: byPath(R"(/search/(.*)/(\d+)\.html)", server); break;
    case 3:
    case 8: byPath(R"(/search/(.*)/(\d+))", server); break;
    case 4: byPath(R"(/list/(.*)/(\d+))", server); break;
    case 5:
        server.Get(R"(//search/(.*))",
                   [serve](const httplib::Request& request, httplib::Response& response) {
                       serve(response, request.matches[1], request.get_param_value("page"));
                   });
        break;
    case 6:
        server.Get(
            "/search", [serve](const httplib::Request& request, httplib::Response& response) {
                serve(response, request.get_param_value("keyword"), request.get_param_value("p"));
            });
        break;
    case 7: byPath(R"(/search/(.*)-(\d+)\.html)", server); break;
    }
}

}  // namespace

DemoSites::DemoSites() = default;

DemoSites::~DemoSites() { Stop(); }

bool DemoSites::Start(int basePort, std::size_t minimumPageBytes) {
    ServeOptions options;
    options.minimumPageBytes = minimumPageBytes;
    return Start(basePort, options);
}

bool DemoSites::Start(int basePort, const ServeOptions& serveOptions) {
    Stop();
    if (basePort < 1 || basePort + app::kSiteCount > 65535) return false;
    PageOptions options;
    options.site1HashUrl = "http://" + std::string(kHost) + ":" + std::to_string(basePort + 1);
    options.minimumBytes = serveOptions.minimumPageBytes;
    options.longTitleBytes = serveOptions.longTitleBytes;
    options.lastPage = serveOptions.lastPage;
    {
        std::lock_guard lock(mutex_);
        options_ = serveOptions;
        stopping_ = false;
        requests_.clear();
        answering_.fill(0);
        mostAnswering_.fill(0);
        logFile_.reset();
        if (!options_.logPath.empty()) {
            logFile_.reset(std::fopen(options_.logPath.c_str(), "a"));
            if (!logFile_) return false;
        }
    }

    for (int i = 0; i <= app::kSiteCount; ++i) {
        auto server = std::make_unique<httplib::Server>();
        // Without the library's SO_REUSEPORT a port in use is refused rather
        // than shared with another server.
        server->set_socket_options([](socket_t sock) {
            int yes = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        });
        server->set_pre_routing_handler(
            [this, i](const httplib::Request& request, httplib::Response&) {
                Log(i, request.target);
                Delay(i);
                return httplib::Server::HandlerResponse::Unhandled;
            });
        server->set_post_routing_handler([this, i](const httplib::Request&, httplib::Response&) {
            std::lock_guard lock(mutex_);
            --answering_[static_cast<std::size_t>(i)];
        });
        if (i == 0) {
            server->Get("/", [](const httplib::Request&, httplib::Response& response) {
                Answer(response, PortalPage());
            });
        } else {
            AddSiteRoutes(*server, i, options, [this, i](int page) {
                if (i == options_.stallSite && page == options_.stallPage) Stall();
            });
        }
        if (!server->bind_to_port(kHost, basePort + i)) {
            Stop();  // releases the ports bound so far
            return false;
        }
        // A bound server releases its port only through stop() after it has
        // run, so every bound server is started at once.
        Listener& listener = listeners_.emplace_back();
        listener.server = std::move(server);
        listener.thread = std::thread([s = listener.server.get()] { s->listen_after_bind(); });
        while (!listener.server->is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    basePort_ = basePort;
    return true;
}

bool DemoSites::StartOnFreePorts(std::size_t minimumPageBytes) {
    ServeOptions options;
    options.minimumPageBytes = minimumPageBytes;
    return StartOnFreePorts(options);
}

bool DemoSites::StartOnFreePorts(const ServeOptions& options) {
    std::minstd_rand random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (Start(20000 + static_cast<int>(random() % 40000), options)) return true;
    }
    return false;
}

std::vector<std::string> DemoSites::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void DemoSites::Log(int server, const std::string& target) {
    std::string line = std::to_string(server) + " " + target;
    std::lock_guard lock(mutex_);
    if (logFile_) {
        std::fprintf(logFile_.get(), "%s\n", line.c_str());
        std::fflush(logFile_.get());
    }
    requests_.push_back(std::move(line));
    const auto at = static_cast<std::size_t>(server);
    mostAnswering_[at] = std::max(mostAnswering_[at], ++answering_[at]);
}

int DemoSites::MostAtOnce(int server) const {
    std::lock_guard lock(mutex_);
    return mostAnswering_.at(static_cast<std::size_t>(server));
}

void DemoSites::Delay(int server) {
    std::unique_lock lock(mutex_);
    const int ms = options_.delayMs + options_.extraDelayMs.at(static_cast<std::size_t>(server));
    if (ms > 0)
        released_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void DemoSites::Stall() {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return stopping_; });
}

void DemoSites::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    released_.notify_all();
    for (auto& listener : listeners_) {
        if (listener.server) listener.server->stop();
        if (listener.thread.joinable()) listener.thread.join();
    }
    listeners_.clear();
    basePort_ = 0;
}

}  // namespace demo
