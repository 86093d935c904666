# Everything but main(), so that tests can run the commands in their own process (USB through the
# simulated HID backend).
add_library(spktool_commands STATIC
    exitcodes.h
    console.h console.cpp
    filecommands.h filecommands.cpp
    imagetext.h imagetext.cpp
    interrupt.h interrupt.cpp
    progress.h progress.cpp
    usbports.h usbports.cpp
    wireoptions.h wireoptions.cpp
    wiresession.h wiresession.cpp
    fleet.h fleet.cpp
    commands/commands.h
    commands/devicerun.h commands/devicerun.cpp
    commands/scan.cpp
    commands/backup.cpp
    commands/fleetjobs.h commands/fleetjobs.cpp
    commands/restore.cpp
    commands/workingpreset.cpp
    commands/meter.cpp
    commands/setid.cpp
)
# io for the serial driver, the HID transport and the port catalog; no window code.
target_link_libraries(spktool_commands PUBLIC core io)
target_include_directories(spktool_commands PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_executable(spktool main.cpp)
target_link_libraries(spktool PRIVATE spktool_commands)
set_source_files_properties(main.cpp PROPERTIES COMPILE_DEFINITIONS SPK_VERSION="${PROJECT_VERSION}")
