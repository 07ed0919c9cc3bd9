tolvi_add_bench(bench_real_rope ${CMAKE_CURRENT_LIST_DIR}/real_rope_bench.cpp)
