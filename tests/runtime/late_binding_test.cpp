#include <gtest/gtest.h>

#include <cstdio>

#include "runtime/fatal.h"
#include "runtime/late_binding.h"
#include "runtime/system.h"
#include "tests/runtime/child_process.h"

namespace rt {
namespace {

using testing::ReportedLine;
using testing::RunInChild;

std::string ModulePath(const char* name) {
    return std::string(TEST_MODULE_DIR) + "/" + TEST_MODULE_PREFIX + name + TEST_MODULE_SUFFIX;
}

// Every binding happens in a child, so each test starts with no module bound.

TEST(LateBinding, ResolvesAndCallsThroughTheCell) {
    auto r = RunInChild([] {
        static const std::string kPath = ModulePath("rt_test_module_a");
        LateBound<int()> value(kPath.c_str(), "rt_test_module_value");
        std::fprintf(stderr, "%d %d\n", value(), value());
        ExitProgram(0);
    });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.errorOutput, "1 1\nunloaded a\n");
}

TEST(LateBinding, DoubledAtSignCutsTheName) {
    auto r = RunInChild([] {
        const std::string path = ModulePath("rt_test_module_b");
        void* plain = Bind(path, "rt_test_module_value");
        std::fprintf(stderr, "%d %d %d\n", Bind(path, "rt_test_module_value@@8") == plain,
                     Bind(path, "rt_test_module_value@@") == plain,
                     reinterpret_cast<int (*)()>(plain)());
        ExitProgram(0);
    });
    EXPECT_EQ(r.errorOutput, "1 1 2\nunloaded b\n");
}

// Windows modules export by ordinal too: the test modules' one function is
// ordinal 1 there.
TEST(LateBinding, HashAndDigitsNameAnOrdinal) {
#ifndef _WIN32
    GTEST_SKIP() << "shared objects export by name only";
#endif
    auto r = RunInChild([] {
        const std::string path = ModulePath("rt_test_module_b");
        std::fprintf(stderr, "%d\n", Bind(path, "#1") == Bind(path, "rt_test_module_value"));
        ExitProgram(0);
    });
    EXPECT_EQ(r.errorOutput, "1\nunloaded b\n");
}

TEST(LateBinding, ModuleAlreadyPresentIsUsedAsItIs) {
    auto r = RunInChild([] {
        void* fromBinder = Bind(TEST_PRESENT_MODULE, TEST_PRESENT_EXPORT);
        void* self = system::ReferencePresentModule(TEST_PRESENT_MODULE);
        std::fprintf(
            stderr, "%d\n",
            self != nullptr && fromBinder == system::FindExport(self, TEST_PRESENT_EXPORT));
        ExitProgram(0);
    });
    EXPECT_EQ(r.errorOutput, "1\n");
}

TEST(LateBinding, MissingModuleShowsMessageAndExits) {
    auto r = RunInChild([] { Bind("libno_such_module_here.so", "f"); });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.errorOutput,
              ReportedLine("DLL ERROR",
                           "同目录下无法找到DLL文件:\"libno_such_module_here.so\".请与作者联系."));
}

TEST(LateBinding, MissingExportShowsMessageAndExits) {
    const std::string path = ModulePath("rt_test_module_a");
    const std::vector<std::string> names = {
        "rt_no_such_function",
        "#9",                         // no such ordinal (none at all on Linux)
        "rt_test_module_value@x@@y",  // the first "@" is not doubled: no cut
    };
    for (const std::string& name : names) {
        auto r = RunInChild([&] { Bind(path, name); });
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.errorOutput, ReportedLine("DLL ERROR", "无法定位DLL文件:\"" + path +
                                                               "\"当中的\"" + name + "\"函数.") +
                                     "unloaded a\n")
            << name;
    }
}

TEST(LateBinding, LoadedModulesAreReleasedAfterTheHookInLoadingOrder) {
    // Modules c, d and e are used by this test only, so the child starts
    // with none of them loaded.
    auto r = RunInChild([] {
        // Module e is present before the binder sees it: it must stay loaded
        // until the process ends, after the binder's own modules are gone.
        void* e = system::LoadModule(ModulePath("rt_test_module_e"));
        Bind(ModulePath("rt_test_module_d"), "rt_test_module_value");
        Bind(ModulePath("rt_test_module_e"), "rt_test_module_value");
        Bind(ModulePath("rt_test_module_c"), "rt_test_module_value");
        Bind(ModulePath("rt_test_module_d"), "rt_test_module_value");  // not loaded again
        system::ReleaseModule(e);
        SetExitHook([] { fputs("hook\n", stderr); });
        ExitProgram(5);
    });
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_EQ(r.errorOutput, "hook\nunloaded d\nunloaded c\nunloaded e\n");
}

}  // namespace
}  // namespace rt
