#include "protocol/receiver.h"

#include "protocol/commands.h"
#include "protocol/logging.h"

#include <algorithm>

namespace spk {

namespace {
constexpr QByteArrayView SyncText("A5A5A5");
}

Receiver::Receiver(LinkState &state) : m_state(state) {}

void Receiver::setHandler(int command, ReplyHandler handler)
{
    if (command >= 0 && command < int(m_handlers.size())) m_handlers[command] = std::move(handler);
}

QByteArray Receiver::hex(const QByteArray &bytes)
{
    return bytes.toHex().toUpper();
}

void Receiver::clearText()
{
    m_text.clear();
}

void Receiver::reset()
{
    m_text.clear();
    m_hidReplyActive = false;
    m_hidReportCount = 0;
}

void Receiver::serialArrival(const QByteArray &bytes)
{
    // Text past the bound would be thrown away whole anyway; never let it grow first.
    if (m_text.size() + 2 * bytes.size() > MaxTextLength) {
        qCDebug(lcProtocol) << "receive text past its bound, dropped:" << m_text.size() / 2 + bytes.size()
                            << "bytes";
        clearText();
        return;
    }
    m_text += hex(bytes);
    dealwithdata();
}

void Receiver::ShowRead(const QByteArray &report)
{
    if (m_hidReplyActive) {
        // Continuation of the pending reply: take only what the frame still lacks, so the last
        // report gives (length mod 64) + 2 bytes and a short report gives what it holds.
        const int missing = (frameTextLength() - int(m_text.size())) / 2;
        const int take = std::clamp(int(report.size()), 0, std::max(missing, 0));
        m_text += hex(report.left(take));
        ++m_hidReportCount;
        if (m_text.size() > MaxTextLength) {
            qCDebug(lcProtocol) << "HID reply past the text bound, dropped";
            reset();
            return;
        }
        if (m_text.size() >= frameTextLength()) dealwithdata();
        return;
    }

    // A report outside a reply must start one: it holds the 10-byte header, the rest is dropped.
    m_text.clear();
    if (report.size() < FrameHeaderSize || 2 * report.size() > MaxTextLength) return;
    const QByteArray header = hex(report.left(FrameHeaderSize));
    if (!header.startsWith(SyncText)) return;
    m_text = header;
    parseHeader();
    if (m_header.ReplyLength > MaxReplyLength) {
        m_text.clear();
        return;
    }
    m_hidReportCount = 0;
    m_hidReplyActive = true;
}

bool Receiver::parseHeader()
{
    if (m_text.size() < HeaderTextLength) return false;
    const QByteArray h = QByteArray::fromHex(m_text.left(HeaderTextLength));
    auto at = [&h](int i) { return int(std::uint8_t(h.at(i))); };
    m_header.ReplyDevId = at(3);
    m_header.ReplyDir = at(4);
    m_header.ReplySlot = at(5);
    m_header.ReplyCmd = at(6);
    m_header.ReplySub = at(7);
    m_header.ReplyLength = at(8) * 256 + at(9);
    return true;
}

void Receiver::dealwithdata()
{
    if (m_text.size() > MaxTextLength) m_text.clear();
    if (m_text.size() < SyncText.size()) {
        // A burst may end inside the sync bytes; anything else is noise.
        if (!SyncText.startsWith(m_text)) clearText();
        return;
    }
    if (!m_text.startsWith(SyncText)) {
        qCDebug(lcProtocol) << "noise dropped:" << m_text.left(40);
        clearText();
        return;
    }
    if (!parseHeader()) return; // the header has not all arrived yet
    // No reply is longer; such a header is noise and would only swallow the frames after it.
    if (m_header.ReplyLength > MaxReplyLength) {
        qCDebug(lcProtocol) << "header announcing" << m_header.ReplyLength << "bytes dropped";
        clearText();
        return;
    }
    const int frameLength = frameTextLength();
    if (m_text.size() < frameLength) return;

    m_header.ReplyEnd = m_text.mid(frameLength - 2, 2).toInt(nullptr, 16);
    if (m_header.ReplyEnd != EndByte) m_header.ReplyDir = 0;
    m_state.SilenceCount = 0;

    ReplyFrame frame = m_header;
    frame.hexText = m_text.left(frameLength);
    frame.data = QByteArray::fromHex(m_text.mid(HeaderTextLength, 2 * m_header.ReplyLength));

    // Clean before the handler runs: it may wait in a nested event loop while more bytes arrive.
    m_text.clear();
    m_hidReplyActive = false;

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
