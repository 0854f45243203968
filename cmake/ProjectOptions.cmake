# Compiler settings shared by every target of the project.

set(SEEKER_SANITIZE "" CACHE STRING "Sanitizer build: empty, address (ASan+UBSan) or thread (TSan)")
option(SEEKER_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
option(SEEKER_BENCH "Build the benchmarks in bench/" ON)
option(SEEKER_WERROR "Make compiler warnings errors (./scripts/test turns it on)" OFF)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

# Before the project's compiler options, which GoogleTest's sources do not take.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows/Windows.cmake)
endif()

add_compile_options(-Wall -Wextra)
set(CMAKE_COMPILE_WARNING_AS_ERROR ${SEEKER_WERROR})

# Every narrow literal is a code-page-936 text. Clang accepts only UTF-8 as the
# execution character set, so the clang-only fuzz build keeps UTF-8 literals;
# it looks for crashes and undefined behaviour, not for exact texts.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP936>)
  set(SEEKER_LITERALS_CP936 ON)
else()
  set(SEEKER_LITERALS_CP936 OFF)
endif()

if(SEEKER_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(SEEKER_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT SEEKER_SANITIZE STREQUAL "")
  message(FATAL_ERROR "SEEKER_SANITIZE must be empty, address or thread")
endif()

if(SEEKER_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Shared libraries are recorded only when something calls into them, so a
# program does not load (and relocate) what it never uses; Debian's GCC does
# not do this by default. -O1 gives the dynamic symbol table a tighter hash.
if(NOT WIN32)
  add_link_options(LINKER:--as-needed LINKER:-O1)
endif()

find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

# Adds a GoogleTest executable and registers its tests with ctest.
# seeker_add_test(NAME name SOURCES ... LIBS ... [LABELS ...] [LOCK resource])
# LOCK names what its tests use that other tests use too: they take turns.
function(seeker_add_test)
  cmake_parse_arguments(T "" "NAME;LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  include(GoogleTest)
  # A test that waits for an answer that never comes fails by name instead
  # of holding the whole run; the slowest take a few seconds under TSan.
  set(properties LABELS "${T_LABELS}" TIMEOUT 120)
  # Tests that drive a window manager or a whole program under Xvfb take
  # turns, so that timing-sensitive input is never starved by one another.
  if("x11" IN_LIST T_LABELS)
    list(APPEND properties RESOURCE_LOCK x_display)
  elseif(T_LOCK)
    list(APPEND properties RESOURCE_LOCK ${T_LOCK})
  endif()
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    # Each start under the emulator costs seconds (wine), so one process runs
    # the whole program; its output names each failed case ("[  FAILED  ]").
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_property(TEST ${T_NAME} PROPERTY LABELS ${T_LABELS})
    # The slowest takes under half a minute under wine on a busy machine.
    set_property(TEST ${T_NAME} PROPERTY TIMEOUT 120)
    if("x11" IN_LIST T_LABELS)
      set_property(TEST ${T_NAME} PROPERTY RESOURCE_LOCK x_display)
    elseif(T_LOCK)
      set_property(TEST ${T_NAME} PROPERTY RESOURCE_LOCK ${T_LOCK})
    endif()
  else()
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  endif()
endfunction()
