tolvi_add_bench(bench_pacing ${CMAKE_CURRENT_LIST_DIR}/pacing_bench.cpp)
