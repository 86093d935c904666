# The editor against the simulator for a long time, with edits, recalls and faults:
#   build/bench/bench_soak [seconds] [time-scale] [samples]
add_executable(bench_soak soak/bench_soak.cpp)
target_include_directories(bench_soak PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_soak PRIVATE app sim Qt6::Test)
# One minute of it in the suite, under its own label: it fails only when the editor cannot connect
# again after a fault; the figures are in its output.
add_test(NAME soak_60s COMMAND bench_soak 60 0.05 6)
set_tests_properties(soak_60s PROPERTIES LABELS soak TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime/soak_60s")
