#include "protocol/frameassembler.h"

#include "protocol/commands.h"
#include "protocol/logging.h"

#include <algorithm>

namespace spk {

namespace {

constexpr char SyncBytes[] = {char(SyncByte), char(SyncByte), char(SyncByte)};
constexpr QByteArrayView Sync(SyncBytes, 3);

int lengthOf(const QByteArray &head)
{
    return int(quint8(head.at(8))) * 256 + int(quint8(head.at(9)));
}

// A run of more than three sync bytes (noise ending in A5) whose fourth byte cannot be a device ID
// byte of 0xA5, because no direction follows it: the frame starts one byte on.
bool startsLater(const QByteArray &head)
{
    const quint8 dir = quint8(head.at(4));
    return quint8(head.at(3)) == SyncByte && dir != DirWrite && dir != DirRead && dir != DirReply;
}

// How many bytes at the end of buffer may be the start of the sync bytes.
qsizetype syncPrefixAtEnd(const QByteArray &buffer)
{
    for (qsizetype n = std::min<qsizetype>(Sync.size() - 1, buffer.size()); n > 0; --n)
        if (Sync.startsWith(QByteArrayView(buffer).last(n))) return n;
    return 0;
}

} // namespace

void FrameAssembler::reset()
{
    m_buffer.clear();
}

bool FrameAssembler::headerPending() const
{
    return m_buffer.size() >= FrameHeaderSize && m_buffer.startsWith(Sync);
}

int FrameAssembler::missing() const
{
    if (!headerPending()) return 0;
    return std::max(0, lengthOf(m_buffer) + FrameOverhead - int(m_buffer.size()));
}

void FrameAssembler::dropNoise(qsizetype count)
{
    if (count <= 0) return;
    m_counters.noiseBytes += count;
    qCDebug(lcProtocol) << "noise dropped:" << count << "bytes" << m_buffer.left(std::min<qsizetype>(count, 20)).toHex(' ');
    m_buffer.remove(0, count);
}

QList<QByteArray> FrameAssembler::feed(QByteArrayView bytes)
{
    QList<QByteArray> frames;
    for (Piece &p : take(bytes))
        if (p.wellFormed) frames.append(std::move(p.raw));
    return frames;
}

QList<FrameAssembler::Piece> FrameAssembler::take(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    QList<Piece> out;
    for (;;) {
        const qsizetype sync = m_buffer.indexOf(Sync);
        if (sync < 0) {
            dropNoise(m_buffer.size() - syncPrefixAtEnd(m_buffer));
            break;
        }
        dropNoise(sync);
        if (m_buffer.size() < FrameHeaderSize) break;
        if (startsLater(m_buffer)) {
            dropNoise(1);
            continue;
        }
        const int length = lengthOf(m_buffer);
        if (length > MaxReplyLength) {
            // No frame is longer; waiting for its bytes would only swallow the frames after it.
            ++m_counters.badFrames;
            qCDebug(lcProtocol) << "header announcing" << length << "bytes dropped";
            dropNoise(1);
            continue;
        }
        const int total = length + FrameOverhead;
        if (m_buffer.size() < total) break;
        if (quint8(m_buffer.at(total - 1)) == EndByte) {
            ++m_counters.frames;
            out.append({m_buffer.left(total), true});
            m_buffer.remove(0, total);
            continue;
        }
        ++m_counters.badFrames;
        qCDebug(lcProtocol, "frame of %d bytes with end byte 0x%02X dropped", total,
                unsigned(quint8(m_buffer.at(total - 1))));
        out.append({m_buffer.left(total), false});
        // A frame may start inside the broken one (a reply that stopped short, then the next).
        dropNoise(1);
    }
    return out;
}

} // namespace spk
