#pragma once

// Receiver: the receive path and the dispatcher of reply frames.
//
//   serialArrival(bytes)   one serial read pass: every frame it completes is dispatched, in order
//   ShowRead(report)       one HID input report (data without its report ID)
//   setHandler(cmd, fn)    the Ack_* handler of a reply command; other commands are ignored
//   reset()                drop a partial frame, no pending HID reply (connect, link loss)
//
// Frames come out of a FrameAssembler: noise before, between and after frames is skipped, a read
// may complete several frames and a frame may span any number of reads. Over HID a reply is a
// header report (its first 10 bytes count) followed by data reports, of which only the bytes the
// frame still lacks are taken.
//
// A complete frame resets LinkState::SilenceCount, even with a bad end byte. Frames wait in one
// queue, so they are dispatched in arrival order even when a handler waits in a nested event loop
// (a modal dialog) and more bytes arrive meanwhile; a frame of a command whose handler is still
// running is not dispatched.
#include "protocol/frameassembler.h"
#include "protocol/linkstate.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>

namespace spk {

// A complete reply frame as handed to a handler.
struct ReplyFrame
{
    int ReplyDevId = 0;
    int ReplyDir = 0;
    int ReplySlot = 0;
    int ReplyCmd = 0;
    int ReplySub = 0;
    int ReplyLength = 0;
    int ReplyEnd = 0;
    QByteArray data;    // the ReplyLength data bytes
    QByteArray hexText; // the whole frame as upper-case hex, 2 x (ReplyLength + 12) characters

    std::span<const std::uint8_t> bytes() const
    {
        return {reinterpret_cast<const std::uint8_t *>(data.constData()), std::size_t(data.size())};
    }
};

using ReplyHandler = std::function<void(const ReplyFrame &)>;

class Receiver
{
public:
    // Bound of RxHexText: the longest frame, 652 bytes, is 1304 characters.
    static constexpr int MaxTextLength = 2000;

    explicit Receiver(LinkState &state);

    void setHandler(int command, ReplyHandler handler);

    void serialArrival(const QByteArray &bytes);
    void ShowRead(const QByteArray &report);
    void reset();

    // What is kept of a frame not yet complete, as upper-case hex.
    QByteArray RxHexText() const { return m_assembler.pending().toHex().toUpper(); }
    const FrameAssembler::Counters &counters() const { return m_assembler.counters(); }
    bool HidReplyActive() const { return m_hidReplyActive; }
    int HidReportCount() const { return m_hidReportCount; }

    // Header fields of the frame parsed last.
    int ReplyDevId() const { return m_header.ReplyDevId; }
    int ReplyDir() const { return m_header.ReplyDir; }
    int ReplySlot() const { return m_header.ReplySlot; }
    int ReplyCmd() const { return m_header.ReplyCmd; }
    int ReplySub() const { return m_header.ReplySub; }
    int ReplyLength() const { return m_header.ReplyLength; }
    int ReplyEnd() const { return m_header.ReplyEnd; }

    int dispatchedCount() const { return m_dispatched; }

private:
    void enqueue(QList<FrameAssembler::Piece> pieces);
    void dealwithdata(); // dispatches every waiting frame
    void dispatch(const FrameAssembler::Piece &piece);

    LinkState &m_state;
    std::array<ReplyHandler, 256> m_handlers;
    std::array<bool, 256> m_running{};
    FrameAssembler m_assembler;
    std::deque<FrameAssembler::Piece> m_queue;
    ReplyFrame m_header; // header fields only
    bool m_hidReplyActive = false;
    int m_hidReportCount = 0;
    int m_dispatched = 0;
};

} // namespace spk
