target_sources(ui PRIVATE
    editors/buttonface.h editors/buttonface.cpp
    editors/crossovereqeditor.h editors/crossovereqeditor.cpp
    editors/leveldelayeditor.h editors/leveldelayeditor.cpp
    editors/spinbuttons.h editors/spinbuttons.cpp
    editors/valueedit.h editors/valueedit.cpp
    editors/valuestepper.h editors/valuestepper.cpp
)
