target_sources(ui PRIVATE
    session/bulktransfer.h session/bulktransfer.cpp
    session/addressingparts.h
    session/broadcast.h session/broadcast.cpp
    session/connectioncontroller.h session/connectioncontroller.cpp
    session/devicepresets.h session/devicepresets.cpp
    session/devicesession.h session/devicesession.cpp
    session/foundtable.h session/foundtable.cpp
    session/idchange.h session/idchange.cpp
    session/idsearch.h session/idsearch.cpp
    session/hidcontroller.h session/hidcontroller.cpp
    session/logging.h session/logging.cpp
    session/meterdisplay.h session/meterdisplay.cpp
    session/networkportadder.h session/networkportadder.cpp
    session/presetactivity.h session/presetactivity.cpp
    session/offlinefiles.h session/offlinefiles.cpp
    session/presetfiles.h session/presetfiles.cpp
)
