target_sources(io PRIVATE
    link/transport.h link/transport.cpp
    link/delay.h link/delay.cpp
    link/portcatalog.h link/portcatalog.cpp
    link/portlistrefresh.h link/portlistrefresh.cpp
    link/serialdriver.h link/serialdriver.cpp
)
