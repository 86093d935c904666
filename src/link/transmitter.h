#pragma once

#include "protocol/framebuilder.h"
#include "protocol/linkstate.h"

namespace spk {

class Transport;

// Hands built frames to the link that is up: the USB transport while UsbMode is set and one is
// given (unless the serial one is the open one), else the serial one, in the form the transport takes (frame
// bytes or reports). Nothing goes out while not Connected or for an empty frame.
class Transmitter
{
public:
    Transmitter(LinkState &state, Transport &serial);

    // The USB link; null while there is none.
    void setUsbTransport(Transport *usb) { m_usb = usb; }

    bool transmit(const Frame &frame);
    // A 640-byte write: the header on its own, then the rest in one write or as the bulk reports.
    bool transmitBulk(const BulkWrite &bulk);

    // Frames handed to a link since start; for tests and benches.
    int sentCount() const { return m_sent; }

private:
    Transport &active() const;

    LinkState &m_state;
    Transport &m_serial;
    Transport *m_usb = nullptr;
    int m_sent = 0;
};

} // namespace spk
