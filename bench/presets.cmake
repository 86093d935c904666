# Saving one preset over the paced 9600-baud line, click to file, against the wire time:
#   build/bench/bench_presets [runs]
add_executable(bench_presets presets/bench_presets.cpp)
target_include_directories(bench_presets PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_presets PRIVATE app sim)
