#pragma once

#include "window/windowparts.h"

#include "protocol/sendqueue.h"
#include "session/meterdisplay.h"

#include <QObject>

#include <functional>

namespace spk {

class ConnectionController;
class EditorState;
class Receiver;
class Transmitter;
struct Frame;
struct ReplyFrame;

// What the session works with; all owned by the main window.
struct SessionParts : WindowParts
{
    Receiver &receiver;
    Transmitter &transmitter;
    ConnectionController &connection;
    std::function<void()> updataToComponent; // image to controls
};

// The conversation with the device once a link is open: the replies of the connect sequence
// (version -> names -> system data -> working image), the send queue and meter poll on every
// tmr_pulseframe tick, and the meter display.
//
// Replies that arrive while the link is being closed change nothing.
class DeviceSession : public QObject
{
    Q_OBJECT
public:
    static constexpr int NameWriteWaitMs = 500;

    explicit DeviceSession(const SessionParts &parts, QObject *parent = nullptr);

    // Registers the reply handlers and the pulse timer.
    void attach();

    void Ack_Rcv_version_proc(const ReplyFrame &reply);
    void Ack_R_20_Username_proc(const ReplyFrame &reply);
    void Ack_R_AllSysData_proc(const ReplyFrame &reply);
    void Ack_RW_One_Group_proc(const ReplyFrame &reply);
    void Ack_Meter_proc(const ReplyFrame &reply);
    void tmr_pulseframeTimer();

    // A read request to the device; false when nothing went out.
    bool Send_Readcmd_tomcu(int slot, int command, int sub);

    SendQueue &sendQueue() { return m_queue; }

    // After an image reply with ExportAfterRead set: saves the reply to a one-preset file (PresetFiles;
    // runs its dialog, may stop and restart tmr_pulseframe).
    std::function<void(const ReplyFrame &reply)> exportAfterRead;

signals:
    // The working image arrived and is in the controls; the send queue runs.
    void imageLoaded();
    // A meter reply came, carrying this device ID byte (the ID search counts it).
    void meterReplied(int idByte);

private:
    void writePresetName(const Frame &frame);

    SessionParts m_parts;
    EditorState &m_state;
    SendQueue m_queue;
    MeterDisplay m_meter;
};

} // namespace spk
