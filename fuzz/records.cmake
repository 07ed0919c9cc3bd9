# Record files: the record reader, the configuration decoder, the exercise decoder.
tolvi_add_fuzzer(fuzz_records ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_records.cpp)
tolvi_add_fuzzer(fuzz_config ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_config.cpp)
tolvi_add_fuzzer(fuzz_exercise ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_exercise.cpp)
