#pragma once

#include "simframe.h"

namespace spk::sim {

// Finds request frames in serial bytes that arrive in chunks of any size. Noise before a frame and
// frames that fail the end byte or checksum are skipped; the search resumes one byte after the
// false start, so a good frame hidden behind a broken one is still found.
class SimStreamParser
{
public:
    struct Result
    {
        SimFrame frame;
        QByteArray raw; // the frame's bytes as received
    };

    QList<Result> feed(const QByteArray &bytes);
    // Drops a partial frame (the line was idle too long, or the far end went away).
    void reset() { m_buffer.clear(); }

    int pending() const { return int(m_buffer.size()); }
    qint64 discarded() const { return m_discarded; }

private:
    QByteArray m_buffer;
    qint64 m_discarded = 0;
};

} // namespace spk::sim
