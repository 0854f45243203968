seeker_add_fuzzer(NAME fuzz_image SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz_image.cpp LIBS gfx)
