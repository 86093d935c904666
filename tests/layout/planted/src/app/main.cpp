// Never compiled: input for the layout_includes_planted test.
#include "graph/view.h"
#include "fakes/fakeport.h"
