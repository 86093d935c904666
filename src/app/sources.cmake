target_sources(ui PRIVATE
    app/dialogs.h app/dialogs.cpp
)
