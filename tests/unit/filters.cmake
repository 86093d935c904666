spk_test(tst_crossover SOURCES unit/filters/tst_crossover.cpp unit/filters/analogreference.h LIBS core)
spk_test(tst_eqcurve SOURCES unit/filters/tst_eqcurve.cpp unit/filters/analogreference.h LIBS core)
spk_test(tst_channelresponse SOURCES unit/filters/tst_channelresponse.cpp LIBS core)
spk_test(tst_outputprediction SOURCES unit/filters/tst_outputprediction.cpp LIBS core)
