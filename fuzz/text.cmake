seeker_add_fuzzer(NAME fuzz_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_text.cpp LIBS runtime)
