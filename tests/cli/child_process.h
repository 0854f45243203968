// A program run by a test, its standard output and error read as they come.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace clitest {

class ChildProcess {
public:
    // Starts `args` (args[0] is the program's path) with stdin from /dev/null;
    // standard error is a pipe, or a terminal when `errorToTerminal`.
    explicit ChildProcess(const std::vector<std::string>& args, bool errorToTerminal = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until standard output holds at least `lines` lines; false after
    // `timeoutMs` or when the output ended first.
    bool WaitForLines(std::size_t lines, int timeoutMs);
    void Signal(int signal);
    // Waits for the end; the exit status, or 128 + the signal that ended it.
    int Wait();

    std::string out();
    std::string err();

private:
    void Read(int fd, std::string& into);

    pid_t pid_ = -1;
    int status_ = -1;
    std::mutex mutex_;
    std::string out_, err_;
    bool outClosed_ = false;
    std::thread outReader_, errReader_;
};

}  // namespace clitest
