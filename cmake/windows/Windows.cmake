# What the Windows build adds to the project's settings: the wine prefix and
# emulator its tests run under, and GoogleTest built from source with the
# cross compiler.
set(SEEKER_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
set(SEEKER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# ctest and gtest_discover_tests run every Windows program through this.
set(CMAKE_CROSSCOMPILING_EMULATOR ${SEEKER_WINE_RUN} ${SEEKER_WINEPREFIX})

# Debian's googletest package holds the sources; find_package(GTest) then
# finds these targets instead of the build machine's libraries.
include(FetchContent)
set(SEEKER_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian's googletest package)")
FetchContent_Declare(GTest SOURCE_DIR ${SEEKER_GOOGLETEST_SOURCE} OVERRIDE_FIND_PACKAGE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
FetchContent_MakeAvailable(GTest)
