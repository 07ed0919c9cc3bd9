tolvi_add_bench(bench_rope ${CMAKE_CURRENT_LIST_DIR}/rope_bench.cpp)
