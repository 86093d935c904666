# Connecting over the paced 9600-baud line, and idle CPU while connected:
#   build/bench/bench_connect [runs] [idle-seconds]
add_executable(bench_connect connect/bench_connect.cpp)
target_include_directories(bench_connect PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_connect PRIVATE app sim)
target_compile_definitions(bench_connect PRIVATE SPKSIM_PATH="$<TARGET_FILE:spksim>")
add_dependencies(bench_connect spksim)
