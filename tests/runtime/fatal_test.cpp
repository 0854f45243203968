#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <regex>

#include "runtime/fatal.h"
#include "runtime/text.h"
#include "tests/runtime/child_process.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SEEKER_TEST_UNDER_ASAN 1
#endif
#endif

namespace rt {
namespace {

using testing::ReportedLine;
using testing::RunInChild;

// The fatal-error line for `number`, whatever the place value.
::testing::AssertionResult IsFatalErrorLine(const std::string& output, int number) {
    const std::regex line("error: program internal error number is " + std::to_string(number) +
                          R"(\. \(0x[0-9A-F]+h\)\n)");
    if (std::regex_match(output, line)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "output was: " << output;
}

void WriteToStderr(const char* text) { (void)!write(STDERR_FILENO, text, std::strlen(text)); }

TEST(FatalError, MessageThenExitSequenceWithCodeZero) {
    auto r = RunInChild([] {
        SetExitHook([] { WriteToStderr("exit hook\n"); });
        FatalError(9, 0x1234);
    });
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.errorOutput, "error: program internal error number is 9. (0x1234h)\nexit hook\n");
}

TEST(FatalError, TextListIndexOutOfRange) {
    auto below = RunInChild([] {
        TextList list(std::vector<Text>{"a"});
        (void)list[0];
    });
    EXPECT_EQ(below.exitCode, 0);
    EXPECT_TRUE(IsFatalErrorLine(below.errorOutput, 4));

    auto above = RunInChild([] {
        const TextList list(std::vector<Text>{"a"});
        (void)list[2];
    });
    EXPECT_EQ(above.exitCode, 0);
    EXPECT_TRUE(IsFatalErrorLine(above.errorOutput, 1));

    auto empty = RunInChild([] { (void)SplitText("")[1]; });
    EXPECT_TRUE(IsFatalErrorLine(empty.errorOutput, 1));
}

TEST(FatalError, BadReadBytesValueTypeCode) {
    for (int code : {0, 11, -3}) {
        auto r = RunInChild([code] { ReadBytesValue(ByteBuffer{1, 2, 3, 4}, code); });
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(IsFatalErrorLine(r.errorOutput, 100)) << "type code " << code;
    }
}

TEST(FatalError, ReporterReceivesCodePage936TextAndCaption) {
    auto r = RunInChild([] {
        SetMessageReporter([](const std::string& text, const std::string& caption) {
            const std::string line = "[" + caption + "|" + text + "]";
            WriteToStderr(line.c_str());
        });
        OutOfMemory();
    });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.errorOutput, std::string("[error|") + "内存不足" + "]");
}

TEST(FatalError, FailingInsideTheExitHookDoesNotLoop) {
    auto r = RunInChild([] {
        SetExitHook([] { FatalError(2, 1); });
        FatalError(3, 1);
    });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.errorOutput,
              "error: program internal error number is 3. (0x1h)\n"
              "error: program internal error number is 2. (0x1h)\n");
}

TEST(ExitProgram, RunsTheHookOnceAndKeepsTheCode) {
    auto r = RunInChild([] {
        SetExitHook([] { WriteToStderr("hook\n"); });
        ExitProgram(3);
    });
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.errorOutput, "hook\n");
}

TEST(OutOfMemory, FailedAllocationShowsMessageAndExits) {
    ASSERT_NE(std::get_new_handler(), nullptr);
    auto r = RunInChild([] {
        SetExitHook([] { WriteToStderr("hook\n"); });
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(SEEKER_TEST_UNDER_ASAN)
        // The sanitizers' allocators end the process themselves on a failed allocation,
        // so call the installed handler as operator new would.
        std::get_new_handler()();
#else
        void* block = ::operator new (std::size_t{1} << 62);
        ::operator delete(block);
#endif
    });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.errorOutput, ReportedLine("error", "内存不足") + "hook\n");
}

}  // namespace
}  // namespace rt
