// Windows has no fork: RunInChild starts the test program again, running
// only the current test, and that child runs only the body asked for (the
// n-th RunInChild of the test), with its stderr in a pipe to the parent.
#include <windows.h>
// After windows.h.
#include <fcntl.h>
#include <io.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/codepage.h"
#include "tests/runtime/child_process.h"

namespace rt::testing {
namespace {

constexpr char kBodyVariable[] = "SEEKER_TEST_CHILD_BODY";

std::wstring Wide(const std::string& utf8) {
    const std::u16string wide = MultiByteToWide(kCodePageUtf8, utf8);
    return std::wstring(wide.begin(), wide.end());
}

// The environment block of the child: the parent's, with the body's number,
// and without a display, so that a message box of the child returns at once.
std::wstring ChildEnvironment(int body) {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring line(entry);
        if (line.rfind(L"DISPLAY=", 0) == 0 || line.rfind(Wide(kBodyVariable) + L"=", 0) == 0)
            continue;
        block += line;
        block += L'\0';
    }
    FreeEnvironmentStringsW(strings);
    block += Wide(kBodyVariable) + L"=" + std::to_wstring(body);
    block += L'\0';
    return block;
}

ChildResult RunSelf(int body) {
    ChildResult result;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=" +
                           Wide(std::string(test->test_suite_name()) + "." + test->name());

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = nul;  // the child's own test report
    start.hStdError = writeEnd;
    std::wstring environment = ChildEnvironment(body);
    PROCESS_INFORMATION process{};
    std::fflush(nullptr);
    const BOOL started =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                       environment.data(), nullptr, &start, &process);
    CloseHandle(writeEnd);
    CloseHandle(nul);
    if (!started) {
        CloseHandle(readEnd);
        return result;
    }
    // Read until the child has ended, not until the pipe closes: a process
    // the child started (wine's desktop, for a message box) may hold it open.
    auto drain = [&] {
        char buffer[4096];
        DWORD available = 0, n = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
               ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
            result.errorOutput.append(buffer, n);
    };
    while (WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT) drain();
    drain();
    CloseHandle(readEnd);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // A crash ends a process with an exception code (0xC0000005 ...).
    result.exited = code < 0xC0000000u;
    result.exitCode = result.exited ? static_cast<int>(code) : -1;
    return result;
}

}  // namespace

ChildResult RunInChild(const std::function<void()>& body) {
    static const ::testing::TestInfo* test = nullptr;
    static int calls = 0;
    const ::testing::TestInfo* current = ::testing::UnitTest::GetInstance()->current_test_info();
    if (current != test) {
        test = current;
        calls = 0;
    }
    const int index = ++calls;
    if (const char* wanted = std::getenv(kBodyVariable)) {
        if (std::atoi(wanted) != index) return {};  // another body of this test
        // "\n" as written, as on Linux, for the parent to compare.
        _setmode(_fileno(stderr), _O_BINARY);
        body();
        std::fflush(nullptr);
        std::_Exit(99);
    }
    return RunSelf(index);
}

}  // namespace rt::testing
