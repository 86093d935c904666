target_sources(io PRIVATE
    link/transport.h link/transport.cpp
)
