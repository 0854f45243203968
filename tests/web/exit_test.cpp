// The process exits cleanly while a worker is inside a page request or a
// page conversion: exit code 0, no sanitizer report, no hang.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "raw_server.h"

namespace {

struct HelperRun {
    bool ended = false;
    int status = 0;
    std::string errorOutput;
};

// Runs the helper with `url`, killing it when it takes over `limitMs`.
HelperRun RunHelper(const std::string& url, int limitMs) {
    HelperRun run;
    int fds[2];
    if (pipe(fds) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string path = EXIT_HELPER_PATH;
    char* argv[] = {path.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return run;
    }
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    char buffer[4096];
    for (;;) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long elapsed = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (elapsed > limitMs) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd fd = {fds[0], POLLIN, 0};
        if (poll(&fd, 1, 100) > 0) {
            const ssize_t n = read(fds[0], buffer, sizeof buffer);
            if (n <= 0) break;  // the helper's stderr closed: it has ended
            run.errorOutput.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.ended = WIFEXITED(status);
    run.status = run.ended ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Exit, WhileAWorkerRequestsAndConverts) {
    // A UTF-8 page that arrives in pieces, so an exit finds the worker inside
    // a transfer as often as inside a conversion.
    std::string body;
    for (int i = 0; i < 600; ++i) body += "\xE7\xA3\x81\xE5\x8A\x9B utf-8 ";
    webtest::RawServer server(
        [&](const std::string&) {
            return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        },
        {.bytes = 1024, .gapMs = 2});
    for (int round = 0; round < 4; ++round) {
        const HelperRun run = RunHelper(server.base() + "/", 30000);
        EXPECT_TRUE(run.ended) << "round " << round << ": did not exit\n" << run.errorOutput;
        EXPECT_EQ(run.status, 0) << "round " << round;
        EXPECT_EQ(run.errorOutput, "") << "round " << round;
    }
}

}  // namespace
