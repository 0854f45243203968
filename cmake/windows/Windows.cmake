# What the Windows build adds to the project's settings: the wine prefix and
# emulator its tests run under, and GoogleTest built from source with the
# cross compiler.
set(SEEKER_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
set(SEEKER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# ctest and gtest_discover_tests run every Windows program through this.
set(CMAKE_CROSSCOMPILING_EMULATOR ${SEEKER_WINE_RUN} ${SEEKER_WINEPREFIX})
# The prefix is made now, once, rather than by the first test program run.
execute_process(COMMAND ${SEEKER_WINE_RUN} ${SEEKER_WINEPREFIX} cmd /c exit
  OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE wine_failed)
if(wine_failed)
  message(FATAL_ERROR "wine could not make the prefix ${SEEKER_WINEPREFIX}")
endif()
# Each ctest run of this tree has one wine server for all its programs.
set(wine_session ${CMAKE_CURRENT_LIST_DIR}/wine-session.sh)
file(WRITE ${CMAKE_BINARY_DIR}/CTestCustom.cmake
  "set(CTEST_CUSTOM_PRE_TEST \"\\\"${wine_session}\\\" \\\"${SEEKER_WINEPREFIX}\\\" begin\")\n"
  "set(CTEST_CUSTOM_POST_TEST \"\\\"${wine_session}\\\" \\\"${SEEKER_WINEPREFIX}\\\" end\")\n")

# libstdc++ has no futex on Windows: std::atomic<T>::wait, std::latch and the
# default std::counting_semaphore wait on a condition variable that their
# notify does not lock, so a wake-up can be lost and the waiter sleeps for
# good. std::stop_callback waits on such a semaphore when its thread ends it
# while another thread is running it (a stop arriving as a transfer ends);
# POSIX semaphores (winpthreads) lose nothing. Keep std::latch, std::barrier
# and atomic waits out of code built for Windows.
add_compile_definitions(_GLIBCXX_USE_POSIX_SEMAPHORE=1)

# Debian's googletest package holds the sources; find_package(GTest) then
# finds these targets instead of the build machine's libraries.
include(FetchContent)
set(SEEKER_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian's googletest package)")
FetchContent_Declare(GTest SOURCE_DIR ${SEEKER_GOOGLETEST_SOURCE} OVERRIDE_FIND_PACKAGE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
FetchContent_MakeAvailable(GTest)

# Google Benchmark likewise, from the sources scripts/install-deps unpacks;
# without them the Windows build has no benchmarks.
set(SEEKER_BENCHMARK_SOURCE /usr/local/src/benchmark CACHE PATH "Google Benchmark's sources (Debian's benchmark source package)")
if(SEEKER_BENCH AND NOT EXISTS ${SEEKER_BENCHMARK_SOURCE}/CMakeLists.txt)
  message(STATUS "Windows build leaves out bench/: no Google Benchmark sources in ${SEEKER_BENCHMARK_SOURCE}")
  set(SEEKER_BENCH OFF)
elseif(SEEKER_BENCH)
  FetchContent_Declare(benchmark SOURCE_DIR ${SEEKER_BENCHMARK_SOURCE} OVERRIDE_FIND_PACKAGE)
  set(BENCHMARK_ENABLE_TESTING OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
  set(BENCHMARK_ENABLE_WERROR OFF CACHE BOOL "" FORCE)
  FetchContent_MakeAvailable(benchmark)
endif()
