target_sources(ui PRIVATE
    graph/curvesummary.h graph/curvesummary.cpp
    graph/graphrenderer.h graph/graphrenderer.cpp
    graph/graphview.h graph/graphview.cpp
    graph/responsegraph.h graph/responsegraph.cpp
)
