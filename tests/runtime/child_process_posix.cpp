#include "tests/runtime/child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace rt::testing {

ChildResult RunInChild(const std::function<void()>& body) {
    ChildResult result;
    int fds[2];
    if (pipe(fds) != 0) return result;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (pid == 0) {
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        body();
        std::_Exit(99);
    }
    close(fds[1]);
    return CollectChild(pid, fds[0]);
}

ChildResult CollectChild(pid_t pid, int errorFd, int limitMs) {
    ChildResult result;
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    char buffer[4096];
    for (;;) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long elapsed =
            (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (limitMs > 0 && elapsed > limitMs) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd fd = {errorFd, POLLIN, 0};
        if (poll(&fd, 1, 100) <= 0) continue;
        const ssize_t n = read(errorFd, buffer, sizeof buffer);
        if (n <= 0) break;  // stderr closed: the child has ended
        result.errorOutput.append(buffer, static_cast<std::size_t>(n));
    }
    close(errorFd);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace rt::testing
