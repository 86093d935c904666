# A fleet backup (250 devices, 4 lines over TCP) against the slowest line's wire time:
#   build/bench/bench_fleet [time-scale]
add_executable(bench_fleet fleet/bench_fleet.cpp)
target_link_libraries(bench_fleet PRIVATE Qt6::Core)
target_compile_definitions(bench_fleet PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>"
                                               SPKSIM_PATH="$<TARGET_FILE:spksim>")
add_dependencies(bench_fleet spktool spksim)
