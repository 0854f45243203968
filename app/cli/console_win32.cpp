// The console of Windows: Ctrl+C and Ctrl+Break through a console control
// handler, which the system runs on a thread of its own; while a search
// runs, the console shows UTF-8 and the progress line's escapes, and the
// output streams carry "\n" as it is, so that a pipe gets the bytes a Linux
// program writes.
#include <windows.h>
// After windows.h, which it needs.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <atomic>

#include "runtime/codepage.h"

#include "app/cli/console.h"

namespace app::cli {
namespace {

// The handler has no argument: the request it saw waits here, process-wide.
std::atomic<HANDLE> stopEvent{nullptr};
std::atomic<int> stopStatus{0};

BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    stopStatus.store(130);  // as a shell reports SIGINT
    if (HANDLE event = stopEvent.load()) SetEvent(event);
    return TRUE;
}

HANDLE ConsoleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return arguments;
    for (int i = 1; i < count; ++i) {
        const std::u16string unit(reinterpret_cast<const char16_t*>(wide[i]));
        arguments.push_back(rt::WideToMultiByte(rt::kCodePageUtf8, unit));
    }
    LocalFree(wide);
    return arguments;
}

bool IsTerminal(std::FILE* stream) {
    DWORD mode = 0;
    return GetConsoleMode(ConsoleOf(stream), &mode) != 0;
}

struct StopRequests::State {
    HANDLE event = nullptr;
    HANDLE wake = nullptr;
    UINT outputCodePage = 0;
    DWORD outputMode = 0, errorMode = 0;
    int outputFileMode = 0, errorFileMode = 0;
};

StopRequests::StopRequests() : state_(std::make_unique<State>()) {
    state_->event = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // auto-reset: one per Wait
    state_->wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    stopEvent.store(state_->event);
    SetConsoleCtrlHandler(&OnConsoleControl, TRUE);

    state_->outputCodePage = GetConsoleOutputCP();
    if (state_->outputCodePage != 0) SetConsoleOutputCP(CP_UTF8);
    const DWORD escapes = ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING;
    if (GetConsoleMode(ConsoleOf(stdout), &state_->outputMode))
        SetConsoleMode(ConsoleOf(stdout), state_->outputMode | escapes);
    if (GetConsoleMode(ConsoleOf(stderr), &state_->errorMode))
        SetConsoleMode(ConsoleOf(stderr), state_->errorMode | escapes);
    std::fflush(stdout);
    std::fflush(stderr);
    state_->outputFileMode = _setmode(_fileno(stdout), _O_BINARY);
    state_->errorFileMode = _setmode(_fileno(stderr), _O_BINARY);
}

StopRequests::~StopRequests() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (state_->outputFileMode != -1) _setmode(_fileno(stdout), state_->outputFileMode);
    if (state_->errorFileMode != -1) _setmode(_fileno(stderr), state_->errorFileMode);
    if (state_->outputMode != 0) SetConsoleMode(ConsoleOf(stdout), state_->outputMode);
    if (state_->errorMode != 0) SetConsoleMode(ConsoleOf(stderr), state_->errorMode);
    if (state_->outputCodePage != 0) SetConsoleOutputCP(state_->outputCodePage);
    SetConsoleCtrlHandler(&OnConsoleControl, FALSE);
    stopEvent.store(nullptr);
    CloseHandle(state_->event);
    CloseHandle(state_->wake);
}

int StopRequests::Wait(int ms) const {
    const HANDLE events[2] = {state_->event, state_->wake};
    const DWORD limit = ms < 0 ? INFINITE : static_cast<DWORD>(ms);
    if (WaitForMultipleObjects(2, events, FALSE, limit) != WAIT_OBJECT_0) return 0;
    return stopStatus.load();
}

void StopRequests::Wake() const { SetEvent(state_->wake); }

}  // namespace app::cli
