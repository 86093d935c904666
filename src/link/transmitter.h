#pragma once

#include "protocol/framebuilder.h"
#include "protocol/linkstate.h"

#include <QByteArray>

#include <functional>

namespace spk {

class SerialDriver;

// Hands built frames to the link that is up: as HID reports when the link is USB and a HID writer
// is set, else as serial bytes. Nothing goes out while not Connected or for an empty frame.
class Transmitter
{
public:
    // Writes one 65-byte output report; false when the write failed.
    using HidWriter = std::function<bool(const QByteArray &report)>;

    Transmitter(LinkState &state, SerialDriver &serial);

    // The USB link's writer; unset (or null) while there is none.
    void setHidWriter(HidWriter writer) { m_hid = std::move(writer); }

    bool transmit(const Frame &frame);
    // A 640-byte write: the header on its own, then the rest in one serial write or as the
    // bulk reports.
    bool transmitBulk(const BulkWrite &bulk);

    // Frames handed to a link since start; for tests and benches.
    int sentCount() const { return m_sent; }

private:
    bool viaHid() const { return m_state.UsbMode && m_hid; }
    bool writeSerial(const QByteArray &bytes);

    LinkState &m_state;
    SerialDriver &m_serial;
    HidWriter m_hid;
    int m_sent = 0;
};

} // namespace spk
