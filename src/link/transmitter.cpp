#include "link/transmitter.h"

#include "link/transport.h"

namespace spk {

Transmitter::Transmitter(LinkState &state, Transport &serial) : m_state(state), m_serial(serial) {}

Transport &Transmitter::active() const
{
    // A USB device that arrives during a serial link sets UsbMode; the serial link carries on
    // until it is closed.
    return m_state.UsbMode && m_usb && (m_usb->isOpen() || !m_serial.isOpen()) ? *m_usb : m_serial;
}

bool Transmitter::transmit(const Frame &frame)
{
    if (!m_state.Connected || frame.isEmpty()) return false;
    ++m_sent;
    Transport &link = active();
    return link.write(link.framing() == Transport::Framing::Reports ? frame.hidReport : frame.TxFrame);
}

bool Transmitter::transmitBulk(const BulkWrite &bulk)
{
    if (!m_state.Connected || bulk.isEmpty()) return false;
    ++m_sent;
    Transport &link = active();
    if (link.framing() == Transport::Framing::Bytes)
        return link.write(bulk.header.TxFrame) && link.write(bulk.TxFrame);
    if (!link.write(bulk.header.hidReport)) return false;
    // A failed report abandons the rest of the data.
    for (const QByteArray &report : bulk.hidReports)
        if (!link.write(report)) return false;
    return true;
}

} // namespace spk
