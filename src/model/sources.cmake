target_sources(model PRIVATE
    model/dirtyflags.h
    model/layout.h model/layout.cpp
    model/paramimage.h model/paramimage.cpp
    model/sysdata.h model/sysdata.cpp
    model/tables.h model/tables.cpp
    model/timing.h model/timing.cpp
    model/valuetext.h model/valuetext.cpp
)
