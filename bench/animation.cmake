tolvi_add_bench(bench_animation ${CMAKE_CURRENT_LIST_DIR}/animation_bench.cpp)
