#include "tests/runtime/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/codepage.h"

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
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) result.errorOutput.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ReportedLine(const std::string& caption, const std::string& text) {
    auto utf8 = [](const std::string& s) { return kLiteralsAreCp936 ? Cp936ToUtf8(s) : s; };
    return utf8(caption) + ": " + utf8(text) + "\n";
}

}  // namespace rt::testing
