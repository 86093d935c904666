target_sources(core PRIVATE
    filters/channelresponse.h filters/channelresponse.cpp
    filters/crossovercurve.h filters/crossovercurve.cpp
    filters/eqcurve.h filters/eqcurve.cpp
    filters/graphgeometry.h filters/graphgeometry.cpp
    filters/outputprediction.h filters/outputprediction.cpp
    filters/section.h
    filters/vectorstate.h filters/vectorstate.cpp
)
