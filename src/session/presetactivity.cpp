#include "session/presetactivity.h"

#include "model/timing.h"
#include "session/connectioncontroller.h"
#include "session/devicesession.h"
#include "session/logging.h"
#include "window/editorstate.h"
#include "window/progressbox.h"

namespace spk {

namespace {
const char *kindName(PresetActivity::Kind kind)
{
    switch (kind) {
    case PresetActivity::Kind::Recall:
        return "preset recall";
    case PresetActivity::Kind::SaveOne:
        return "save this preset";
    case PresetActivity::Kind::LoadOne:
        return "load a preset";
    case PresetActivity::Kind::SaveAll:
        return "save all presets";
    case PresetActivity::Kind::LoadAll:
        return "load all presets";
    case PresetActivity::Kind::None:
        break;
    }
    return "nothing";
}
} // namespace

PresetActivity::PresetActivity(EditorState &state, ConnectionController &connection, ProgressBox &progress,
                               QObject *parent)
    : QObject(parent), m_state(state), m_connection(connection), m_progress(progress)
{
    m_giveUp.setSingleShot(true);
    connect(&m_giveUp, &QTimer::timeout, this, &PresetActivity::giveUp);
}

void PresetActivity::attach(DeviceSession &session)
{
    connect(&m_connection, &ConnectionController::linkOpened, this, [this] {
        m_sequenceDone = false;
        finish();
    });
    connect(&m_connection, &ConnectionController::linkClosed, this, [this] {
        m_sequenceDone = false;
        // The next link's first image is no export.
        m_state.ExportAfterRead = false;
        finish();
    });
    connect(&session, &DeviceSession::imageLoaded, this, &PresetActivity::imageLoaded);
}

bool PresetActivity::mayStart() const
{
    return m_connection.linkUp() && m_sequenceDone && m_kind == Kind::None &&
           !m_state.tmr_apply20grp.isActive() && !m_state.tmr_send20grp.isActive() &&
           !m_state.tmr_reseteq_in.isActive();
}

void PresetActivity::begin(Kind kind)
{
    m_giveUp.stop();
    m_kind = kind;
}

void PresetActivity::awaitReply(int ms)
{
    m_giveUp.start(scaled(ms));
}

void PresetActivity::finish()
{
    m_giveUp.stop();
    m_kind = Kind::None;
}

void PresetActivity::imageLoaded()
{
    m_sequenceDone = true;
    // The working image ends every exchange but the reading of all presets.
    if (m_kind != Kind::SaveAll) finish();
}

void PresetActivity::giveUp()
{
    const Kind kind = m_kind;
    finish();
    qCWarning(lcSession) << "no reply to" << kindName(kind)
                         << "in time; the send queue and the watchdog run again";
    m_state.ExportAfterRead = false;
    m_progress.close();
    if (m_connection.linkUp()) {
        m_state.tmr_pulseframe.start();
        m_state.tmr_disconnect.start();
    }
    emit gaveUp(kind);
}

} // namespace spk
