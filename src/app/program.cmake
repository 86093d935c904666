add_executable(spkedit app/main.cpp)
target_link_libraries(spkedit PRIVATE ui)
