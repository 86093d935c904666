#pragma once

#include "link/netaddress.h"
#include "link/telnetcodec.h"

#include <QAbstractSocket>
#include <QIODevice>
#include <QTimer>

#include <functional>

class QTcpSocket;

namespace spk {

// A serial line behind a device server's TCP port, as a byte device like a serial port: raw, or
// RFC 2217 (telnet, the line set to 9600 8N1 without flow control and each setting confirmed by
// the server before the line counts as open).
//
// A line that goes down while open emits lost() once with the reason: a refused or dropped
// connection, the server closing it, data the server's TCP does not acknowledge within
// UnackedMs, and, with RFC 2217, a server that stays silent while a reply is awaited and then
// does not answer a settings query either.
class NetLine : public QIODevice
{
    Q_OBJECT
public:
    static constexpr int ConnectMs = 5000;
    static constexpr int NegotiateMs = 3000;
    // Nothing from the server this long after a write: is it still there?
    static constexpr int SilenceMs = 3000;
    static constexpr int UnackedMs = 5000;

    explicit NetLine(QObject *parent = nullptr);
    ~NetLine() override;

    // Connects (and negotiates) with the event loop running; false with errorString() set.
    bool openLine(const NetAddress &address);
    void close() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    const NetAddress &address() const { return m_address; }

signals:
    void lost(const QString &reason);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    enum class Phase { Closed, Connecting, Negotiating, Open };
    void onConnected();
    void onSocketReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onSilence();
    void onDeadline();
    void handle(const TelnetCodec::Command &command);
    void takeSetting(const QByteArray &payload);
    void tuneSocket();
    void sendNegotiation();
    void goDown(const QString &reason);
    void settle(Phase phase);
    QString socketReason(QAbstractSocket::SocketError error) const;
    bool rfc2217() const { return m_address.kind == NetAddress::Kind::Rfc2217; }

    QTcpSocket *m_socket;
    TelnetCodec m_codec;
    NetAddress m_address;
    Phase m_phase = Phase::Closed;
    QByteArray m_in;
    QTimer m_deadline;
    QTimer m_silence;
    bool m_probing = false;
    bool m_serverTookComPort = false;
    int m_unconfirmed = 0; // bit n: setting n not yet confirmed
    std::function<void()> m_wake;
};

} // namespace spk
