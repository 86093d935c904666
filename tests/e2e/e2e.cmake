# The editor against the simulator on a real pseudo-terminal (window, port catalog, serial driver).
spk_test(tst_e2e_connect SOURCES e2e/tst_connect.cpp e2e/e2efixture.h gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app sim TIMEOUT 120)
spk_test(tst_e2e_presets SOURCES e2e/tst_presets.cpp e2e/e2efixture.h gui/windowfixture.h LIBS app sim TIMEOUT 240)
target_compile_definitions(tst_e2e_presets PRIVATE SPKTOOL_PATH="$<TARGET_FILE:spktool>")
add_dependencies(tst_e2e_presets spktool)
spk_test(tst_e2e_addressing SOURCES e2e/tst_addressing.cpp e2e/e2efixture.h gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app sim TIMEOUT 180)
