spk_test(link_serial
    SOURCES
        unit/link/main.cpp
        unit/link/ptypair.h
        unit/link/tst_portcatalog.cpp
        unit/link/tst_serialdriver.cpp
        unit/link/tst_delay.cpp
        unit/link/tst_transmitter.cpp
        unit/link/tst_netline.cpp
        fakes/faketransport.h
        fakes/fakeportcatalog.h
    LIBS io
    TIMEOUT 60)
# The USB link: HID transport and read thread over the simulated device, the hidapi backend here.
spk_test(link_hid SOURCES unit/link/hidmain.cpp unit/link/tst_hid.cpp LIBS io simusb TIMEOUT 60)
