spk_test(tst_windowstartup SOURCES gui/tst_windowstartup.cpp gui/windowfixture.h LIBS ui)
