seeker_add_fuzzer(NAME fuzz_site_rules
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_site_rules.cpp
  LIBS app_scraping)
