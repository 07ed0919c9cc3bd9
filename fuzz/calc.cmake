tolvi_add_fuzzer(fuzz_evaluer ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_evaluer.cpp)
