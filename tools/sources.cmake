add_executable(spktool
    main.cpp
    imagetext.h imagetext.cpp
)
target_link_libraries(spktool PRIVATE core)
