// Message reporting and the exit sequence shared by every fatal condition.
#include "runtime/fatal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

#include "runtime/codepage.h"
#include "runtime/late_binding.h"
#include "runtime/system.h"

namespace rt {
namespace {

// The process-wide reporter and exit hook.
struct ExitState {
    std::mutex mutex;
    MessageReporter reporter;
    std::function<void()> exitHook;
};

ExitState& State() {
    static ExitState state;
    return state;
}

std::atomic<bool> exitStarted{false};
thread_local bool exitingOnThisThread = false;

// Until the platform layer installs its message box: one line on stderr,
// readable on a UTF-8 terminal, and the system's own box where there is one.
void ReportToSystem(const std::string& text, const std::string& caption) {
    const std::string t = kLiteralsAreCp936 ? Cp936ToUtf8(text) : text;
    const std::string c = kLiteralsAreCp936 ? Cp936ToUtf8(caption) : caption;
    std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
    std::fflush(stderr);
    system::ShowErrorBox(text, caption);
}

void HandleAllocationFailure() { OutOfMemory(); }

// Allocation failures are fatal from the first allocation on.
const bool kOutOfMemoryHandlerInstalled = (InstallOutOfMemoryHandler(), true);

}  // namespace

void SetMessageReporter(MessageReporter reporter) {
    std::lock_guard lock(State().mutex);
    State().reporter = std::move(reporter);
}

void ReportMessage(const std::string& text, const std::string& caption) {
    MessageReporter reporter;
    {
        std::lock_guard lock(State().mutex);
        reporter = State().reporter;
    }
    // Called outside the lock: a message box waits for the user.
    if (reporter) reporter(text, caption);
    else ReportToSystem(text, caption);
}

void SetExitHook(std::function<void()> hook) {
    std::lock_guard lock(State().mutex);
    State().exitHook = std::move(hook);
}

void ExitProgram(int code) {
    if (exitingOnThisThread) {
        // A fatal condition inside the exit hook: the sequence is already running.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    if (exitStarted.exchange(true)) {
        // Another thread is running the exit sequence and will end the process.
        system::WaitForever();
    }
    exitingOnThisThread = true;
    std::function<void()> hook;
    {
        std::lock_guard lock(State().mutex);
        hook = std::move(State().exitHook);
    }
    if (hook) hook();
    // What the hook wrote goes out before what unloading modules write.
    std::fflush(nullptr);
    ReleaseLateLoadedModules();
    std::fflush(nullptr);
    // Static destructors would race with threads still running, so only the
    // main thread ends the process the full way.
    if (system::OnMainThread()) std::exit(code);
    std::_Exit(code);
}

void ReturnLargeBlocksToTheSystem() { system::ReturnLargeBlocks(); }

unsigned PlaceOf(const void* codeAddress) {
    return static_cast<unsigned>(system::ModuleOffset(codeAddress));
}

void FatalError(int number, unsigned place) {
    if (place == 0) place = PlaceOf(__builtin_return_address(0));
    char message[96];
    std::snprintf(message, sizeof message, "program internal error number is %d. (0x%Xh)", number,
                  place);
    ReportMessage(message, "error");
    ExitProgram(0);
}

void OutOfMemory() {
    // A second failure while reporting must not come back here.
    std::set_new_handler(nullptr);
    try {
        ReportMessage("内存不足", "error");
    } catch (...) {}
    ExitProgram(0);
}

void InstallOutOfMemoryHandler() {
    (void)kOutOfMemoryHandlerInstalled;
    std::set_new_handler(HandleAllocationFailure);
}

}  // namespace rt
