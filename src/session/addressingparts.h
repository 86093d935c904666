#pragma once

#include "window/windowparts.h"

namespace spk {

class ConnectionController;
class Receiver;
class Transport;

// What the device addressing works with; all owned by the main window.
struct AddressingParts : WindowParts
{
    ConnectionController &connection;
    Transport &serial; // the search probes the RS-485 ports on it
    Receiver &receiver;
};

} // namespace spk
