# The editor against the simulator on a real pseudo-terminal (window, port catalog, serial driver).
spk_test(tst_e2e_connect SOURCES e2e/tst_connect.cpp e2e/e2efixture.h gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app sim TIMEOUT 120)
# spktool's device commands, run as a program against the simulator in the test's process.
spk_test(tst_spktool_wire SOURCES e2e/tst_spktool_wire.cpp LIBS sim core TIMEOUT 180)
target_compile_definitions(tst_spktool_wire PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>")
add_dependencies(tst_spktool_wire spktool)
