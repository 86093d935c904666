#pragma once

#include <QRect>

class QMainWindow;
class QMenu;
class QMenuBar;
class QWidget;

namespace spk {

// The form of the main window: every control with its name, place and first text, as the
// window is laid out (747 x 765, fixed). Behaviour is attached afterwards by the editors.
class MainForm
{
public:
    // The row of the four preset file buttons under the panels.
    static constexpr QRect FileButtonsArea{4, 697, 739, 19};

    // The central widget with the panels, the confirmation and progress boxes and the focus sink.
    static QWidget *build(QMainWindow *window);
    static void buildMenu(QMenuBar *menu);

private:
    static void buildResetBox(QWidget *central);
    static void buildProgressBox(QWidget *central);
    static void buildBanner(QWidget *central);
    static void buildFileButtons(QWidget *central);
    // Open and save a preset file with no device: below the four transfer items.
    static void buildOfflineItems(QMenu *file);
};

} // namespace spk
