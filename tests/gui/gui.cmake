spk_test(tst_windowstartup SOURCES gui/tst_windowstartup.cpp gui/windowfixture.h LIBS ui)
spk_test(tst_eqeditors SOURCES gui/tst_eqeditors.cpp gui/windowfixture.h LIBS ui)
spk_test(tst_leveldelay SOURCES gui/tst_leveldelay.cpp gui/windowfixture.h LIBS ui)
spk_test(tst_graphwindow SOURCES gui/tst_graphwindow.cpp gui/windowfixture.h LIBS ui)
