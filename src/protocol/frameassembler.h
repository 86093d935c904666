#pragma once

// FrameAssembler: frames out of a byte stream, however the stream was cut into reads.
//
//   A5 A5 A5 | id | dir | slot | cmd | sub | len hi | len lo | data[len] | checksum | AA
//
// It searches for the three sync bytes, so noise before, between and after frames costs only the
// noise; one read may carry several frames, and a frame may be split over any number of reads.
// A candidate whose length exceeds the longest frame, or whose end byte is not 0xAA, is dropped and
// its bytes after the first are searched again, so a frame behind a broken one is still found.
// Each complete frame is returned once. The checksum is not checked. No I/O: callers feed it.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace spk {

class FrameAssembler
{
public:
    struct Counters
    {
        qint64 frames = 0;     // well-formed frames returned
        qint64 noiseBytes = 0; // bytes that could not start a frame
        qint64 badFrames = 0;  // candidates dropped for their length or end byte
    };

    // A complete candidate: well-formed, or of the right length with a wrong end byte. Headers
    // announcing an impossible length are never returned.
    struct Piece
    {
        QByteArray raw;
        bool wellFormed = false;
    };

    // Appends bytes; returns every complete well-formed frame (raw bytes, first sync byte to end
    // byte), in order.
    QList<QByteArray> feed(QByteArrayView bytes);
    // The same, with the frames that came to their length but ended wrong, in order.
    QList<Piece> take(QByteArrayView bytes);
    void reset(); // drop a partial frame
    const Counters &counters() const { return m_counters; }

    // Bytes kept for a frame not yet complete (a sync prefix, or a frame's head).
    const QByteArray &pending() const { return m_buffer; }
    // True once a pending frame's header is in; missing() is then what it still lacks.
    bool headerPending() const;
    int missing() const;

private:
    void dropNoise(qsizetype count);

    QByteArray m_buffer;
    Counters m_counters;
};

} // namespace spk
