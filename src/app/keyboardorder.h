#pragma once

#include <QList>

class QMainWindow;
class QWidget;

namespace spk {

// The window without a mouse:
// - Tab follows the reading order: the connection bar, then the panels of the central widget, each
//   panel whole before the next, and inside a panel row by row, left to right (controls in a
//   layout in the layout's order);
// - a box that opens over the panels (EQ reset, device ID search, search result) takes the focus
//   to its first control while it is shown and gives it back when it closes;
// - F10 opens the menu bar's first menu.
class KeyboardOrder
{
public:
    static void apply(QMainWindow *window);
    // The focus stops under the roots in reading order (shown or not).
    static QList<QWidget *> readingOrder(const QList<QWidget *> &roots);
};

} // namespace spk
