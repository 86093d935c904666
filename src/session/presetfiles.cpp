#include "session/presetfiles.h"

#include "link/transmitter.h"
#include "protocol/framebuilder.h"
#include "protocol/receiver.h"
#include "session/bulktransfer.h"
#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "session/presetactivity.h"
#include "window/controllookup.h"
#include "window/dialogs.h"
#include "window/editorstate.h"
#include "window/progressbox.h"

#include <QAction>
#include <QDir>
#include <QPointer>
#include <QPushButton>

namespace spk {

namespace {
QString missingText(const QList<int> &missing)
{
    QStringList numbers;
    for (int n : missing)
        numbers << QString::number(n);
    const QString text = missing.size() == 1 ? QStringLiteral("Preset %1 did not arrive from the device.")
                                             : QStringLiteral("Presets %1 did not arrive from the device.");
    return text.arg(numbers.join(QStringLiteral(", "))) + QStringLiteral(" No file was saved.");
}
} // namespace

PresetFiles::PresetFiles(const SessionParts &parts, DeviceSession &session, PresetActivity &activity,
                         BulkTransfer &bulk, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state), m_session(session), m_activity(activity),
      m_bulk(bulk)
{
}

void PresetFiles::attach()
{
    using Handler = void (PresetFiles::*)();
    const struct
    {
        const char *button;
        const char *menuItem;
        Handler handler;
    } commands[] = {
        {"btn_save_onegrp2pc", "Savethispresettopc1", &PresetFiles::btn_save_onegrp2pcClick},
        {"btn_load_onegrp2pc", "Loadapresetfrompc1", &PresetFiles::btn_load_onegrp2pcClick},
        {"btn_save_20grp2pc", "Saveallpresetstopc1", &PresetFiles::btn_save_20grp2pcClick},
        {"btn_load_20grp2pc", "Loadallpresetsfrompc1", &PresetFiles::btn_load_20grp2pcClick},
    };
    for (const auto &c : commands) {
        connect(m_parts.controls.require<QPushButton>(QString::fromLatin1(c.button)), &QPushButton::clicked,
                this, c.handler);
        auto *item = m_parts.window->findChild<QAction *>(QString::fromLatin1(c.menuItem));
        if (!item) qFatal("no menu item %s", c.menuItem);
        connect(item, &QAction::triggered, this, c.handler);
    }
    m_session.exportAfterRead = [this](const ReplyFrame &reply) { saveOneAfterRead(reply); };
    connect(&m_bulk, &BulkTransfer::presetsRead, this, &PresetFiles::saveAll);
}

void PresetFiles::btn_save_onegrp2pcClick()
{
    if (!confirmed(QStringLiteral("Saving a Preset to PC.Do you want\nto proceed?"))) return;
    m_activity.begin(PresetActivity::Kind::SaveOne);
    m_state.tmr_pulseframe.stop();
    if (!m_parts.connection.waitOnLink(SaveSettleMs, this)) return;
    m_state.tmr_disconnect.stop();
    m_activity.awaitReply();
    m_state.ExportAfterRead = true;
    if (!m_parts.transmitter.transmit(FrameBuilder::readRequest(m_state.Link, 0, CMD_RW_One_Group, 0)))
        qCWarning(lcSession) << "image read for saving not sent: the link took no frame";
}

void PresetFiles::saveOneAfterRead(const ReplyFrame &reply)
{
    m_activity.replyArrived();
    m_state.tmr_pulseframe.start();
    const QString path = m_parts.dialogs.saveFile(m_parts.window, QStringLiteral("(*.sdat) (*.sdat)"),
                                                  QStringLiteral("sdat"), QStringLiteral("data_flie"), true);
    if (path.isEmpty()) return;
    m_state.tmr_pulseframe.stop();
    m_state.ExportAfterRead = false;
    QString error;
    const bool ok = PresetFile::writeSdat(path, reply.hexText.left(PresetFile::RecordChars), &error);
    written(ok, path, error);
}

void PresetFiles::btn_load_onegrp2pcClick()
{
    if (!confirmed(
            QStringLiteral("Loading a Preset will replace the active\nPreset.Do you want to proceed?")))
        return;
    const std::optional<QList<QByteArray>> records =
        open(QStringLiteral("*.sdat (*.sdat)"), QStringLiteral("sdat"), PresetFile::readSdat);
    // The dialog may have outlasted the link, or another command started meanwhile.
    if (!records || !m_activity.mayStart()) return;
    // The file's own header (another device's ID, its checksum) is not sent: the frame is built anew.
    loadImage(PresetFile::imageOfRecord(records->first()));
}

void PresetFiles::loadImage(std::span<const std::uint8_t, ImageSize> image)
{
    m_activity.begin(PresetActivity::Kind::LoadOne);
    m_activity.awaitReply();
    m_state.tmr_pulseframe.stop();
    m_state.tmr_disconnect.stop();
    m_parts.progress.start();
    if (!m_parts.transmitter.transmitBulk(FrameBuilder::bulkWrite(m_state.Link, 0, CMD_RW_One_Group, image)))
        qCWarning(lcSession) << "preset file not sent: the link took no frame";
    if (!m_parts.connection.waitOnLink(LoadWaitMs, this)) return;
    if (m_state.Link.Broadcast) m_state.Link.TargetOnce = true;
    if (!m_parts.transmitter.transmit(FrameBuilder::readRequest(m_state.Link, 0, CMD_RW_One_Group, 0)))
        qCWarning(lcSession) << "image read after loading a preset not sent";
}

void PresetFiles::btn_save_20grp2pcClick()
{
    if (!confirmed(QStringLiteral("Saving all Presets to PC.Do you\nwant to proceed?"))) return;
    m_bulk.startReading();
}

void PresetFiles::saveAll(const QList<QByteArray> &records, const QList<int> &missing)
{
    if (!missing.isEmpty()) {
        qCWarning(lcSession) << "all presets not saved: no reply for presets" << missing;
        m_parts.dialogs.information(m_parts.window, missingText(missing));
        return;
    }
    const QString path = m_parts.dialogs.saveFile(m_parts.window, QStringLiteral("(*.gdat) (*.gdat)"),
                                                  QStringLiteral("gdat"), QStringLiteral("grp_data1"), false);
    if (path.isEmpty()) return;
    m_state.tmr_pulseframe.stop();
    QString error;
    const bool ok = PresetFile::writeGdat(path, records, &error);
    written(ok, path, error);
}

void PresetFiles::btn_load_20grp2pcClick()
{
    if (!confirmed(QStringLiteral("Loading all Presets will overwrite all\npresets "
                                  "already stored in the unit.\nDo you want to proceed?")))
        return;
    const std::optional<QList<QByteArray>> records =
        open(QStringLiteral("*.gdat (*.gdat)"), QStringLiteral("gdat"), PresetFile::readGdat);
    if (!records || !m_activity.mayStart()) return;
    m_bulk.startWriting(*records);
}

bool PresetFiles::confirmed(const QString &question)
{
    // The link may have gone, or another command started, while the question was open.
    return m_activity.mayStart() && m_parts.dialogs.question(m_parts.window, question) &&
           m_activity.mayStart();
}

std::optional<QList<QByteArray>> PresetFiles::open(const QString &filter, const QString &suffix,
                                                   PresetFile::Content (*read)(const QString &))
{
    const QString path = m_parts.dialogs.openFile(m_parts.window, filter, suffix);
    if (path.isEmpty()) return std::nullopt;
    PresetFile::Content content = read(path);
    switch (content.status) {
    case PresetFile::Status::Ok:
        return content.records;
    case PresetFile::Status::Empty:
        return std::nullopt;
    case PresetFile::Status::Damaged:
        qCWarning(lcSession).noquote() << "preset file refused as damaged:" << path;
        m_parts.dialogs.information(m_parts.window, QStringLiteral("File damaged."));
        return std::nullopt;
    case PresetFile::Status::Unreadable:
        qCWarning(lcSession).noquote() << "preset file not read:" << path << content.error;
        m_parts.dialogs.information(m_parts.window,
                                    QStringLiteral("Could not read %1.").arg(QDir::toNativeSeparators(path)));
        return std::nullopt;
    }
    return std::nullopt;
}

void PresetFiles::written(bool ok, const QString &path, const QString &error)
{
    if (ok) return;
    qCWarning(lcSession).noquote() << "preset file not written:" << path << error;
    m_parts.dialogs.information(m_parts.window,
                                QStringLiteral("Could not write %1.").arg(QDir::toNativeSeparators(path)));
}

} // namespace spk
