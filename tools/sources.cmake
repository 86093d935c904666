add_executable(spktool
    main.cpp
    exitcodes.h
    console.h console.cpp
    filecommands.h filecommands.cpp
    imagetext.h imagetext.cpp
    interrupt.h interrupt.cpp
    progress.h progress.cpp
    wireoptions.h wireoptions.cpp
    wiresession.h wiresession.cpp
    commands/commands.h
    commands/devicerun.h commands/devicerun.cpp
    commands/scan.cpp
    commands/backup.cpp
    commands/restore.cpp
    commands/workingpreset.cpp
    commands/meter.cpp
    commands/setid.cpp
)
# io for the serial driver and the port catalog; no window code.
target_link_libraries(spktool PRIVATE core io)
set_source_files_properties(main.cpp PROPERTIES COMPILE_DEFINITIONS SPK_VERSION="${PROJECT_VERSION}")
