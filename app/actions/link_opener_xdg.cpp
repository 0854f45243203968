// Links handed on through xdg-open, once xdg-mime says their scheme has a
// program; the child processes are run without a shell.
#include "app/actions/link_opener.h"

#include "runtime/codepage.h"
#include "web/url.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <thread>
#include <vector>

extern char** environ;

namespace app {

namespace {

// The link as xdg-open gets it: a URI. Links cut out of pages may hold
// spaces and code-page-936 text; the handler gets them in UTF-8 with those
// bytes percent-encoded.
std::string LinkUri(const rt::Text& link) { return web::EscapeUrlBytes(rt::Cp936ToUtf8(link)); }

// A child process started with posix_spawnp; waited for, or killed and waited
// for, when the object goes out of scope unless released.
class Child {
public:
    // Starts argv[0] from PATH with stdin from /dev/null and stdout to
    // `stdoutFd` (-1: inherited). errno-style code in `error` on failure.
    Child(const std::vector<std::string>& args, int stdoutFd, int& error) {
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (stdoutFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
            posix_spawn_file_actions_addclose(&actions, stdoutFd);
        }
        error = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (error != 0) pid_ = -1;
    }
    ~Child() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        Wait();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The exit status once the child has ended (-1 when killed by a signal);
    // nullopt while it runs.
    std::optional<int> Poll() {
        int status = 0;
        if (pid_ <= 0) return -1;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == 0) return std::nullopt;
        pid_ = -1;
        return r < 0 ? -1 : (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    int Wait() {
        int status = 0;
        if (pid_ <= 0) return -1;
        pid_t r;
        while ((r = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {}
        pid_ = -1;
        return r < 0 ? -1 : (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    // Leaves the still running child to a thread that reaps it.
    void Release() {
        if (pid_ <= 0) return;
        std::thread([pid = pid_] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {}
        }).detach();
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

// Both ends closed on scope exit.
struct Pipe {
    int fds[2] = {-1, -1};
    Pipe() {
        if (pipe2(fds, O_CLOEXEC) != 0) fds[0] = fds[1] = -1;
    }
    ~Pipe() {
        CloseWrite();
        if (fds[0] >= 0) close(fds[0]);
    }
    void CloseWrite() {
        if (fds[1] >= 0) close(fds[1]);
        fds[1] = -1;
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
};

// Milliseconds of the monotonic clock (<chrono> cannot be compiled with
// code-page-936 literals).
long long NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

enum class Lookup { Registered, None, Unknown };

// Asks xdg-mime for the default program of the scheme. Unknown when the
// question cannot be asked; xdg-open then decides alone.
Lookup SchemeHandler(const std::string& scheme) {
    Pipe out;
    if (out.fds[0] < 0) return Lookup::Unknown;
    int error = 0;
    Child child({"xdg-mime", "query", "default", "x-scheme-handler/" + scheme}, out.fds[1], error);
    out.CloseWrite();
    if (error != 0) return Lookup::Unknown;
    std::string answer;
    const long long deadline = NowMs() + 5000;
    for (;;) {
        const long long left = deadline - NowMs();
        if (left <= 0) return Lookup::Unknown;  // the child is killed on return
        pollfd p{out.fds[0], POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return Lookup::Unknown;
        char buffer[256];
        const ssize_t n = read(out.fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    if (child.Wait() != 0) return Lookup::Unknown;
    return answer.find(".desktop") != std::string::npos ? Lookup::Registered : Lookup::None;
}

}  // namespace

const char* const kLinkOpenerName = "xdg-open";
const char* const kLinkOpenerCodeName = "退出码";

OpenLinkOutcome HandLinkToDesktop(const rt::Text& link, const std::string& scheme, int graceMs) {
    OpenLinkOutcome outcome;
    if (SchemeHandler(scheme) == Lookup::None) {
        outcome.result = OpenLinkResult::NoHandler;
        return outcome;
    }
    int error = 0;
    Child opener({"xdg-open", LinkUri(link)}, -1, error);
    if (error != 0) {
        outcome.result =
            error == ENOENT || error == EACCES ? OpenLinkResult::NoOpener : OpenLinkResult::Failed;
        outcome.exitCode = -1;
        return outcome;
    }
    // xdg-open without a desktop environment runs the handler in the
    // foreground, so it may well still be running when the grace ends.
    const long long deadline = NowMs() + graceMs;
    std::optional<int> status;
    while (!(status = opener.Poll()) && NowMs() < deadline) usleep(10000);
    if (!status) {
        opener.Release();
        outcome.result = OpenLinkResult::Opened;
        return outcome;
    }
    outcome.exitCode = *status;
    // Exit code 3 is xdg-open's "no method available" for the link.
    outcome.result = *status == 0   ? OpenLinkResult::Opened
                     : *status == 3 ? OpenLinkResult::NoHandler
                                    : OpenLinkResult::Failed;
    return outcome;
}

}  // namespace app
