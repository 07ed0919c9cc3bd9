tolvi_add_bench(bench_calc ${CMAKE_CURRENT_SOURCE_DIR}/calc_bench.cpp)
