// A small shared module for the late-binding tests. It announces its
// unloading on stderr so that a test can see when and in which order it goes.
#include <unistd.h>

#include <cstring>

#ifndef TEST_MODULE_NAME
#error "TEST_MODULE_NAME must name the module"
#endif

#ifdef _WIN32
#define TEST_MODULE_EXPORT __declspec(dllexport)
#else
#define TEST_MODULE_EXPORT __attribute__((visibility("default")))
#endif

// NOLINTNEXTLINE(readability-identifier-naming): the exported name the tests look up
extern "C" TEST_MODULE_EXPORT int rt_test_module_value() { return TEST_MODULE_VALUE; }

namespace {

__attribute__((destructor)) void AnnounceUnload() {
    const char* line = "unloaded " TEST_MODULE_NAME "\n";
    (void)!write(STDERR_FILENO, line, std::strlen(line));
}

}  // namespace
