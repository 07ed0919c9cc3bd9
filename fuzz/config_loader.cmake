# The configuration loader: any file loaded through the simulation's handlers.
tolvi_add_fuzzer(fuzz_config_loader ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_config_loader.cpp)
