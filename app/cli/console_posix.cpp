// The console of a POSIX system: SIGINT and SIGTERM are blocked in every
// thread and taken with sigtimedwait; so is SIGUSR1, which Wake sends the
// waiting thread.
#include "app/cli/console.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace app::cli {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0), argv + argc);
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

bool WriteText(std::FILE* stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

int FailedWriteError() { return errno; }

void ReleaseOwnConsole() {}

struct StopRequests::State {
    sigset_t set;
    sigset_t previous;
    pthread_t waiter;  // the thread that made it, which waits
};

StopRequests::StopRequests() : state_(std::make_unique<State>()) {
    sigemptyset(&state_->set);
    sigaddset(&state_->set, SIGINT);
    sigaddset(&state_->set, SIGTERM);
    sigaddset(&state_->set, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &state_->set, &state_->previous);
    state_->waiter = pthread_self();
}

StopRequests::~StopRequests() {
    // A wake nobody took would end the process once unblocked.
    sigset_t wake;
    sigemptyset(&wake);
    sigaddset(&wake, SIGUSR1);
    const timespec now{0, 0};
    while (sigtimedwait(&wake, nullptr, &now) > 0) {}
    pthread_sigmask(SIG_SETMASK, &state_->previous, nullptr);
}

int StopRequests::Wait(int ms) const {
    const timespec timeout{ms / 1000, (ms % 1000) * 1000000L};
    const int signal =
        ms < 0 ? sigwaitinfo(&state_->set, nullptr) : sigtimedwait(&state_->set, nullptr, &timeout);
    return signal > 0 && signal != SIGUSR1 ? 128 + signal : 0;
}

void StopRequests::Wake() const { pthread_kill(state_->waiter, SIGUSR1); }

}  // namespace app::cli
