seeker_add_fuzzer(NAME fuzz_web_encoding
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_web_encoding.cpp LIBS web runtime)
seeker_add_fuzzer(NAME fuzz_web_cookies
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_web_cookies.cpp LIBS web runtime)
seeker_add_fuzzer(NAME fuzz_web_url
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_web_url.cpp LIBS web runtime)
seeker_add_fuzzer(NAME fuzz_web_request
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_web_request.cpp LIBS web runtime)

