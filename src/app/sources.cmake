target_sources(ui PRIVATE
    app/dialogs.h app/dialogs.cpp
    app/controllookup.h app/controllookup.cpp
    app/devicesession.h app/devicesession.cpp
    app/editorcontext.h
    app/editorstate.h app/editorstate.cpp
    app/eqpanelform.h app/eqpanelform.cpp
    app/fixedwidthlist.h app/fixedwidthlist.cpp
    app/formkit.h app/formkit.cpp
    app/handlertable.h app/handlertable.cpp
    app/ledindicator.h app/ledindicator.cpp
    app/levelpanelform.h app/levelpanelform.cpp
    app/linkpanelform.h app/linkpanelform.cpp
    app/mainform.h app/mainform.cpp
    app/mainwindow.h app/mainwindow.cpp
    app/meterdisplay.h app/meterdisplay.cpp
    app/prefetchportcatalog.h app/prefetchportcatalog.cpp
    app/progressbox.h app/progressbox.cpp
    app/startupprobe.h app/startupprobe.cpp
    app/statuspanels.h app/statuspanels.cpp
    app/warningwindow.h app/warningwindow.cpp
)
