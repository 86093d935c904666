#include "simwire.h"

#include "model/timing.h"

#include <algorithm>
#include <cmath>

namespace spk::sim {

namespace {
constexpr double Epsilon = 1e-6;
}

void SimWire::send(const QByteArray &reply, double nowMs, const SimFaults &faults, int requestBytes)
{
    if (reply.isEmpty()) return;
    const double byteMs = m_pacing ? scaledExact(NominalByteMs) : 0.0;
    double start = nowMs + scaledExact(faults.extraDelayMs);
    if (m_pacing) start += requestBytes * byteMs + scaledExact(NominalTurnaroundMs);
    start = std::max(start, m_lineFree);

    const int parts = std::clamp(faults.splitParts, 1, int(reply.size()));
    const int partSize = int((reply.size() + parts - 1) / parts);
    for (int i = 0, offset = 0; offset < reply.size(); ++i, offset += partSize) {
        Segment s;
        s.startMs = start;
        s.byteMs = byteMs;
        if (i == 0) s.bytes = faults.noise;
        s.bytes.append(reply.mid(offset, partSize));
        start = s.dueOf(int(s.bytes.size()));
        m_lineFree = start;
        m_queue.push_back(s);
        start += scaledExact(faults.splitGapMs);
    }
}

QByteArray SimWire::take(double nowMs)
{
    QByteArray out;
    while (!m_queue.empty()) {
        Segment &s = m_queue.front();
        int due = int(s.bytes.size());
        if (s.byteMs > 0)
            due = std::min(due, int(std::floor((nowMs - s.startMs) / s.byteMs + Epsilon)));
        else if (nowMs + Epsilon < s.startMs)
            due = 0;
        if (due <= s.sent) break;
        out.append(s.bytes.mid(s.sent, due - s.sent));
        s.sent = due;
        if (s.sent < s.bytes.size()) break;
        m_queue.pop_front();
    }
    return out;
}

double SimWire::nextWake() const
{
    if (m_queue.empty()) return -1;
    const Segment &s = m_queue.front();
    if (s.byteMs <= 0) return s.startMs;
    return s.dueOf(std::min(s.sent + ChunkBytes, int(s.bytes.size())));
}

void SimWire::clear()
{
    m_queue.clear();
    m_lineFree = 0;
}

} // namespace spk::sim
