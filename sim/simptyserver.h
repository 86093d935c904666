#pragma once

#include "simline.h"
#include "simlog.h"
#include "simpty.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

namespace spk::sim {

// Serves a simulated line on a pseudo-terminal published as ttySIM<n> in the ports folder, on the
// Qt event loop. The editor (or a test) opens the link like a USB-serial adapter; closing and
// reopening it is fine. stop() is unplugging: the pty closes and the link disappears.
class SimPtyServer : public QObject
{
    Q_OBJECT
public:
    explicit SimPtyServer(const QList<int> &ids = {1}, QObject *parent = nullptr);
    ~SimPtyServer() override;

    SimLine &line() { return m_line; }
    SimBus &bus() { return m_line.bus(); }
    SimFaults &faults() { return m_line.faults(); }
    SimDevice *device(int id) const { return m_line.bus().device(id); }
    void setPacing(bool on) { m_line.setPacing(on); }

    bool start(QString *error = nullptr);
    void stop();
    bool isRunning() const { return m_pty.isOpen(); }

    QString portName() const;                         // "ttySIM0"
    QString linkPath() const { return m_linkPath; }   // the link in the ports folder
    QString slavePath() const { return m_slavePath; } // "/dev/pts/7"
    // Whether the port is open on the other side right now.
    bool clientConnected() const { return m_client; }

    // Every well-formed frame received, in order; and every reply sent (faults applied).
    QList<QByteArray> receivedFrames() const { return m_line.bus().receivedFrames(); }
    QList<QByteArray> sentFrames() const { return m_line.bus().sentFrames(); }
    // The received frames of one command (frame byte 6).
    QList<QByteArray> receivedFrames(int command) const;
    void clearFrames() { m_line.bus().clearRecords(); }

    // Loads the devices' memory now if the file exists, then saves it shortly after every change and
    // on stop. An empty path turns saving off.
    bool setStateFile(const QString &path, QString *error = nullptr);
    bool saveState(QString *error = nullptr);
    bool setLogFile(const QString &path, QString *error = nullptr);

signals:
    void started(const QString &portName);
    void stopped();
    void clientConnectedChanged(bool connected);
    void frameReceived(const QByteArray &frame);
    void frameSent(const QByteArray &frame);

private:
    void readMaster();
    void writeMaster(const QByteArray &burst);
    void flushOutput();
    void checkClient();
    void setClient(bool present);
    void noteFrame(char direction, const QByteArray &frame);

    SimLine m_line;
    SimPty m_pty;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    QTimer m_clientPoll;
    QTimer m_saveTimer;
    QByteArray m_output;
    QString m_linkPath;
    QString m_slavePath;
    QString m_stateFile;
    quint64 m_savedChanges = 0;
    SimFrameLog m_log;
    bool m_client = false;
};

} // namespace spk::sim
