# The device ID search over two paced 9600-baud lines against its pacing, and the window's
# longest stall meanwhile:
#   build/bench/bench_idsearch [quick|full]
add_executable(bench_idsearch addressing/bench_idsearch.cpp)
target_include_directories(bench_idsearch PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_idsearch PRIVATE app sim)
