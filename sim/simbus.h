#pragma once

#include "simdevice.h"
#include "simfaults.h"
#include "simstreamparser.h"

#include <QRandomGenerator>
#include <functional>
#include <memory>
#include <vector>

namespace spk::sim {

// Devices on one RS-485 line. A frame with ID byte b is taken by the device with ID b + 1; ID byte
// 255 is taken by every device and answered by none; nobody answers an unknown ID.
class SimBus
{
public:
    explicit SimBus(const QList<int> &ids = {1}, quint32 seed = 1);

    SimDevice *addDevice(int id);
    void removeDevice(int id);
    // The first device with this ID, or null.
    SimDevice *device(int id) const;
    QList<SimDevice *> devices() const;
    QList<int> ids() const;

    // One well-formed frame off the line; the replies it causes (after the reply faults).
    QList<QByteArray> handleFrame(const SimFrame &frame, const QByteArray &raw = {});
    // The same over USB, which is point to point: the first device takes a frame whatever its ID
    // byte, and still does not answer ID byte 255.
    QList<QByteArray> handleUsbFrame(const SimFrame &frame, const QByteArray &raw = {});
    // Raw serial bytes in chunks of any size; the replies of every frame completed by them.
    QList<QByteArray> receiveBytes(const QByteArray &bytes);
    // A partial frame is dropped (the far end went away or fell silent mid-frame).
    void resetStream() { m_parser.reset(); }
    const SimStreamParser &parser() const { return m_parser; }

    SimFaults &faults() { return m_faults; }
    const SimFaults &faults() const { return m_faults; }

    // The last RecordLimit well-formed frames received, in order, and replies produced (as sent,
    // faults applied): what a test looks at, bounded so that a long-running simulator does not grow.
    static constexpr qsizetype RecordLimit = 4096;
    const QList<QByteArray> &receivedFrames() const { return m_received; }
    const QList<QByteArray> &sentFrames() const { return m_sent; }
    void clearRecords();
    // spksim keeps no record (its frame log is the --log file).
    void setRecording(bool on) { m_recording = on; }

    // Called for every frame received ('r') and every reply produced ('t').
    std::function<void(char direction, const QByteArray &frame)> observer;

    quint64 changeCount() const;

private:
    QList<QByteArray> deliver(const SimFrame &frame, const QByteArray &raw,
                              const QList<SimDevice *> &targets);
    QByteArray applyReplyFaults(QByteArray reply);

    std::vector<std::unique_ptr<SimDevice>> m_devices;
    SimStreamParser m_parser;
    SimFaults m_faults;
    QRandomGenerator m_random;
    quint32 m_seed;
    void record(QList<QByteArray> &list, const QByteArray &frame);

    QList<QByteArray> m_received;
    QList<QByteArray> m_sent;
    bool m_recording = true;
};

} // namespace spk::sim
