# The editor against the simulator on a real pseudo-terminal (window, port catalog, serial driver).
spk_test(tst_e2e_connect SOURCES e2e/tst_connect.cpp e2e/e2efixture.h gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app simusb TIMEOUT 120)
spk_test(tst_e2e_presets SOURCES e2e/tst_presets.cpp e2e/e2efixture.h gui/windowfixture.h LIBS app simusb TIMEOUT 240)
target_compile_definitions(tst_e2e_presets PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>")
add_dependencies(tst_e2e_presets spktool)
spk_test(tst_e2e_addressing SOURCES e2e/tst_addressing.cpp e2e/e2efixture.h e2e/ser2net.h gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app simusb TIMEOUT 180)
# The editor on the USB link against the simulated HID device (its own read threads included).
spk_test(tst_e2e_usb SOURCES e2e/tst_usb.cpp gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app simusb TIMEOUT 120)
# spktool's device commands, run as a program against the simulator in the test's process.
spk_test(tst_spktool_wire SOURCES e2e/tst_spktool_wire.cpp LIBS sim core TIMEOUT 180)
target_compile_definitions(tst_spktool_wire PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>")
add_dependencies(tst_spktool_wire spktool)
# The same commands over USB, in this process against the simulated HID device.
spk_test(tst_spktool_usb SOURCES e2e/tst_spktool_usb.cpp LIBS spktool_commands simusb TIMEOUT 120)
# Connecting with a preset file open offline: take, send or cancel.
spk_test(tst_e2e_offline SOURCES e2e/tst_offline.cpp e2e/e2efixture.h gui/windowfixture.h LIBS app simusb TIMEOUT 120)
# Every simulator fault against every long operation.
spk_test(tst_e2e_faultmatrix SOURCES e2e/tst_faultmatrix.cpp e2e/e2efixture.h gui/windowfixture.h
         fakes/fakeportcatalog.h LIBS app simusb TIMEOUT 600)
# An output channel's edits, and an undo, on the wire to the simulator.
spk_test(tst_e2e_channels SOURCES e2e/tst_channels.cpp e2e/e2efixture.h gui/windowfixture.h LIBS app simusb
         TIMEOUT 120)
# spktool over network lines: spksim's TCP port and ser2net in front of its pty; fleet jobs.
spk_test(tst_spktool_net SOURCES e2e/tst_spktool_net.cpp e2e/ser2net.h LIBS sim core TIMEOUT 180)
target_compile_definitions(tst_spktool_net PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>")
add_dependencies(tst_spktool_net spktool)
# The editor on network lines added through its port list: spksim's TCP port, ser2net with RFC 2217.
spk_test(tst_e2e_netport SOURCES e2e/tst_netport.cpp e2e/e2efixture.h e2e/ser2net.h gui/windowfixture.h
         LIBS app simusb TIMEOUT 120)
# Connect, EQ edit, channel, recall and save with the keyboard alone.
spk_test(tst_e2e_keyboard SOURCES e2e/tst_keyboard.cpp e2e/e2efixture.h gui/windowfixture.h LIBS app simusb
         TIMEOUT 120)
# The window read over the accessibility bus under Xvfb (onatspibus.sh; skipped without the bus).
find_package(Qt6 QUIET COMPONENTS DBus)
if(TARGET Qt6::DBus)
    add_executable(tst_e2e_atspi e2e/tst_atspi.cpp e2e/e2efixture.h gui/windowfixture.h)
    target_link_libraries(tst_e2e_atspi PRIVATE Qt6::Test Qt6::DBus app simusb)
    target_include_directories(tst_e2e_atspi PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    add_test(NAME tst_e2e_atspi COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/onatspibus.sh $<TARGET_FILE:tst_e2e_atspi>)
    set_tests_properties(tst_e2e_atspi PROPERTIES TIMEOUT 120
        ENVIRONMENT "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime/tst_e2e_atspi")
endif()
