// The demo sites of a Windows test run under wine: the Linux build's
// demo-sites program (named by SEEKER_DEMO_SITES), which serves the sites
// out of the test's process. Windows has no build of the sites' server
// library; wine starts Unix programs for Windows ones and shares the
// host's loopback. Same calls as the sites a Linux test serves itself.
#pragma once

#include <string>
#include <vector>

#include "demo_server.h"

namespace demo {

class DemoSitesProgram {
public:
    DemoSitesProgram() = default;
    ~DemoSitesProgram() { Stop(); }
    DemoSitesProgram(const DemoSitesProgram&) = delete;
    DemoSitesProgram& operator=(const DemoSitesProgram&) = delete;

    // Starts the program on some free run of nine ports above 20000 and
    // waits until every port listens; false if it never does.
    bool StartOnFreePorts(const ServeOptions& options = {});
    // Ends the program and waits until it has ended. Safe to call twice.
    void Stop();

    int BasePort() const { return basePort_; }
    // Every request since the start, as the program logs them ("N TARGET").
    std::vector<std::string> Requests() const;

private:
    std::string folder_;  // Unix path of the files the program and its shell write
    int basePort_ = 0;
};

}  // namespace demo
