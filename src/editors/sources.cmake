target_sources(ui PRIVATE
    editors/accessibleeditors.h editors/accessibleeditors.cpp
    editors/buttonface.h editors/buttonface.cpp
    editors/channelview.h editors/channelview.cpp
    editors/crossovereqeditor.h editors/crossovereqeditor.cpp
    editors/editlabel.h editors/editlabel.cpp
    editors/editorcontext.h
    editors/editundo.h editors/editundo.cpp
    editors/eqreset.h editors/eqreset.cpp
    editors/graphkeys.h editors/graphkeys.cpp
    editors/leveldelayeditor.h editors/leveldelayeditor.cpp
    editors/pointdrag.h editors/pointdrag.cpp
    editors/recompute.h editors/recompute.cpp
    editors/spinbuttons.h editors/spinbuttons.cpp
    editors/valueedit.h editors/valueedit.cpp
    editors/valuestepper.h editors/valuestepper.cpp
    editors/wheelrouter.h editors/wheelrouter.cpp
)
