# Response math and graph drawing benchmarks (Google Benchmark). Run e.g.
#   build/bench/bench_filters   build/bench/bench_graph
find_package(benchmark REQUIRED)

# The graph's floor figure, shared with the window's drag benchmark.
add_library(spk_graphfloor STATIC filters/graphfloor.h filters/graphfloor.cpp)
target_include_directories(spk_graphfloor PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/filters)
target_link_libraries(spk_graphfloor PUBLIC ui)

add_executable(bench_filters filters/bench_filters.cpp filters/benchstats.h)
target_link_libraries(bench_filters PRIVATE core benchmark::benchmark)

add_executable(bench_graph filters/bench_graph.cpp filters/benchstats.h)
target_link_libraries(bench_graph PRIVATE spk_graphfloor benchmark::benchmark)
