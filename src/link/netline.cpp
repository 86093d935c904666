#include "link/netline.h"

#include "link/logging.h"
#include "model/timing.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QtEndian>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace spk {

namespace {

// Com-port control commands of the client, and what the line is set to.
enum : quint8 { SetBaud = 1, SetDataSize = 2, SetParity = 3, SetStopSize = 4, SetControl = 5 };
enum : quint8 { ServerReply = 100 };
constexpr quint32 Baud = 9600;
constexpr quint8 DataBits = 8, ParityNone = 1, StopOne = 1, NoFlowControl = 1;
constexpr int AllSettings = (1 << SetBaud) | (1 << SetDataSize) | (1 << SetParity) | (1 << SetStopSize) |
                            (1 << SetControl);
constexpr int KeepIdleS = 5, KeepIntervalS = 2, KeepCount = 3;

QByteArray baudPayload(quint32 baud)
{
    QByteArray p(5, '\0');
    p[0] = char(SetBaud);
    qToBigEndian(baud, p.data() + 1);
    return p;
}

const char *settingName(int code)
{
    switch (code) {
    case SetBaud: return "baud rate";
    case SetDataSize: return "data size";
    case SetParity: return "parity";
    case SetStopSize: return "stop size";
    default: return "flow control";
    }
}

} // namespace

NetLine::NetLine(QObject *parent) : QIODevice(parent), m_socket(new QTcpSocket(this))
{
    m_deadline.setSingleShot(true);
    m_silence.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &NetLine::onDeadline);
    connect(&m_silence, &QTimer::timeout, this, &NetLine::onSilence);
    connect(m_socket, &QTcpSocket::connected, this, &NetLine::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &NetLine::onSocketReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &NetLine::onSocketError);
}

NetLine::~NetLine()
{
    m_socket->abort();
}

bool NetLine::openLine(const NetAddress &address)
{
    close();
    setErrorString({});
    m_address = address;
    m_codec.reset();
    m_in.clear();
    m_serverTookComPort = false;
    m_unconfirmed = AllSettings;
    m_phase = Phase::Connecting;
    m_deadline.start(scaled(ConnectMs));
    m_socket->connectToHost(address.host, address.port);

    QEventLoop loop;
    m_wake = [&loop] { loop.quit(); };
    if (m_phase == Phase::Connecting || m_phase == Phase::Negotiating) loop.exec();
    m_wake = nullptr;
    m_deadline.stop();
    if (m_phase != Phase::Open) {
        m_socket->abort();
        m_phase = Phase::Closed;
        qCDebug(lcLink).noquote() << "open of" << address.text() << "failed:" << errorString();
        return false;
    }
    QIODevice::open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    qCDebug(lcLink).noquote() << "opened" << address.text();
    return true;
}

void NetLine::settle(Phase phase)
{
    m_phase = phase;
    if (m_wake) m_wake();
}

void NetLine::close()
{
    m_silence.stop();
    m_deadline.stop();
    m_probing = false;
    m_phase = Phase::Closed;
    m_socket->abort();
    m_in.clear();
    if (isOpen()) QIODevice::close();
}

qint64 NetLine::bytesAvailable() const
{
    return m_in.size() + QIODevice::bytesAvailable();
}

qint64 NetLine::readData(char *data, qint64 maxSize)
{
    const qint64 n = std::min<qint64>(maxSize, m_in.size());
    std::copy_n(m_in.constData(), n, data);
    m_in.remove(0, n);
    return n;
}

qint64 NetLine::writeData(const char *data, qint64 size)
{
    if (m_phase != Phase::Open) return -1;
    const QByteArray bytes(data, size);
    if (m_socket->write(rfc2217() ? TelnetCodec::escape(bytes) : bytes) < 0) return -1;
    if (!m_silence.isActive()) m_silence.start(scaled(SilenceMs));
    return size;
}

void NetLine::onConnected()
{
    tuneSocket();
    if (!rfc2217()) {
        settle(Phase::Open);
        return;
    }
    m_phase = Phase::Negotiating;
    m_deadline.start(scaled(NegotiateMs));
    sendNegotiation();
}

void NetLine::tuneSocket()
{
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    // A server that vanished without closing is found by the kernel: data it does not acknowledge,
    // or keep-alives it does not answer while the line is idle, end the connection.
    const int fd = int(m_socket->socketDescriptor());
    const unsigned int unacked = unsigned(std::max(1000, scaled(UnackedMs)));
    const int options[][2] = {{TCP_KEEPIDLE, KeepIdleS}, {TCP_KEEPINTVL, KeepIntervalS}, {TCP_KEEPCNT, KeepCount}};
    bool tuned = ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacked, sizeof unacked) == 0;
    for (const auto &o : options)
        tuned = ::setsockopt(fd, IPPROTO_TCP, o[0], &o[1], sizeof o[1]) == 0 && tuned;
    if (!tuned) qCWarning(lcLink).noquote() << m_address.text() << ": dead-peer timeouts not set:" << errno;
}

void NetLine::sendNegotiation()
{
    using T = TelnetCodec;
    QByteArray out = T::negotiation(T::Will, T::OptBinary) + T::negotiation(T::Do, T::OptBinary) +
                     T::negotiation(T::Will, T::OptSuppressGoAhead) +
                     T::negotiation(T::Do, T::OptSuppressGoAhead) + T::negotiation(T::Will, T::OptComPort);
    out += T::subnegotiation(T::OptComPort, baudPayload(Baud));
    out += T::subnegotiation(T::OptComPort, TelnetCodec::bytes({SetDataSize, DataBits}));
    out += T::subnegotiation(T::OptComPort, TelnetCodec::bytes({SetParity, ParityNone}));
    out += T::subnegotiation(T::OptComPort, TelnetCodec::bytes({SetStopSize, StopOne}));
    out += T::subnegotiation(T::OptComPort, TelnetCodec::bytes({SetControl, NoFlowControl}));
    m_socket->write(out);
}

void NetLine::onSocketReadyRead()
{
    const QByteArray chunk = m_socket->readAll();
    if (chunk.isEmpty()) return;
    // Anything at all shows the server is there.
    m_silence.stop();
    m_probing = false;
    QByteArray data = chunk;
    if (rfc2217()) {
        QList<TelnetCodec::Command> commands;
        data = m_codec.decode(chunk, &commands);
        for (const TelnetCodec::Command &c : commands) {
            handle(c);
            if (m_phase == Phase::Closed) return;
        }
    }
    if (data.isEmpty()) return;
    m_in += data;
    if (m_phase == Phase::Open) emit readyRead();
}

void NetLine::handle(const TelnetCodec::Command &command)
{
    using T = TelnetCodec;
    const bool ours = command.option == T::OptBinary || command.option == T::OptSuppressGoAhead ||
                      command.option == T::OptComPort;
    switch (command.verb) {
    case T::Do:
        if (command.option == T::OptComPort) m_serverTookComPort = true;
        if (!ours) m_socket->write(T::negotiation(T::Wont, command.option));
        break;
    case T::Will:
        if (!ours) m_socket->write(T::negotiation(T::Dont, command.option));
        break;
    case T::Dont:
        if (command.option == T::OptComPort && m_phase == Phase::Negotiating) {
            setErrorString(tr("the server refuses RFC 2217 com-port control (for a raw TCP port use tcp://)"));
            settle(Phase::Closed);
        }
        break;
    case T::Sb:
        if (command.option == T::OptComPort) takeSetting(command.payload);
        break;
    default:
        break;
    }
}

void NetLine::takeSetting(const QByteArray &payload)
{
    if (payload.isEmpty()) return;
    const int code = quint8(payload[0]) - ServerReply;
    if (code < SetBaud || code > SetControl) return; // line and modem state notices
    if (payload.size() < (code == SetBaud ? 5 : 2)) return;
    const quint32 value =
        code == SetBaud ? qFromBigEndian<quint32>(payload.constData() + 1) : quint32(quint8(payload[1]));
    if (m_phase != Phase::Negotiating) return; // the answer to a probe
    const quint32 wanted = code == SetBaud      ? Baud
                           : code == SetDataSize ? DataBits
                           : code == SetParity   ? ParityNone
                           : code == SetStopSize ? StopOne
                                                 : NoFlowControl;
    if (value != wanted) {
        setErrorString(tr("the server set the %1 to %2, not %3; the line would not carry the processor's frames")
                           .arg(QLatin1String(settingName(code)))
                           .arg(value)
                           .arg(wanted));
        settle(Phase::Closed);
        return;
    }
    m_unconfirmed &= ~(1 << code);
    if (m_unconfirmed == 0) settle(Phase::Open);
}

void NetLine::onDeadline()
{
    if (m_phase == Phase::Connecting) {
        setErrorString(tr("no connection within %1 ms").arg(scaled(ConnectMs)));
    } else if (m_phase == Phase::Negotiating) {
        QStringList missing;
        for (int code = SetBaud; code <= SetControl; ++code)
            if (m_unconfirmed & (1 << code)) missing << QLatin1String(settingName(code));
        setErrorString(m_serverTookComPort
                           ? tr("the server did not confirm the %1").arg(missing.join(", "))
                           : tr("the server does not speak RFC 2217 com-port control (for a raw TCP port "
                                "use tcp://)"));
    } else {
        return;
    }
    settle(Phase::Closed);
}

void NetLine::onSilence()
{
    if (m_phase != Phase::Open || !rfc2217()) return;
    if (m_probing) {
        goDown(tr("%1: no reply from the server for %2 ms, not even to a settings query (connection "
                  "lost)")
                   .arg(m_address.text())
                   .arg(2 * scaled(SilenceMs)));
        return;
    }
    // A silent device and a dead server look alike; a query only the server answers tells them apart.
    m_probing = true;
    m_socket->write(TelnetCodec::subnegotiation(TelnetCodec::OptComPort, baudPayload(0)));
    m_silence.start(scaled(SilenceMs));
}

QString NetLine::socketReason(QAbstractSocket::SocketError error) const
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return tr("%1: connection refused (nothing listens there)").arg(m_address.text());
    case QAbstractSocket::RemoteHostClosedError:
        return tr("%1: the server closed the connection").arg(m_address.text());
    case QAbstractSocket::HostNotFoundError:
        return tr("%1: host not found").arg(m_address.text());
    default:
        return tr("%1: %2").arg(m_address.text(), m_socket->errorString());
    }
}

void NetLine::onSocketError(QAbstractSocket::SocketError error)
{
    const QString reason = socketReason(error);
    if (m_phase == Phase::Connecting || m_phase == Phase::Negotiating) {
        // The address is already in the caller's "cannot open" message.
        setErrorString(reason.mid(m_address.text().size() + 2));
        settle(Phase::Closed);
        return;
    }
    if (m_phase == Phase::Open) goDown(reason);
}

void NetLine::goDown(const QString &reason)
{
    // Closing inside the socket's own notification is left to the event loop.
    m_phase = Phase::Closed;
    m_silence.stop();
    setErrorString(reason);
    QMetaObject::invokeMethod(m_socket, &QTcpSocket::abort, Qt::QueuedConnection);
    emit lost(reason);
}

} // namespace spk
