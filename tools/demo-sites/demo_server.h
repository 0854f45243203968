// The portal and the eight demo sites, each an HTTP server on 127.0.0.1:
// the portal on the base port, site N on the base port + N.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace demo {

class DemoSites {
public:
    DemoSites();
    ~DemoSites();
    DemoSites(const DemoSites&) = delete;
    DemoSites& operator=(const DemoSites&) = delete;

    // Binds all nine ports and starts serving; false (and nothing left
    // running) when any port is taken. `minimumPageBytes` pads result pages.
    bool Start(int basePort, std::size_t minimumPageBytes = 0);
    // Stops every server and waits for their threads. Safe to call twice.
    void Stop();

    int basePort() const { return basePort_; }

    // Starts on some free run of nine ports above 20000; false if none found.
    bool StartOnFreePorts(std::size_t minimumPageBytes = 0);

private:
    struct Listener {
        std::unique_ptr<httplib::Server> server;
        std::thread thread;
    };
    std::vector<Listener> listeners_;
    int basePort_ = 0;
};

}  // namespace demo
