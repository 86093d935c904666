#pragma once

#include "link/portcatalog.h"
#include "link/transport.h"

#include <QSerialPort>
#include <QTimer>

namespace spk {

class NetLine;

// The serial link: 9600 8N1 on one port, opened exclusively; or the line behind a device server
// (a port "tcp://host:port" or "rfc2217://host:port", see NetLine), read and written the same way.
//
// Reading runs in passes on the main thread. The first readyRead after a pass arms a single-shot
// settle of 50 ms (time-scaled, see setSettleMs) so the rest of a burst can arrive; then one read of at most
// ReadChunk bytes is handed out by one received(). A larger backlog is left for the next pass,
// which settles and starts right after the current one ends.
//
// One pass at a time: the consumer of received() may open a modal dialog (a nested event loop).
// Bytes arriving meanwhile are only noted; the next pass starts after the consumer returns.
//
// Writes are queued to QSerialPort, which keeps their order; nothing here waits on the port.
class SerialDriver : public Transport
{
    Q_OBJECT
public:
    static constexpr int ReadChunk = 2049;
    static constexpr int SettleMs = 50;

    explicit SerialDriver(PortCatalog *catalog = nullptr, QObject *parent = nullptr);
    ~SerialDriver() override;

    // The port OpenPort() opens, a number from the catalog; PortNone opens nothing and PortUsb
    // marks a USB link, which has no serial port either.
    int PortNumber = PortNone;

    // Opens the port that PortNumber names. True when open and configured.
    bool OpenPort();
    // Opens a port by its identity (device path or virtual adapter link). Closes any open port
    // first. Fails when the port is missing, in use or not permitted.
    bool OpenPort(const QString &path);
    // Starts handing out received bytes; bytes that came before it wait in the port's buffer.
    void StartReader();
    // Queues a frame. False when closed, empty, or the port refused it.
    bool WritePort(const QByteArray &frame);
    // Drops pending input and output and closes. Harmless when closed; never waits.
    void ClosePort();

    Framing framing() const override { return Framing::Bytes; }
    // PortNumber := portNumber, OpenPort() and StartReader().
    bool open(int portNumber) override;
    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    void close() override;
    QString lastError() const override { return m_lastError; }

    // A consumer that assembles frames across reads needs no settle; each settle would add its
    // length to every reply's wait.
    void setSettleMs(int ms) { m_settleMs = ms; }
    int settleMs() const { return m_settleMs; }

    QString portPath() const { return m_path; }
    bool passActive() const { return m_passActive; }

private:
    void onReadyRead();
    void onSettled();
    void armSettle();
    void onError(QSerialPort::SerialPortError error);
    void failNow();
    bool openNetwork(const QString &path);

    PortCatalog *m_catalog;
    QSerialPort *m_port;
    NetLine *m_net;
    QIODevice *m_io; // the one of the two in use
    QTimer m_settle;
    int m_settleMs = SettleMs;
    QString m_path;
    QString m_lastError;
    bool m_reading = false;
    bool m_passActive = false;
    bool m_morePending = false;
    bool m_failing = false;
    bool m_closing = false;
};

} // namespace spk
