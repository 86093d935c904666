#include "simptyserver.h"

#include "simports.h"

#include <QFileInfo>

#include "simstate.h"

namespace spk::sim {

namespace {
constexpr int ClientPollMs = 5;  // how soon a newly opened port is noticed
constexpr int SaveDelayMs = 200; // state is written this long after the last change
} // namespace

SimPtyServer::SimPtyServer(const QList<int> &ids, QObject *parent) : QObject(parent), m_line(ids)
{
    connect(&m_line, &SimLine::bytesOut, this, &SimPtyServer::writeMaster);
    connect(&m_line, &SimLine::frameReceived, this, [this](const QByteArray &f) { noteFrame('r', f); });
    connect(&m_line, &SimLine::frameSent, this, [this](const QByteArray &f) { noteFrame('t', f); });
    m_clientPoll.setInterval(ClientPollMs);
    connect(&m_clientPoll, &QTimer::timeout, this, &SimPtyServer::checkClient);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(SaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { saveState(); });
}

SimPtyServer::~SimPtyServer()
{
    stop();
    saveState();
}

QString SimPtyServer::portName() const
{
    return m_linkPath.isEmpty() ? QString() : QFileInfo(m_linkPath).fileName();
}

QList<QByteArray> SimPtyServer::receivedFrames(int command) const
{
    QList<QByteArray> out;
    for (const QByteArray &f : m_line.bus().receivedFrames())
        if (f.size() > 6 && quint8(f.at(6)) == command) out.append(f);
    return out;
}

bool SimPtyServer::start(QString *error)
{
    if (isRunning()) return true;
    if (!m_pty.open(error)) return false;
    m_slavePath = m_pty.slavePath();
    m_linkPath = SimPorts::publish(m_slavePath, error);
    if (m_linkPath.isEmpty()) {
        m_pty.close();
        m_slavePath.clear();
        return false;
    }
    m_readNotifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &SimPtyServer::readMaster);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &SimPtyServer::flushOutput);
    m_client = false;
    checkClient();
    emit started(portName());
    return true;
}

void SimPtyServer::stop()
{
    if (!isRunning()) return;
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_clientPoll.stop();
    m_line.clear();
    m_output.clear();
    SimPorts::unpublish(m_linkPath, m_slavePath);
    m_pty.close();
    m_linkPath.clear();
    m_slavePath.clear();
    if (m_saveTimer.isActive()) {
        m_saveTimer.stop();
        saveState();
    }
    setClient(false);
    emit stopped();
}

// A master without a slave reports a hang-up at every poll, so while nobody has the port open the
// read notifier rests and a short timer watches for the next open instead.
void SimPtyServer::checkClient()
{
    if (!isRunning()) return;
    const bool present = m_pty.clientPresent();
    m_readNotifier->setEnabled(present);
    if (present)
        m_clientPoll.stop();
    else
        m_clientPoll.start();
    setClient(present);
}

void SimPtyServer::setClient(bool present)
{
    if (present == m_client) return;
    m_client = present;
    emit clientConnectedChanged(present);
}

void SimPtyServer::readMaster()
{
    bool gone = false;
    const QByteArray bytes = m_pty.read(&gone);
    if (!bytes.isEmpty()) {
        m_line.writeBytes(bytes);
        if (!m_stateFile.isEmpty() && m_line.bus().changeCount() != m_savedChanges) m_saveTimer.start();
    }
    if (gone) {
        // The editor closed the port: whatever was still on its way is lost with it.
        m_line.clear();
        m_output.clear();
        m_writeNotifier->setEnabled(false);
        checkClient();
    }
}

void SimPtyServer::writeMaster(const QByteArray &burst)
{
    if (!isRunning() || !m_client) return;
    m_output.append(burst);
    flushOutput();
}

void SimPtyServer::flushOutput()
{
    if (!isRunning()) return;
    while (!m_output.isEmpty()) {
        const qsizetype n = m_pty.write(m_output);
        if (n < 0) {
            m_output.clear();
            break;
        }
        if (n == 0) break;
        m_output.remove(0, n);
    }
    m_writeNotifier->setEnabled(!m_output.isEmpty());
}

void SimPtyServer::noteFrame(char direction, const QByteArray &frame)
{
    m_log.write(m_line.elapsedMs() / 1000.0, direction, frame);
    if (direction == 'r')
        emit frameReceived(frame);
    else
        emit frameSent(frame);
}

bool SimPtyServer::setStateFile(const QString &path, QString *error)
{
    m_stateFile = path;
    if (path.isEmpty()) return true;
    if (!SimState::load(path, m_line.bus(), error)) {
        m_stateFile.clear(); // never overwrite a file that could not be read
        return false;
    }
    m_savedChanges = m_line.bus().changeCount();
    return true;
}

bool SimPtyServer::saveState(QString *error)
{
    m_saveTimer.stop();
    if (m_stateFile.isEmpty()) return true;
    if (!SimState::save(m_stateFile, m_line.bus(), error)) return false;
    m_savedChanges = m_line.bus().changeCount();
    return true;
}

bool SimPtyServer::setLogFile(const QString &path, QString *error)
{
    if (path.isEmpty()) {
        m_log.close();
        return true;
    }
    return m_log.open(path, error);
}

} // namespace spk::sim
