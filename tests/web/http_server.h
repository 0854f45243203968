// A cpp-httplib server on 127.0.0.1, on a free port, for the duration of a test.
#pragma once

#include <httplib.h>
#include <unistd.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace webtest {

class HttpServer {
public:
    explicit HttpServer(const std::function<void(httplib::Server&)>& routes) {
        routes(server_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw std::runtime_error("test server could not bind");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int i = 0; i < 500 && !server_.is_running(); ++i) usleep(10000);
    }
    ~HttpServer() {
        server_.stop();
        thread_.join();
    }
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int Port() const { return port_; }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

}  // namespace webtest
