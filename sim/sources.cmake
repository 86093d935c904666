# sim: the simulator's logic (devices, line, wire timing, HID packing, pty and TCP servers); QtCore,
# QtNetwork and the model library only, never the editor's protocol code.
add_library(sim STATIC
    simframe.h simframe.cpp
    simstreamparser.h simstreamparser.cpp
    simmeter.h simmeter.cpp
    simdevice.h simdevice.cpp simfactory.cpp
    simfaults.h
    simbus.h simbus.cpp
    simhid.h simhid.cpp
    simwire.h simwire.cpp
    simline.h simline.cpp
    simlog.h simlog.cpp
    simstate.h simstate.cpp
    simports.h simports.cpp
    simpty.h simpty.cpp
    simptyserver.h simptyserver.cpp
    simtcpserver.h simtcpserver.cpp
    simoptions.h simoptions.cpp
)
target_include_directories(sim PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(sim PUBLIC Qt6::Core Qt6::Network model)

add_executable(spksim main.cpp)
target_link_libraries(spksim PRIVATE sim)
target_compile_definitions(spksim PRIVATE SPK_VERSION="${PROJECT_VERSION}")
