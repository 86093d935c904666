spk_test(tst_framebuilder SOURCES unit/tst_framebuilder.cpp LIBS core)
spk_test(tst_sendqueue SOURCES unit/tst_sendqueue.cpp LIBS core)
spk_test(tst_receiver SOURCES unit/tst_receiver.cpp LIBS core)
spk_test(tst_replies SOURCES unit/tst_replies.cpp LIBS core)
