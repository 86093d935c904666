# The editor against the simulator on a real pseudo-terminal (window, port catalog, serial driver).
spk_test(tst_e2e_connect SOURCES e2e/tst_connect.cpp e2e/e2efixture.h gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app sim TIMEOUT 120)
spk_test(tst_e2e_addressing SOURCES e2e/tst_addressing.cpp e2e/e2efixture.h gui/windowfixture.h fakes/fakeportcatalog.h
         LIBS app sim TIMEOUT 180)
