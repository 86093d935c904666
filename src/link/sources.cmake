target_sources(io PRIVATE
    link/delay.h link/delay.cpp
    link/hidapibackend.h link/hidapibackend.cpp
    link/hidbackend.h link/hidbackend.cpp
    link/hidreader.h link/hidreader.cpp
    link/hidtransport.h link/hidtransport.cpp
    link/logging.h link/logging.cpp
    link/netaddress.h link/netaddress.cpp
    link/netline.h link/netline.cpp
    link/portcatalog.h link/portcatalog.cpp
    link/portlistrefresh.h link/portlistrefresh.cpp
    link/serialdriver.h link/serialdriver.cpp
    link/telnetcodec.h link/telnetcodec.cpp
    link/transmitter.h link/transmitter.cpp
    link/transport.h link/transport.cpp
)
