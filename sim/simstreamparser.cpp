#include "simstreamparser.h"

namespace spk::sim {

using namespace SimWireFormat;

QList<SimStreamParser::Result> SimStreamParser::feed(const QByteArray &bytes)
{
    m_buffer.append(bytes);
    QList<Result> found;
    static const QByteArray sync(3, char(Sync));
    for (;;) {
        const qsizetype start = m_buffer.indexOf(sync);
        if (start < 0) {
            // Keep a trailing sync byte or two: they may begin the next frame.
            qsizetype keep = 0;
            while (keep < 2 && keep < m_buffer.size() &&
                   quint8(m_buffer.at(m_buffer.size() - 1 - keep)) == Sync)
                ++keep;
            m_discarded += m_buffer.size() - keep;
            m_buffer.remove(0, m_buffer.size() - keep);
            return found;
        }
        if (start > 0) {
            m_discarded += start;
            m_buffer.remove(0, start);
        }
        if (m_buffer.size() < HeaderSize) return found;
        Result r;
        int length = 0;
        if (!simParseHeader(m_buffer, &r.frame, &length)) {
            ++m_discarded;
            m_buffer.remove(0, 1);
            continue;
        }
        const int total = length + Overhead;
        if (m_buffer.size() < total) return found;
        r.raw = m_buffer.left(total);
        const bool endOk = quint8(r.raw.at(total - 1)) == End;
        const bool sumOk = quint8(r.raw.at(total - 2)) == simChecksum(r.raw.left(total - 2));
        if (!endOk || !sumOk) {
            ++m_discarded;
            m_buffer.remove(0, 1);
            continue;
        }
        r.frame.data = r.raw.mid(HeaderSize, length);
        m_buffer.remove(0, total);
        found.append(r);
    }
}

} // namespace spk::sim
