target_sources(io PRIVATE
    link/delay.h link/delay.cpp
    link/logging.h link/logging.cpp
    link/portcatalog.h link/portcatalog.cpp
    link/portlistrefresh.h link/portlistrefresh.cpp
    link/serialdriver.h link/serialdriver.cpp
    link/transmitter.h link/transmitter.cpp
    link/transport.h link/transport.cpp
)
