#pragma once

// Receiver: the receive text (RxHexText) and the dispatcher of reply frames.
//
//   serialArrival(bytes)   one serial read pass: append as hex, then dealwithdata()
//   ShowRead(report)       one HID input report (data without its report ID)
//   dealwithdata()         recognise, complete and dispatch one frame from the start of the text
//   setHandler(cmd, fn)    the Ack_* handler of a reply command; other commands are ignored
//   reset()                empty text, no pending HID reply (connect, link loss)
//
// A complete frame resets LinkState::SilenceCount, even with a bad end byte. Before its handler
// runs, the receive state is already clean and the handler gets the frame as a ReplyFrame, so
// bytes that arrive while the handler waits (a modal dialog) start a new text instead of
// re-dispatching the old one; a frame of the same command arriving meanwhile is not dispatched.
// Handlers need not clear the text: it is already empty when they run.
// Text is bounded to 2000 characters; headers announcing more than 640 data bytes are dropped.

#include "protocol/linkstate.h"

#include <QByteArray>
#include <array>
#include <cstdint>
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
    static constexpr int MaxTextLength = 2000;
    static constexpr int HeaderTextLength = 20;

    explicit Receiver(LinkState &state);

    void setHandler(int command, ReplyHandler handler);

    void serialArrival(const QByteArray &bytes);
    void ShowRead(const QByteArray &report);
    void dealwithdata();
    void reset();

    const QByteArray &RxHexText() const { return m_text; }
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
    static QByteArray hex(const QByteArray &bytes);
    bool parseHeader();
    int frameTextLength() const { return 2 * (m_header.ReplyLength + 12); }
    void clearText();

    LinkState &m_state;
    std::array<ReplyHandler, 256> m_handlers;
    std::array<bool, 256> m_running{};
    QByteArray m_text;
    ReplyFrame m_header; // header fields only
    bool m_hidReplyActive = false;
    int m_hidReportCount = 0;
    int m_dispatched = 0;
};

} // namespace spk
