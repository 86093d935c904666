#include "protocol/receiver.h"

#include "protocol/commands.h"
#include "protocol/logging.h"

#include <algorithm>

namespace spk {

namespace {

int byteAt(const QByteArray &raw, int i)
{
    return int(std::uint8_t(raw.at(i)));
}

} // namespace

Receiver::Receiver(LinkState &state) : m_state(state) {}

void Receiver::setHandler(int command, ReplyHandler handler)
{
    if (command >= 0 && command < int(m_handlers.size())) m_handlers[command] = std::move(handler);
}

void Receiver::reset()
{
    m_assembler.reset();
    m_hidReplyActive = false;
    m_hidReportCount = 0;
}

void Receiver::serialArrival(const QByteArray &bytes)
{
    enqueue(m_assembler.take(bytes));
}

void Receiver::ShowRead(const QByteArray &report)
{
    if (m_hidReplyActive) {
        // Continuation of the pending reply: take only what the frame still lacks, so the last
        // report gives (length mod 64) + 2 bytes and a short report gives what it holds. The rest
        // of a report is padding.
        ++m_hidReportCount;
        QList<FrameAssembler::Piece> pieces = m_assembler.take(report.left(m_assembler.missing()));
        if (pieces.isEmpty()) return;
        reset();
        enqueue(std::move(pieces));
        return;
    }

    // A report outside a reply must start one: it holds the 10-byte header, the rest is dropped.
    m_assembler.reset();
    if (report.size() < FrameHeaderSize || byteAt(report, 0) != SyncByte) {
        qCDebug(lcProtocol) << "HID report outside a reply dropped:" << report.left(12).toHex(' ');
        return;
    }
    m_assembler.take(report.left(FrameHeaderSize));
    // A header announcing an impossible length, or not starting with the sync bytes, leaves nothing.
    if (!m_assembler.headerPending() || m_assembler.pending().size() != FrameHeaderSize) {
        m_assembler.reset();
        return;
    }
    m_hidReportCount = 0;
    m_hidReplyActive = true;
}

void Receiver::enqueue(QList<FrameAssembler::Piece> pieces)
{
    for (FrameAssembler::Piece &p : pieces)
        m_queue.push_back(std::move(p));
    dealwithdata();
}

void Receiver::dealwithdata()
{
    // A handler that waits in a nested event loop drains the queue from inside: still in order.
    while (!m_queue.empty()) {
        const FrameAssembler::Piece piece = std::move(m_queue.front());
        m_queue.pop_front();
        dispatch(piece);
    }
}

void Receiver::dispatch(const FrameAssembler::Piece &piece)
{
    const QByteArray &raw = piece.raw;
    m_header.ReplyDevId = byteAt(raw, 3);
    m_header.ReplyDir = byteAt(raw, 4);
    m_header.ReplySlot = byteAt(raw, 5);
    m_header.ReplyCmd = byteAt(raw, 6);
    m_header.ReplySub = byteAt(raw, 7);
    m_header.ReplyLength = byteAt(raw, 8) * 256 + byteAt(raw, 9);
    m_header.ReplyEnd = byteAt(raw, int(raw.size()) - 1);
    if (!piece.wellFormed) m_header.ReplyDir = 0;
    // Any complete frame is a sign of life, even one with a bad end byte.
    m_state.SilenceCount = 0;

    ReplyFrame frame = m_header;
    frame.hexText = raw.toHex().toUpper();
    frame.data = raw.mid(FrameHeaderSize, m_header.ReplyLength);

    if (frame.ReplyDir != DirReply) {
        qCDebug(lcProtocol) << "frame without reply direction or end byte dropped:" << frame.hexText.left(40);
        return;
    }
    const int cmd = frame.ReplyCmd;
    if (!m_handlers[cmd] || m_running[cmd]) {
        qCDebug(lcProtocol, "reply to command 0x%02X not dispatched (%s)", cmd,
                m_handlers[cmd] ? "its handler is still running" : "no handler");
        return;
    }
    const ReplyHandler handler = m_handlers[cmd];
    m_running[cmd] = true;
    ++m_dispatched;
    handler(frame);
    m_running[cmd] = false;
}

} // namespace spk
