// A private X server (Xvfb on a display it picks itself), optionally with a
// window manager, for tests of the X11 backend; and small helpers to run the
// X tools the tests drive it with.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace platform_x11_test {

class XServer {
public:
    // Starts Xvfb with `extraArgs` and points DISPLAY at it.
    explicit XServer(const std::vector<std::string>& extraArgs = {});
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool Ok() const { return display_ >= 0; }
    std::string DisplayName() const { return ":" + std::to_string(display_); }
    // Starts openbox on the display and waits until it manages windows.
    bool StartWindowManager();

private:
    pid_t server_ = -1;
    pid_t wm_ = -1;
    int display_ = -1;
};

// Runs a shell command; returns its standard output (exit status in `status`).
std::string RunCommand(const std::string& command, int* status = nullptr);

// How long a test waits for the X server, a window manager or the program
// to do what it was asked. Waits end as soon as their condition holds: a
// loaded machine only makes them last longer.
inline constexpr int kPatienceMs = 15000;

// Pumps the calling thread's messages until `done` is true or `ms` passed.
bool PumpUntil(const std::function<bool()>& done, int ms = kPatienceMs);

// Runs a shell command that talks to this process's windows (xclip asking
// for our selection, say) while pumping messages, so that it can be
// answered; returns its standard output. A command still running after `ms`
// is killed, so that a lost answer fails the test instead of hanging it.
std::string RunCommandPumping(const std::string& command, int ms);

}  // namespace platform_x11_test
