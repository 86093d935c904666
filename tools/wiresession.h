#pragma once

#include "interrupt.h"

#include "link/hidtransport.h"
#include "link/serialdriver.h"
#include "link/transmitter.h"
#include "protocol/framebuilder.h"
#include "protocol/linkstate.h"
#include "protocol/receiver.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace spk::tool {

// One port and one device on it, driven with the editor's frame builders, transports and receive
// path: a serial port, or a processor on USB ("usb", "usb:PATH") through the HID transport. Requests wait for their reply on the event loop and return as soon as it is
// complete; a reply counts only when its command, slot and device ID byte are the ones asked for.
class WireSession : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Done, NoAnswer, Lost, Interrupted };

    static constexpr double ByteMs = 10.0 * 1000.0 / 9600.0; // 8N1 at 9600 baud
    static constexpr int AnySlot = -1;

    explicit WireSession(Interrupt &interrupt, QObject *parent = nullptr);
    ~WireSession() override;

    // A name from the port list (ttySIM0, usb:/dev/hidraw3), a device path, or "usb" for the only
    // processor on USB. False with error() set.
    bool open(const QString &port);
    void close();
    QString portName() const { return m_portName; }

    // Device ID 1..250 that the following frames address.
    void setDevice(int id) { m_state.DevIdByte = id - 1; }
    LinkState &state() { return m_state; }

    // How long a reply of replyLength data bytes may take after the request left: its wire time at
    // 9600 baud, the read settle, and a margin for a device that thinks (nominal ms, time-scaled).
    static int replyTimeout(int replyLength);
    // What this link has shown beyond the nominal times (thread hand-offs, a loaded machine), in
    // real ms: the latest a complete reply came after its nominal wire time. Added to every wait.
    int lateness() const { return m_lateMs; }

    // Whether a wait adds the link's margin to its budget. A probe's budget is already well beyond
    // its reply's wire time, and a reply later than it is still heard; its margin would only be
    // paid again by every ID that is not there.
    enum class Margin { Added, InBudget };
    // Sends the request up to `tries` times until the reply (command, slot) arrives. Each try waits
    // timeoutMs (time-scaled) plus the link's margin, and longer while bytes keep arriving.
    std::optional<ReplyFrame> request(const std::function<Frame()> &build, int command, int slot,
                                      int timeoutMs, int tries = 2, Margin margin = Margin::Added);
    bool send(const Frame &frame);
    bool sendBulk(const BulkWrite &bulk);
    // Waits ms (time-scaled) with the event loop running; false when the wait was cut short.
    bool pause(int ms);

    Outcome outcome() const { return m_outcome; }
    // The last request got bytes but no reply it could take: noise, a bad end byte, a broken frame.
    bool garbled() const { return m_outcome == Outcome::NoAnswer && m_bytesSeen > 0; }
    // The ID of a device that answered the last request under another ID than the one asked for
    // (the processor on USB answers whatever ID a frame carries, under its own).
    std::optional<int> answeredAs() const { return m_answeredAs; }
    // The IDs that answered `command` since the port opened, those too late for their request
    // included: a reply is never lost for being slow.
    QSet<int> heard(int command) const { return m_heard.value(command); }
    // Why the port did not open or went down.
    QString error() const { return m_error; }

private:
    enum class Wait { Reply, Probe, Pause };
    void wait(int timeoutMs, Wait kind);
    int marginMs() const;
    void onReply(const ReplyFrame &frame);
    void onFailed(const QString &reason);
    bool openUsb(const QString &port);
    // Ends the session on a refused write; false.
    bool refused();

    Interrupt &m_interrupt;
    LinkState m_state;
    SerialDriver m_driver;
    std::unique_ptr<HidTransport> m_usb;
    QString m_usbWriteError;
    Transmitter m_transmitter;
    Receiver m_receiver;
    QString m_portName;
    QString m_error;
    Outcome m_outcome = Outcome::Done;

    // The reply being waited for.
    int m_wantCommand = -1;
    int m_wantSlot = AnySlot;
    int m_wantIdByte = -1;
    std::optional<ReplyFrame> m_reply;
    qint64 m_bytesSeen = 0;
    QElapsedTimer m_sentAt;
    int m_txBytes = 0; // of the request in flight
    int m_lateMs = 0;
    std::optional<int> m_answeredAs;
    QHash<int, QSet<int>> m_heard;
    std::function<void()> m_wake;
};

} // namespace spk::tool
