# The connection logic works on the main window's state and controls, so it is built into ui.
target_sources(ui PRIVATE
    link/connectioncontroller.h link/connectioncontroller.cpp
    link/transmitter.h link/transmitter.cpp
)
