tolvi_add_bench(bench_rtf ${CMAKE_CURRENT_LIST_DIR}/rtf_bench.cpp)
