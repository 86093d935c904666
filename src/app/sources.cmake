target_sources(app PRIVATE
    app/addressform.h app/addressform.cpp
    app/channelselectorform.h app/channelselectorform.cpp
    app/commandline.h app/commandline.cpp
    app/eqpanelform.h app/eqpanelform.cpp
    app/fixedwidthlist.h app/fixedwidthlist.cpp
    app/formkit.h app/formkit.cpp
    app/keyboardorder.h app/keyboardorder.cpp
    app/levelpanelform.h app/levelpanelform.cpp
    app/linkpanelform.h app/linkpanelform.cpp
    app/mainform.h app/mainform.cpp
    app/mainwindow.h app/mainwindow.cpp
    app/overlayform.h app/overlayform.cpp
    app/prefetchportcatalog.h app/prefetchportcatalog.cpp
    app/startupprobe.h app/startupprobe.cpp
    app/usbform.h app/usbform.cpp
)

add_executable(spkedit app/main.cpp)
target_link_libraries(spkedit PRIVATE app)
target_compile_definitions(spkedit PRIVATE SPK_VERSION="${PROJECT_VERSION}")
