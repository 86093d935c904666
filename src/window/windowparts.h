#pragma once

class QWidget;

namespace spk {

class ControlLookup;
class Dialogs;
class EditorState;
class ProgressBox;
class StatusPanels;
class WarningWindow;

// What every part that talks to a device works with on the window's side; all owned by the main
// window. The parts' own structs add their links and partners to it.
struct WindowParts
{
    EditorState &state;
    ControlLookup &controls;
    Dialogs &dialogs;
    ProgressBox &progress;
    StatusPanels &status;
    WarningWindow *warning;
    QWidget *window; // parent of messages; the warning window is centred on it
};

} // namespace spk
