#include "session/devicesession.h"

#include "link/transmitter.h"
#include "protocol/commands.h"
#include "protocol/framebuilder.h"
#include "protocol/meter.h"
#include "protocol/receiver.h"
#include "protocol/replies.h"
#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "window/controllookup.h"
#include "window/dialogs.h"
#include "window/editorstate.h"
#include "window/progressbox.h"
#include "window/warningwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace spk {

DeviceSession::DeviceSession(const SessionParts &parts, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state),
      m_queue(parts.state.Link, parts.state.DirtyFlags, parts.state.ParamImage, parts.state.SysData,
              parts.state.PresetNames),
      m_meter(parts.controls, parts.status)
{
}

void DeviceSession::attach()
{
    Receiver &r = m_parts.receiver;
    r.setHandler(CMD_Version, [this](const ReplyFrame &f) { Ack_Rcv_version_proc(f); });
    r.setHandler(CMD_R_20_Username, [this](const ReplyFrame &f) { Ack_R_20_Username_proc(f); });
    r.setHandler(CMD_R_AllSysData, [this](const ReplyFrame &f) { Ack_R_AllSysData_proc(f); });
    r.setHandler(CMD_RW_One_Group, [this](const ReplyFrame &f) { Ack_RW_One_Group_proc(f); });
    r.setHandler(CMD_Meter, [this](const ReplyFrame &f) { Ack_Meter_proc(f); });
    // CMD_Rw_20_Group (Ack_Rw_20_Group_proc) is registered by BulkTransfer.
    connect(&m_state.tmr_pulseframe, &QTimer::timeout, this, &DeviceSession::tmr_pulseframeTimer);
}

bool DeviceSession::Send_Readcmd_tomcu(int slot, int command, int sub)
{
    // Each read of the chain follows a reply, which only the picked device sends: a broadcast read
    // would go unanswered and the chain would stop there.
    if (m_state.Link.Broadcast) m_state.Link.TargetOnce = true;
    return m_parts.transmitter.transmit(FrameBuilder::readRequest(m_state.Link, slot, command, sub));
}

void DeviceSession::Ack_Rcv_version_proc(const ReplyFrame &reply)
{
    ConnectionController &connection = m_parts.connection;
    if (connection.closing()) return;
    // Any other text ends the sequence here; the watchdog then drops the silent link.
    if (!versionMatches(reply.bytes())) return;
    m_state.tmr_hidreconnect.stop();
    m_state.Link.VersionOk = true;
    if (connection.hidDeviceChosen && connection.hidDeviceChosen() && !m_state.Link.Connected) {
        if (m_parts.warning) m_parts.warning->close();
        connection.btn_connectClick();
    }
    if (m_parts.warning) m_parts.warning->close();
    Send_Readcmd_tomcu(0, CMD_R_20_Username, 0);
}

void DeviceSession::Ack_R_20_Username_proc(const ReplyFrame &reply)
{
    if (!m_parts.connection.linkUp()) return;
    const std::optional<QStringList> items = decodeNames(reply.bytes(), m_state.PresetNames);
    if (!items) return;
    auto *load = m_parts.controls.require<QComboBox>(QStringLiteral("cbb_load2dev"));
    for (int i = 0; i < items->size(); ++i) {
        if (i < load->count())
            load->setItemText(i, items->at(i));
        else
            load->addItem(items->at(i));
    }
    Send_Readcmd_tomcu(0, CMD_R_AllSysData, 0);
}

void DeviceSession::Ack_R_AllSysData_proc(const ReplyFrame &reply)
{
    if (!m_parts.connection.linkUp()) return;
    const std::optional<SysDataView> view =
        decodeSysData(reply.bytes(), m_state.SysData, m_state.PresetNames);
    if (!view) return;
    ControlLookup &c = m_parts.controls;
    c.require<QComboBox>(QStringLiteral("cbb_load2dev"))->setCurrentIndex(view->load2devIndex);
    c.require<QComboBox>(QStringLiteral("cbb_save2dev"))->setCurrentIndex(view->save2devIndex);
    c.require<QLabel>(QStringLiteral("lbl_lastgroup"))->setText(view->lastGroupText);
    c.require<QLineEdit>(QStringLiteral("edt_save2dev"))->setText(view->save2devText);
    Send_Readcmd_tomcu(0, CMD_RW_One_Group, 0);
}

void DeviceSession::Ack_RW_One_Group_proc(const ReplyFrame &reply)
{
    ConnectionController &connection = m_parts.connection;
    if (!connection.linkUp()) return;
    if (!decodeImage(reply.bytes(), m_state.ParamImage)) return;

    m_state.Loading = true;
    if (m_parts.updataToComponent) m_parts.updataToComponent();
    // From here on every edit marks its record for the send queue.
    m_state.Loading = false;

    QPointer<DeviceSession> self(this);
    if (m_state.ExportAfterRead && exportAfterRead) {
        exportAfterRead(reply);
        if (!self) return;
    }
    m_state.ExportAfterRead = false;
    m_parts.progress.close();
    // The export's dialog may have outlasted the link.
    if (connection.linkUp()) {
        m_state.tmr_pulseframe.start();
        m_state.tmr_disconnect.start();
    }
    // The read went to one device; broadcast frames go to all again.
    if (m_state.Link.Broadcast) m_state.Link.DevIdByte = BroadcastIdByte;
    emit imageLoaded();
}

void DeviceSession::Ack_Meter_proc(const ReplyFrame &reply)
{
    // The ID search polls without a link of the editor's own, so only a closing link is ignored.
    if (m_parts.connection.closing()) return;
    if (const std::optional<MeterView> view = decodeMeter(m_state.Link, reply.bytes())) m_meter.show(*view);
    emit meterReplied(reply.ReplyDevId);
}

void DeviceSession::tmr_pulseframeTimer()
{
    if (!m_parts.connection.linkUp()) return;
    const SendStep step = m_queue.tick();
    switch (step.kind) {
    case SendKind::Nothing:
    case SendKind::Silent:
        return;
    case SendKind::PresetName:
        writePresetName(step.frame);
        return;
    case SendKind::Record:
    case SendKind::SystemRecord:
    case SendKind::MeterPoll:
        m_parts.transmitter.transmit(step.frame);
        return;
    }
}

void DeviceSession::writePresetName(const Frame &frame)
{
    m_state.tmr_pulseframe.stop();
    if (!m_parts.transmitter.transmit(frame)) {
        // Nothing was stored, so nothing is reported as saved.
        qCWarning(lcSession) << "preset name not written: the link took no frame";
        if (m_parts.connection.linkUp()) m_state.tmr_pulseframe.start();
        return;
    }
    // The device needs a moment to store the preset. Each wait may outlast the link, or the
    // window; nothing more goes out then.
    const quint64 link = m_parts.connection.linkGeneration();
    QPointer<DeviceSession> self(this);
    if (!m_parts.connection.waitOnLink(NameWriteWaitMs, this)) return;
    m_state.tmr_pulseframe.start();
    m_parts.dialogs.information(m_parts.window, QStringLiteral("Save success!!"));
    if (!self || !m_parts.connection.sameLink(link)) return;
    if (!m_parts.connection.waitOnLink(NameWriteWaitMs, this)) return;
    m_parts.transmitter.transmit(m_queue.afterNameWrite());
}

} // namespace spk
