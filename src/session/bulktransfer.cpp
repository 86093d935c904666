#include "session/bulktransfer.h"

#include "link/transmitter.h"
#include "model/timing.h"
#include "presets/presetfile.h"
#include "protocol/framebuilder.h"
#include "protocol/receiver.h"
#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "window/editorstate.h"
#include "window/progressbox.h"

#include <QPointer>

#include <algorithm>

namespace spk {

BulkTransfer::BulkTransfer(const SessionParts &parts, PresetActivity &activity, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state), m_activity(activity)
{
}

void BulkTransfer::attach()
{
    m_parts.receiver.setHandler(CMD_Rw_20_Group, [this](const ReplyFrame &f) { Ack_Rw_20_Group_proc(f); });
    connect(&m_state.tmr_apply20grp, &QTimer::timeout, this, &BulkTransfer::tmr_apply20grpTimer);
    connect(&m_state.tmr_send20grp, &QTimer::timeout, this, &BulkTransfer::tmr_send20grpTimer);
    // The watchdog stops the timers; what was read or is left to write goes with the link.
    connect(&m_parts.connection, &ConnectionController::linkClosed, this, &BulkTransfer::forget);
    connect(&m_activity, &PresetActivity::gaveUp, this, [this](PresetActivity::Kind kind) {
        if (kind == PresetActivity::Kind::SaveAll) finishReading();
    });
}

void BulkTransfer::forget()
{
    m_read.fill(QByteArray());
    m_toWrite.clear();
    m_state.BulkIndex = 0;
}

void BulkTransfer::startReading()
{
    forget();
    m_activity.begin(PresetActivity::Kind::SaveAll);
    m_state.tmr_pulseframe.stop();
    m_parts.progress.startStepped();
    m_state.tmr_apply20grp.start();
}

void BulkTransfer::tmr_apply20grpTimer()
{
    if (!m_state.Link.Connected) return;
    const int preset = ++m_state.BulkIndex;
    if (!m_parts.transmitter.transmit(FrameBuilder::readRequest(m_state.Link, preset, CMD_Rw_20_Group, 0)))
        qCWarning(lcSession) << "read of preset" << preset << "not sent: the link took no frame";
    m_parts.progress.setBar(preset * BarStep);
    if (preset < PresetCount) return;
    m_state.tmr_apply20grp.stop();
    m_parts.progress.close();
    // The last reply gets the time every other one had. The watchdog runs all along: a lost reply
    // is reported and polling goes on, a silent device is dropped.
    m_activity.awaitReply(nominalInterval("tmr_apply20grp"));
}

void BulkTransfer::Ack_Rw_20_Group_proc(const ReplyFrame &reply)
{
    if (!m_parts.connection.linkUp()) return;
    const int preset = reply.ReplySlot;
    if (m_activity.kind() != PresetActivity::Kind::SaveAll) {
        qCDebug(lcSession) << "reply with preset" << preset << "while no presets are read: ignored";
        return;
    }
    if (reply.ReplyLength < ImageReplyLength || preset < 1 || preset > PresetCount) {
        qCWarning(lcSession) << "reply of" << reply.ReplyLength << "bytes for preset" << preset << "ignored";
        return;
    }
    m_read[preset - 1] = reply.hexText.left(PresetFile::RecordChars);
    // Replies come in the order asked for: once the last one is in, the others are in or lost.
    const bool all =
        std::none_of(m_read.begin(), m_read.end(), [](const QByteArray &r) { return r.isEmpty(); });
    if (m_state.BulkIndex >= PresetCount && (preset == PresetCount || all)) finishReading();
}

void BulkTransfer::finishReading()
{
    m_activity.replyArrived();
    QList<QByteArray> records;
    QList<int> missing;
    for (int k = 0; k < PresetCount; ++k) {
        if (m_read[k].isEmpty())
            missing << k + 1;
        else
            records << m_read[k];
    }
    forget();
    m_parts.progress.close();
    m_state.tmr_pulseframe.start();
    m_state.tmr_disconnect.stop();
    QPointer<BulkTransfer> self(this);
    emit presetsRead(records, missing);
    if (!self) return;
    if (m_parts.connection.linkUp()) {
        m_state.tmr_pulseframe.start();
        m_state.tmr_disconnect.start();
    }
    m_activity.finish();
}

void BulkTransfer::startWriting(const QList<QByteArray> &records)
{
    forget();
    for (const QByteArray &record : records)
        m_toWrite.append(PresetFile::imageOfRecord(record));
    m_activity.begin(PresetActivity::Kind::LoadAll);
    m_state.tmr_pulseframe.stop();
    m_state.tmr_disconnect.stop();
    m_parts.progress.startStepped();
    m_state.tmr_send20grp.start();
}

void BulkTransfer::tmr_send20grpTimer()
{
    if (!m_state.Link.Connected) return;
    m_state.tmr_pulseframe.stop();
    m_parts.progress.setBar(m_state.BulkIndex * BarStep);
    const int record = m_state.BulkIndex++;
    if (m_state.BulkIndex > PresetCount || record >= m_toWrite.size()) {
        // One tick after the last preset: read back what the device now holds.
        m_state.tmr_disconnect.stop();
        m_state.tmr_send20grp.stop();
        forget();
        if (!m_parts.connection.waitOnLink(ReReadWaitMs, this)) return;
        m_activity.awaitReply();
        // Every device took the writes; the picked one answers for them (no one answers ID 255).
        if (m_state.Link.Broadcast) m_state.Link.TargetOnce = true;
        if (!m_parts.transmitter.transmit(FrameBuilder::readRequest(m_state.Link, 0, CMD_R_20_Username, 0)))
            qCWarning(lcSession) << "names read after writing all presets not sent";
        return;
    }
    const BulkWrite bulk =
        FrameBuilder::bulkWrite(m_state.Link, m_state.BulkIndex, CMD_Rw_20_Group, m_toWrite[record]);
    m_bulkBuffer = bulk.BulkBuffer;
    if (!m_parts.transmitter.transmitBulk(bulk))
        qCWarning(lcSession) << "preset" << m_state.BulkIndex << "not written: the link took no frame";
}

} // namespace spk
