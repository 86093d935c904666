#pragma once

#include "simbus.h"
#include "simhid.h"
#include "simwire.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace spk::sim {

// A simulated line on the Qt event loop: what the editor writes goes in (serial bytes or HID
// reports), the devices' replies come out as signals, paced and faulted as configured. Output is
// always delivered from the event loop, never from inside a write call.
class SimLine : public QObject
{
    Q_OBJECT
public:
    // A partial frame older than this is dropped before new bytes are read.
    static constexpr int StaleInputMs = 1000;

    explicit SimLine(const QList<int> &ids = {1}, QObject *parent = nullptr);

    SimBus &bus() { return m_bus; }
    const SimBus &bus() const { return m_bus; }
    const SimStreamParser &parser() const { return m_parser; }
    SimFaults &faults() { return m_bus.faults(); }
    SimWire &wire() { return m_wire; }
    void setPacing(bool on) { m_wire.setPacing(on); }
    bool pacing() const { return m_wire.pacing(); }

    // Serial bytes from the editor, in chunks of any size.
    void writeBytes(const QByteArray &bytes);
    // One HID output report from the editor (65 bytes with report ID 0, or its 64 data bytes).
    void writeReport(const QByteArray &report);

    // Drops queued output and any partial input (the far end went away).
    void clear();
    bool idle() const { return m_wire.idle() && m_reports.isEmpty(); }
    // Milliseconds since the line was made; the frame log counts from here.
    double elapsedMs() const { return m_clock.nsecsElapsed() / 1e6; }

signals:
    // One burst of serial bytes for the editor.
    void bytesOut(const QByteArray &burst);
    // One HID input report for the editor: 64 data bytes, without report ID.
    void reportOut(const QByteArray &report);
    void frameReceived(const QByteArray &frame);
    void frameSent(const QByteArray &frame);

private:
    void pump();
    void schedule();
    void pumpReports();

    SimBus m_bus;
    SimWire m_wire;
    SimStreamParser m_parser;
    SimHidLink m_hid{&m_bus};
    QElapsedTimer m_clock;
    QTimer m_timer;
    QTimer m_reportTimer;
    QList<QByteArray> m_reports;
    double m_lastInputMs = -1e9;
};

} // namespace spk::sim
