// Fatal runtime errors, memory exhaustion and the exit sequence.
#pragma once

#include <functional>
#include <string>

namespace rt {

// Runtime error numbers shown by FatalError.
enum RuntimeError : int {
    kErrorIndexAboveCount = 1,
    kErrorNotNumeric = 2,
    kErrorDimensions = 3,
    kErrorIndexBelowOne = 4,
    kErrorSelectorRange = 9,
    kErrorNegativeRepeat = 10,
    kErrorBytesValueType = 100,
};

// Shows a message with a caption (code-page-936 texts) and an error icon.
// Until the platform layer installs its message box, messages go to stderr,
// and on Windows to a system message box as well.
using MessageReporter = std::function<void(const std::string& text, const std::string& caption)>;
void SetMessageReporter(MessageReporter reporter);
void ReportMessage(const std::string& text, const std::string& caption);

// From now on a freed block of a megabyte or more goes back to the system at
// once, so a process that once held a page of megabytes does not keep that
// size after the page is gone (the allocator would otherwise keep such blocks
// for reuse).
void ReturnLargeBlocksToTheSystem();

// The application's exit hook, run first by the exit sequence.
void SetExitHook(std::function<void()> hook);

// Runs the exit sequence (exit hook, release of late-loaded modules) and ends
// the process with `code`.
[[noreturn]] void ExitProgram(int code);

// "program internal error number is %d. (0x%Xh)", then the exit sequence with
// code 0. `place` locates the failure; 0 stands for the caller of FatalError.
[[noreturn]] void FatalError(int number, unsigned place = 0);

// A code address as an offset into its loaded module (what addr2line takes),
// for the second value of the fatal-error message.
unsigned PlaceOf(const void* codeAddress);

// "内存不足", then the exit sequence with code 0.
[[noreturn]] void OutOfMemory();

// Makes a failed allocation (operator new) call OutOfMemory. The runtime
// installs it at start-up; calling it again does no harm.
void InstallOutOfMemoryHandler();

}  // namespace rt
