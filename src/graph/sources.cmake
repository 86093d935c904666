target_sources(ui PRIVATE
    graph/graphrenderer.h graph/graphrenderer.cpp
    graph/graphview.h graph/graphview.cpp
    graph/responsegraph.h graph/responsegraph.cpp
)
