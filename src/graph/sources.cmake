target_sources(ui PRIVATE
    graph/graphrenderer.h graph/graphrenderer.cpp
)
