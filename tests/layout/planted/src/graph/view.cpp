// Never compiled: input for the layout_includes_planted test.
#include "graph/view.h"
#include "model/x.h"
#include <QWidget>

// #include "app/commented.h"
#include "app/mainwindow.h"
