// The portal and the eight demo sites, each an HTTP server on 127.0.0.1:
// the portal on the base port, site N on the base port + N.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace demo {

struct ServeOptions {
    std::size_t minimumPageBytes = 0;  // pads result pages
    std::size_t longTitleBytes = 0;    // see PageOptions
    std::optional<int> lastPage;       // every site's last page with records (0: none)
    // A request for this page of this site gets no answer until Stop.
    int stallSite = 0;
    int stallPage = 0;
    // Each request is also appended to this file as a log line.
    std::string logPath;
    // Every answer comes this many milliseconds late, as a real site's
    // would, plus the server's own extra delay (0: the portal, N: site N).
    int delayMs = 0;
    std::array<int, 9> extraDelayMs{};
};

class DemoSites {
public:
    DemoSites();
    ~DemoSites();
    DemoSites(const DemoSites&) = delete;
    DemoSites& operator=(const DemoSites&) = delete;

    // Binds all nine ports and starts serving; false (and nothing left
    // running) when any port is taken. `minimumPageBytes` pads result pages.
    bool Start(int basePort, std::size_t minimumPageBytes = 0);
    bool Start(int basePort, const ServeOptions& options);
    // Stops every server and waits for their threads. Safe to call twice.
    void Stop();

    int BasePort() const { return basePort_; }

    // Starts on some free run of nine ports above 20000; false if none found.
    bool StartOnFreePorts(std::size_t minimumPageBytes = 0);
    bool StartOnFreePorts(const ServeOptions& options);

    // Every request since Start, in arrival order: "N TARGET", N being 0
    // for the portal and the site number otherwise, TARGET the raw path and
    // query as sent.
    std::vector<std::string> Requests() const;
    // The most requests one server (0: the portal, N: site N) was answering
    // at the same time since Start.
    int MostAtOnce(int server) const;

private:
    struct Listener {
        std::unique_ptr<httplib::Server> server;
        std::thread thread;
    };
    void Log(int server, const std::string& target);
    void Stall();
    // Waits out the server's delay, or until Stop.
    void Delay(int server);

    std::vector<Listener> listeners_;
    int basePort_ = 0;
    ServeOptions options_;

    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool stopping_ = false;
    std::vector<std::string> requests_;
    std::array<int, 9> answering_{};
    std::array<int, 9> mostAnswering_{};
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> logFile_{nullptr, &std::fclose};
};

}  // namespace demo
