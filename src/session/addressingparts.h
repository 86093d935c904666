#pragma once

class QWidget;

namespace spk {

class ConnectionController;
class ControlLookup;
class Dialogs;
class EditorState;
class ProgressBox;
class Receiver;
class Transport;

// What the device addressing works with; all owned by the main window.
struct AddressingParts
{
    EditorState &state;
    ControlLookup &controls;
    Dialogs &dialogs;
    ProgressBox &progress;
    ConnectionController &connection;
    Transport &serial; // the search probes the RS-485 ports on it
    Receiver &receiver;
    QWidget *window; // parent of messages
};

} // namespace spk
