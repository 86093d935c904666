#include "link/transmitter.h"

#include "link/serialdriver.h"

namespace spk {

Transmitter::Transmitter(LinkState &state, SerialDriver &serial) : m_state(state), m_serial(serial) {}

bool Transmitter::writeSerial(const QByteArray &bytes)
{
    return m_serial.WritePort(bytes);
}

bool Transmitter::transmit(const Frame &frame)
{
    if (!m_state.Connected || frame.isEmpty()) return false;
    ++m_sent;
    if (viaHid()) return m_hid(frame.hidReport);
    return writeSerial(frame.TxFrame);
}

bool Transmitter::transmitBulk(const BulkWrite &bulk)
{
    if (!m_state.Connected || bulk.isEmpty()) return false;
    ++m_sent;
    if (viaHid()) {
        if (!m_hid(bulk.header.hidReport)) return false;
        // A failed report abandons the rest of the data.
        for (const QByteArray &report : bulk.hidReports)
            if (!m_hid(report)) return false;
        return true;
    }
    return writeSerial(bulk.header.TxFrame) && writeSerial(bulk.TxFrame);
}

} // namespace spk
