spk_test(tst_valuetext SOURCES unit/tst_valuetext.cpp LIBS core)
spk_test(tst_modeldata SOURCES unit/tst_modeldata.cpp LIBS core)
