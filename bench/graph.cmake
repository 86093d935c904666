# The window's benchmarks: dragging an EQ point, and start-up against a minimal Qt window.
#   build/bench/bench_graphdrag [moves] [--overlay]     build/bench/bench_startup [runs]
add_executable(bench_graphdrag window/bench_graphdrag.cpp)
target_link_libraries(bench_graphdrag PRIVATE spk_graphfloor app Qt6::Test)
target_include_directories(bench_graphdrag PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

add_executable(bench_minimalwindow window/minimalwindow.cpp)
target_link_libraries(bench_minimalwindow PRIVATE app)

add_executable(bench_startup window/bench_startup.cpp)
target_link_libraries(bench_startup PRIVATE Qt6::Core)
target_compile_definitions(bench_startup PRIVATE SPKEDIT_PATH="$<TARGET_FILE:spkedit>"
                                                 MINIMAL_PATH="$<TARGET_FILE:bench_minimalwindow>")
add_dependencies(bench_startup spkedit bench_minimalwindow)

# Not a benchmark: the README's picture of the predicted outputs (build/bench/overlayshot FILE.png).
add_executable(overlayshot window/overlayshot.cpp)
target_link_libraries(overlayshot PRIVATE app Qt6::Test)
# Output channels and undo: drag on an output against the system's, undo and redo of one step.
#   build/bench/bench_undo [drags]
add_executable(bench_undo window/bench_undo.cpp)
target_link_libraries(bench_undo PRIVATE app Qt6::Test)
target_include_directories(bench_undo PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
