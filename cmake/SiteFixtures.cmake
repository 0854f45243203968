# The fixture pages of the site-rule tests and the rule fuzzer's seeds are
# written by make_fixtures.py into the build tree when the project is
# configured, and again whenever the script changes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(SEEKER_SITE_FIXTURES ${CMAKE_BINARY_DIR}/fixtures/sites)
set(fixture_script ${CMAKE_SOURCE_DIR}/tests/app/sites/make_fixtures.py)
execute_process(COMMAND ${Python3_EXECUTABLE} ${fixture_script} ${SEEKER_SITE_FIXTURES}
  RESULT_VARIABLE fixtures_failed)
if(fixtures_failed)
  message(FATAL_ERROR "make_fixtures.py failed: ${fixtures_failed}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${fixture_script})
