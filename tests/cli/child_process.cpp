#include "child_process.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

extern char** environ;

namespace clitest {

ChildProcess::ChildProcess(const std::vector<std::string>& args, bool errorToTerminal) {
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) return;
    // errPipe[0] is the reading end either way.
    const bool opened = errorToTerminal ? openpty(&errPipe[0], &errPipe[1], nullptr, nullptr, nullptr) == 0
                                        : pipe2(errPipe, O_CLOEXEC) == 0;
    if (!opened) return;
    if (errorToTerminal) {
        fcntl(errPipe[0], F_SETFD, FD_CLOEXEC);
        fcntl(errPipe[1], F_SETFD, FD_CLOEXEC);
    }
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    outReader_ = std::thread([this, fd = outPipe[0]] {
        Read(fd, out_);
        std::lock_guard lock(mutex_);
        outClosed_ = true;
    });
    errReader_ = std::thread([this, fd = errPipe[0]] { Read(fd, err_); });
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Wait();
    }
    if (outReader_.joinable()) outReader_.join();
    if (errReader_.joinable()) errReader_.join();
}

void ChildProcess::Read(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        std::lock_guard lock(mutex_);
        into.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
}

bool ChildProcess::WaitForLines(std::size_t lines, int timeoutMs) {
    std::unique_lock lock(mutex_);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long deadline = now.tv_sec * 1000LL + now.tv_nsec / 1000000 + timeoutMs;
    for (;;) {
        if (static_cast<std::size_t>(std::count(out_.begin(), out_.end(), '\n')) >= lines) return true;
        if (outClosed_) return false;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long left = deadline - (now.tv_sec * 1000LL + now.tv_nsec / 1000000);
        if (left <= 0) return false;
        // <chrono> cannot be compiled with code-page-936 literals: wake up
        // now and then instead of waiting for a time point.
        lock.unlock();
        usleep(static_cast<useconds_t>(std::min(left, 20LL)) * 1000);
        lock.lock();
    }
}

void ChildProcess::Signal(int signal) {
    if (pid_ > 0) kill(pid_, signal);
}

int ChildProcess::Wait() {
    if (pid_ > 0) {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (outReader_.joinable()) outReader_.join();
    if (errReader_.joinable()) errReader_.join();
    return status_;
}

std::string ChildProcess::out() {
    std::lock_guard lock(mutex_);
    return out_;
}

std::string ChildProcess::err() {
    std::lock_guard lock(mutex_);
    return err_;
}

}  // namespace clitest
