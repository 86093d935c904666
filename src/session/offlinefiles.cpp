#include "session/offlinefiles.h"

#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "session/presetactivity.h"
#include "session/presetfiles.h"
#include "window/dialogs.h"
#include "window/editorstate.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

#include <utility>

namespace spk {

namespace {
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

OfflineFiles::OfflineFiles(const SessionParts &parts, DeviceSession &session, PresetActivity &activity,
                           PresetFiles &files, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state), m_session(session), m_activity(activity),
      m_files(files)
{
}

QAction *OfflineFiles::action(const QString &name) const
{
    auto *a = m_parts.window->findChild<QAction *>(name);
    if (!a) qFatal("no menu item %s", qPrintable(name));
    return a;
}

void OfflineFiles::attach()
{
    m_baseTitle = m_parts.window->windowTitle();
    connect(action(QStringLiteral("Openpresetfile1")), &QAction::triggered, this,
            &OfflineFiles::Openpresetfile1Click);
    connect(action(QStringLiteral("Savepresetfile1")), &QAction::triggered, this,
            &OfflineFiles::Savepresetfile1Click);
    connect(action(QStringLiteral("Savepresetfileas1")), &QAction::triggered, this,
            &OfflineFiles::Savepresetfileas1Click);
    m_presetMenu = m_parts.window->findChild<QMenu *>(QStringLiteral("Presetinfile1"));
    if (!m_presetMenu) qFatal("no menu Presetinfile1");
    for (int n = 1; n <= PresetFile::PresetCount; ++n)
        connect(action(QStringLiteral("Presetinfile%1").arg(n)), &QAction::triggered, this,
                [this, n] { choosePreset(n); });

    m_state.edited = [this] { edited(); };
    ConnectionController &connection = m_parts.connection;
    connection.mayConnect = [this] { return mayConnect(); };
    connect(&connection, &ConnectionController::linkOpened, this, &OfflineFiles::linkOpened);
    connect(&connection, &ConnectionController::linkClosed, this, [this] {
        m_pendingSend.reset();
        updateItems();
    });
    // After the handlers of the first image, so the exchange may start.
    connect(&m_session, &DeviceSession::imageLoaded, this, &OfflineFiles::sendPending, Qt::QueuedConnection);
    updateItems();
}

bool OfflineFiles::offline() const
{
    return !m_state.Link.Connected;
}

bool OfflineFiles::openPath(const QString &path, int preset)
{
    if (!offline()) return false;
    return mayClose() && load(path, preset);
}

void OfflineFiles::Openpresetfile1Click()
{
    if (!offline() || !mayClose()) return;
    const QString path = m_parts.dialogs.openFile(
        m_parts.window, QStringLiteral("Preset files (*.sdat *.gdat);;One preset (*.sdat);;All presets (*.gdat)"),
        QStringLiteral("sdat"));
    // The dialog may have outlasted the time with no link.
    if (path.isEmpty() || !offline()) return;
    load(path, 1);
}

bool OfflineFiles::load(const QString &path, int preset)
{
    PresetDocument next;
    const PresetDocument::Result result = next.open(path, preset);
    switch (result.status) {
    case PresetFile::Status::Ok:
        break;
    case PresetFile::Status::Empty:
    case PresetFile::Status::Damaged:
        qCWarning(lcSession).noquote() << (result.status == PresetFile::Status::Empty
                                               ? "preset file refused as empty:"
                                               : "preset file refused as damaged:")
                                       << path;
        m_parts.dialogs.information(m_parts.window, QStringLiteral("File damaged."));
        return false;
    case PresetFile::Status::Unreadable:
        qCWarning(lcSession).noquote() << "preset file not read:" << path << result.error;
        m_parts.dialogs.information(m_parts.window,
                                    QStringLiteral("Could not read %1:\n%2.").arg(shown(path), result.error));
        return false;
    }
    m_doc = next;
    showDocument();
    return true;
}

bool OfflineFiles::Savepresetfile1Click()
{
    return saveTo(QString());
}

bool OfflineFiles::Savepresetfileas1Click()
{
    if (!offline() || !m_doc.isOpen()) return false;
    const bool group = m_doc.isGroup();
    const QString path = m_parts.dialogs.saveFile(
        m_parts.window, group ? QStringLiteral("All presets (*.gdat)") : QStringLiteral("One preset (*.sdat)"),
        group ? QStringLiteral("gdat") : QStringLiteral("sdat"), QFileInfo(m_doc.path()).fileName(), true);
    if (path.isEmpty()) return false;
    return saveTo(path);
}

bool OfflineFiles::saveTo(const QString &path)
{
    if (!offline() || !m_doc.isOpen()) return false;
    sync();
    const bool sameFile = path.isEmpty() || QFileInfo(path) == QFileInfo(m_doc.path());
    if (sameFile && m_doc.changedOnDisk()) {
        qCInfo(lcSession).noquote() << "preset file changed on disk since it was read:" << m_doc.path();
        if (!m_parts.dialogs.question(m_parts.window,
                                      QStringLiteral("%1 was changed by another program.\nOverwrite it?")
                                          .arg(shown(m_doc.path()))))
            return false;
    }
    const QString target = path.isEmpty() ? m_doc.path() : path;
    QString error;
    if (!m_doc.save(target, &error)) {
        qCWarning(lcSession).noquote() << "preset file not written:" << target << error;
        m_parts.dialogs.information(
            m_parts.window, QStringLiteral("Could not write %1:\n%2.\nThe file on disk was not changed.")
                                .arg(shown(target), error));
        return false;
    }
    showTitle();
    return true;
}

void OfflineFiles::choosePreset(int preset)
{
    if (!offline() || !m_doc.isGroup()) return;
    sync();
    if (m_doc.selectPreset(preset)) showDocument();
}

bool OfflineFiles::mayClose()
{
    if (!m_doc.isOpen()) return true;
    sync();
    if (!m_doc.isModified()) return true;
    const int answer = m_parts.dialogs.choose(
        m_parts.window,
        QStringLiteral("%1 has changes that are not saved.\nSave them?").arg(QFileInfo(m_doc.path()).fileName()),
        {QStringLiteral("Save"), QStringLiteral("Discard"), QStringLiteral("Cancel")});
    if (answer == 0) return saveTo(QString());
    return answer == 1;
}

bool OfflineFiles::mayConnect()
{
    m_onConnect = OnConnect::Ask;
    if (!m_doc.isOpen()) return true;
    sync();
    const int answer = m_parts.dialogs.choose(
        m_parts.window,
        QStringLiteral("%1 is open.\nTake the settings of the device, or send this preset to the device?")
            .arg(QFileInfo(m_doc.path()).fileName()),
        {QStringLiteral("Take the device's settings"), QStringLiteral("Send this preset"),
         QStringLiteral("Cancel")});
    if (answer == 0 && mayClose()) {
        m_onConnect = OnConnect::Take;
        return true;
    }
    if (answer == 1) {
        m_onConnect = OnConnect::Send;
        return true;
    }
    qCInfo(lcSession) << "connect cancelled: the preset file stays open";
    return false;
}

void OfflineFiles::linkOpened()
{
    // A refused open leaves the file open, edits and all.
    const OnConnect choice = std::exchange(m_onConnect, OnConnect::Ask);
    if (m_doc.isOpen() && choice == OnConnect::Send) m_pendingSend = m_doc.image();
    if (choice != OnConnect::Ask) {
        m_doc.close();
        showTitle();
    }
    updateItems();
}

void OfflineFiles::sendPending()
{
    if (!m_pendingSend) return;
    const PresetDocument::Image image = *m_pendingSend;
    m_pendingSend.reset();
    if (!m_activity.mayStart()) {
        qCWarning(lcSession) << "open preset not sent: another preset exchange runs";
        return;
    }
    m_files.loadImage(image);
}

void OfflineFiles::edited()
{
    if (!m_doc.isOpen() || !offline()) return;
    const bool was = m_doc.isModified();
    sync();
    if (was != m_doc.isModified()) showTitle();
}

void OfflineFiles::sync()
{
    if (m_doc.isOpen()) m_doc.setImage(m_state.ParamImage.bytes());
}

void OfflineFiles::showDocument()
{
    m_state.ParamImage.setBytes(m_doc.image());
    const bool loading = m_state.Loading;
    m_state.Loading = true;
    if (m_parts.updataToComponent) m_parts.updataToComponent();
    m_state.Loading = loading;
    showTitle();
    updateItems();
}

void OfflineFiles::showTitle()
{
    QWidget *w = m_parts.window;
    if (!m_doc.isOpen()) {
        w->setWindowTitle(m_baseTitle);
        w->setWindowModified(false);
        return;
    }
    QString name = QFileInfo(m_doc.path()).fileName();
    if (m_doc.isGroup()) name += QStringLiteral(", preset %1").arg(m_doc.preset());
    w->setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, m_baseTitle));
    w->setWindowModified(m_doc.isModified());
}

void OfflineFiles::updateItems()
{
    const bool free = offline();
    action(QStringLiteral("Openpresetfile1"))->setEnabled(free);
    action(QStringLiteral("Savepresetfile1"))->setEnabled(free && m_doc.isOpen());
    action(QStringLiteral("Savepresetfileas1"))->setEnabled(free && m_doc.isOpen());
    m_presetMenu->setEnabled(free && m_doc.isGroup());
    if (m_doc.isGroup()) action(QStringLiteral("Presetinfile%1").arg(m_doc.preset()))->setChecked(true);
}

} // namespace spk
