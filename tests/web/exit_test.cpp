// The process exits cleanly while a worker is inside a page request or a
// page conversion: exit code 0, no sanitizer report, no hang.
#include <gtest/gtest.h>
#include <spawn.h>
#include <unistd.h>

#include <string>

#include "raw_server.h"
#include "tests/runtime/child_process.h"

namespace {

using rt::testing::ChildResult;

// Runs the helper with `url`, killing it when it takes over `limitMs`.
ChildResult RunHelper(const std::string& url, int limitMs) {
    int fds[2];
    if (pipe(fds) != 0) return {};
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
        return {};
    }
    return rt::testing::CollectChild(pid, fds[0], limitMs);
}

TEST(Exit, WhileAWorkerRequestsAndConverts) {
    // A UTF-8 page that arrives in pieces, so an exit finds the worker inside
    // a transfer as often as inside a conversion.
    std::string body;
    for (int i = 0; i < 600; ++i) body += "\xE7\xA3\x81\xE5\x8A\x9B utf-8 ";
    webtest::RawServer server(
        [&](const std::string&) {
            return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body;
        },
        {.bytes = 1024, .gapMs = 2});
    for (int round = 0; round < 4; ++round) {
        const ChildResult run = RunHelper(server.Base() + "/", 30000);
        EXPECT_TRUE(run.exited) << "round " << round << ": did not exit\n" << run.errorOutput;
        EXPECT_EQ(run.exitCode, 0) << "round " << round;
        EXPECT_EQ(run.errorOutput, "") << "round " << round;
    }
}

}  // namespace
