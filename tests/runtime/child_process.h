// Runs a piece of a test in a child process and collects how it ended: a
// forked child on Linux, the test program started again on Windows.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace rt::testing {

struct ChildResult {
    bool exited = false;  // ended through exit, not a signal
    int exitCode = -1;
    std::string errorOutput;  // everything the child wrote to stderr
};

// `body` should end the process; when it returns the child exits with 99.
ChildResult RunInChild(const std::function<void()>& body);

// Reads what the started child `pid` writes to `errorFd` until it closes it,
// then reaps the child. A child still writing after `limitMs` (0: no limit)
// is killed, so that a hang ends the test rather than the run.
ChildResult CollectChild(pid_t pid, int errorFd, int limitMs = 0);

// The bytes the stderr reporter writes for a message of the running program.
std::string ReportedLine(const std::string& caption, const std::string& text);

}  // namespace rt::testing
