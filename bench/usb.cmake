# The USB link over the simulated HID device: image read and main-thread stalls during a burst:
#   build/bench/bench_usb [runs] [burst-replies]
add_executable(bench_usb usb/bench_usb.cpp)
target_include_directories(bench_usb PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(bench_usb PRIVATE app simusb)
