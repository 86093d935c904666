target_sources(ui PRIVATE
    graph/graphrenderer.h graph/graphrenderer.cpp
)
target_sources(ui PRIVATE
    graph/eqreset.h graph/eqreset.cpp
    graph/graphview.h graph/graphview.cpp
    graph/responsegraph.h graph/responsegraph.cpp
    graph/wheelrouter.h graph/wheelrouter.cpp
)
