// Runs a piece of a test in a forked child and collects how it ended.
#pragma once

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

// The bytes the stderr reporter writes for a message of the running program.
std::string ReportedLine(const std::string& caption, const std::string& text);

}  // namespace rt::testing
