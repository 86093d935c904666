# spktool's device commands against the paced simulator, as ratios to the wire time:
#   build/bench/bench_spktool [runs]
add_executable(bench_spktool tool/bench_spktool.cpp)
target_link_libraries(bench_spktool PRIVATE Qt6::Core)
target_compile_definitions(bench_spktool PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>"
                                                 SPKSIM_PATH="$<TARGET_FILE:spksim>")
add_dependencies(bench_spktool spktool spksim)
