#include "tests/platform/x11/xserver.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/platform.h"

namespace platform_x11_test {

namespace {

std::uint64_t NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000 +
           static_cast<std::uint64_t>(ts.tv_nsec) / 1000000;
}

pid_t Spawn(const std::vector<std::string>& argv, int keepFd) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 1);
    dup2(devnull, 2);
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keepFd) close(fd);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

void Stop(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status;
    waitpid(pid, &status, 0);
    pid = -1;
}

}  // namespace

XServer::XServer(const std::vector<std::string>& extraArgs) {
    int fds[2];
    if (pipe(fds) != 0) return;
    std::vector<std::string> argv = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                                     "-screen",   "0",          "1920x1080x24",
                                     "-nolisten", "tcp"};
    argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
    server_ = Spawn(argv, fds[1]);
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    std::uint64_t end = NowMs() + 10000;
    while (NowMs() < end && poll(&p, 1, 200) >= 0) {
        char c;
        if (!(p.revents & POLLIN)) continue;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) return;
    display_ = std::atoi(number.c_str());
    setenv("DISPLAY", DisplayName().c_str(), 1);
}

XServer::~XServer() {
    Stop(wm_);
    Stop(server_);
}

bool XServer::StartWindowManager() {
    wm_ = Spawn({"openbox", "--sm-disable"}, -1);
    // A loaded machine may take a while to bring the manager up.
    std::uint64_t end = NowMs() + 30000;
    while (NowMs() < end) {
        if (RunCommand("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") !=
            std::string::npos)
            return true;
        usleep(100 * 1000);
    }
    return false;
}

std::string RunCommand(const std::string& command, int* status) {
    std::string out;
    FILE* f = popen(command.c_str(), "r");
    if (f == nullptr) return out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    int rc = pclose(f);
    if (status != nullptr) *status = rc;
    return out;
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
    std::uint64_t end = NowMs() + static_cast<std::uint64_t>(ms);
    plat::MSG msg;
    while (!done()) {
        if (NowMs() > end) return false;
        if (plat::PeekMessage(&msg)) {
            plat::TranslateMessage(&msg);
            plat::DispatchMessage(&msg);
        } else {
            usleep(2000);
        }
    }
    return true;
}

std::string RunCommandPumping(const std::string& command, int ms) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    std::string out;
    bool ended = PumpUntil(
        [&] {
            char buf[4096];
            ssize_t n;
            while ((n = read(fds[0], buf, sizeof buf)) > 0)
                out.append(buf, static_cast<std::size_t>(n));
            return n == 0;
        },
        ms);
    if (!ended && pid > 0) kill(-pid, SIGKILL);
    close(fds[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return out;
}

}  // namespace platform_x11_test
