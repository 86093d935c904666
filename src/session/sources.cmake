target_sources(ui PRIVATE
    session/connectioncontroller.h session/connectioncontroller.cpp
    session/devicesession.h session/devicesession.cpp
    session/hidcontroller.h session/hidcontroller.cpp
    session/logging.h session/logging.cpp
    session/meterdisplay.h session/meterdisplay.cpp
)
