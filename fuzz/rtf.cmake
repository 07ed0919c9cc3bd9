tolvi_add_fuzzer(fuzz_rtf ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_rtf.cpp)
