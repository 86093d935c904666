target_sources(core PRIVATE
    presets/presetfile.h presets/presetfile.cpp
    presets/presetdocument.h presets/presetdocument.cpp
)
