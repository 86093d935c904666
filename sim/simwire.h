#pragma once

#include "simfaults.h"

#include <deque>

namespace spk::sim {

// Times the device's replies on the line: 9600 baud 8N1 when pacing is on, the reply faults that
// concern timing (noise, split bursts, extra delay), one reply after another. Pure logic: the caller
// passes the time (milliseconds on any steady clock) and writes what take() hands out.
class SimWire
{
public:
    static constexpr double NominalByteMs = 10.0 * 1000.0 / 9600.0; // start, 8 data and stop bit
    static constexpr double NominalTurnaroundMs = 2.0;              // the device thinks briefly
    static constexpr int ChunkBytes = 16;                           // an adapter passes bytes on in packets

    void setPacing(bool on) { m_pacing = on; }
    bool pacing() const { return m_pacing; }

    // Queues a reply to a request of `requestBytes` bytes that was complete at `nowMs`.
    void send(const QByteArray &reply, double nowMs, const SimFaults &faults, int requestBytes);
    // The bytes whose time has come: one burst, or empty.
    QByteArray take(double nowMs);
    // When take() will next have bytes, or -1 when nothing is queued.
    double nextWake() const;
    bool idle() const { return m_queue.empty(); }
    void clear();

private:
    struct Segment
    {
        double startMs = 0;
        double byteMs = 0; // 0: the whole segment at once
        QByteArray bytes;
        int sent = 0;
        double dueOf(int count) const { return startMs + count * byteMs; }
    };

    bool m_pacing = true;
    std::deque<Segment> m_queue;
    double m_lineFree = 0;
};

} // namespace spk::sim
