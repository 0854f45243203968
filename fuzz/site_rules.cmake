# The site rules as the program ships them: the scraping library's sources
# and headers, and the target's own marker pieces, in code page 936.
get_target_property(scraping_sources app_scraping SOURCES)
list(TRANSFORM scraping_sources PREPEND app/)
file(GLOB scraping_headers RELATIVE ${CMAKE_SOURCE_DIR}
  ${CMAKE_SOURCE_DIR}/app/scraping/*.h ${CMAKE_SOURCE_DIR}/app/sites/*.h)
seeker_cp936_copies(scraping_copies ${scraping_sources} ${scraping_headers})
add_library(app_scraping_cp936 STATIC ${scraping_copies})
target_include_directories(app_scraping_cp936 BEFORE PUBLIC ${SEEKER_CP936_DIR})
target_include_directories(app_scraping_cp936 PUBLIC
  ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/app/generated)
target_compile_options(app_scraping_cp936 PUBLIC -Wno-invalid-source-encoding)
target_link_libraries(app_scraping_cp936 PUBLIC runtime web)

seeker_cp936_copies(rules_fuzzer_copy fuzz/fuzz_site_rules.cpp)
seeker_add_fuzzer(NAME fuzz_site_rules SOURCES ${rules_fuzzer_copy} LIBS app_scraping_cp936)

# Its start-up check that the rules hold code-page-936 markers, on its own.
add_test(NAME fuzz_site_rules_cp936_markers COMMAND fuzz_site_rules -runs=0)

file(GLOB site_fixtures ${SEEKER_SITE_FIXTURES}/*.html)
seeker_fuzz_seeds(site_rules ${site_fixtures})
