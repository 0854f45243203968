// The console of a POSIX system: SIGINT and SIGTERM are blocked in every
// thread and taken with sigtimedwait.
#include "app/cli/console.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <ctime>

namespace app::cli {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0), argv + argc);
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

bool WriteText(std::FILE* stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

struct StopRequests::State {
    sigset_t set;
    sigset_t previous;
};

StopRequests::StopRequests() : state_(std::make_unique<State>()) {
    sigemptyset(&state_->set);
    sigaddset(&state_->set, SIGINT);
    sigaddset(&state_->set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &state_->set, &state_->previous);
}

StopRequests::~StopRequests() { pthread_sigmask(SIG_SETMASK, &state_->previous, nullptr); }

int StopRequests::Wait(int ms) const {
    const timespec timeout{ms / 1000, (ms % 1000) * 1000000L};
    const int signal = sigtimedwait(&state_->set, nullptr, &timeout);
    return signal > 0 ? 128 + signal : 0;
}

}  // namespace app::cli
