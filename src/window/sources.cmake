target_sources(ui PRIVATE
    window/accessibledisplays.h window/accessibledisplays.cpp
    window/accessiblelists.h window/accessiblelists.cpp
    window/accessibletext.h window/accessibletext.cpp
    window/connectionindicator.h window/connectionindicator.cpp
    window/controllookup.h window/controllookup.cpp
    window/dialogs.h window/dialogs.cpp
    window/editorstate.h window/editorstate.cpp
    window/edittargeting.h window/edittargeting.cpp
    window/handlertable.h window/handlertable.cpp
    window/ledindicator.h window/ledindicator.cpp
    window/logging.h window/logging.cpp
    window/networkportdialog.h window/networkportdialog.cpp
    window/progressbox.h window/progressbox.cpp
    window/statuspanels.h window/statuspanels.cpp
    window/warningwindow.h window/warningwindow.cpp
    window/windowparts.h
)
