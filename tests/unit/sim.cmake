# The simulator: device and bus logic, wire and HID packing, pty server, the spksim program.
spk_test(tst_simdevice SOURCES unit/sim/tst_simdevice.cpp unit/sim/simtestframes.h LIBS sim core)
spk_test(tst_simwire SOURCES unit/sim/tst_simwire.cpp unit/sim/simtestframes.h LIBS sim core)
spk_test(tst_simserver SOURCES unit/sim/tst_simserver.cpp unit/sim/ptyclient.h unit/sim/simtestframes.h
         LIBS sim core TIMEOUT 60)
spk_test(tst_spksim SOURCES unit/sim/tst_spksim.cpp unit/sim/ptyclient.h unit/sim/simtestframes.h
         LIBS sim core TIMEOUT 60)
target_compile_definitions(tst_spksim PRIVATE SPKSIM_PATH="$<TARGET_FILE:spksim>")
add_dependencies(tst_spksim spksim)
# The editor's frame builders and receive path (core) against the simulator.
spk_test(tst_simprotocol SOURCES unit/sim/tst_simprotocol.cpp LIBS sim core)
