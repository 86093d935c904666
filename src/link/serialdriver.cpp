#include "link/serialdriver.h"

#include "link/logging.h"
#include "link/netline.h"
#include "model/timing.h"

#include <QFileInfo>
#include <QMetaEnum>
#include <QPointer>

namespace spk {

SerialDriver::SerialDriver(PortCatalog *catalog, QObject *parent)
    : Transport(parent), m_catalog(catalog), m_port(new QSerialPort(this)), m_net(new NetLine(this)),
      m_io(m_port)
{
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &SerialDriver::onSettled);
    connect(m_port, &QSerialPort::readyRead, this, &SerialDriver::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialDriver::onError);
    connect(m_net, &QIODevice::readyRead, this, &SerialDriver::onReadyRead);
    connect(m_net, &NetLine::lost, this, [this](const QString &reason) {
        if (m_failing || !m_net->isOpen()) return;
        m_failing = true;
        m_lastError = reason;
        QMetaObject::invokeMethod(this, &SerialDriver::failNow, Qt::QueuedConnection);
    });
}

SerialDriver::~SerialDriver()
{
    ClosePort();
}

bool SerialDriver::OpenPort()
{
    if (PortNumber == PortNone || PortNumber == PortUsb) return false;
    const QString path = m_catalog ? m_catalog->pathOf(PortNumber) : QString();
    if (path.isEmpty()) {
        m_lastError = tr("No port with number %1").arg(PortNumber);
        return false;
    }
    return OpenPort(path);
}

bool SerialDriver::OpenPort(const QString &path)
{
    ClosePort();
    m_lastError.clear();
    if (path.isEmpty()) {
        m_lastError = tr("No port given");
        return false;
    }
    if (isNetworkPort(path)) return openNetwork(path);
    // The port's lock is taken on the device itself, so that a virtual adapter's link and the
    // device it leads to are one port.
    const QString device = QFileInfo(path).canonicalFilePath();
    if (device.isEmpty()) {
        m_lastError = tr("%1 does not exist").arg(path);
        return false;
    }
    m_port->setPortName(device);
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    // The port applies the line settings while opening and fails the open if they are refused.
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_lastError = m_port->errorString();
        m_port->clearError();
        return false;
    }
    m_io = m_port;
    m_path = path;
    return true;
}

bool SerialDriver::openNetwork(const QString &path)
{
    const std::optional<NetAddress> address = parseNetAddress(path, &m_lastError);
    if (!address) return false;
    if (!m_net->openLine(*address)) {
        m_lastError = m_net->errorString();
        return false;
    }
    m_io = m_net;
    m_path = path;
    return true;
}

void SerialDriver::StartReader()
{
    if (!isOpen()) return;
    m_reading = true;
    if (m_io->bytesAvailable() > 0) onReadyRead();
}

bool SerialDriver::open(int portNumber)
{
    PortNumber = portNumber;
    if (!OpenPort()) {
        qCDebug(lcLink).noquote() << "open of port" << portNumber << "failed:" << m_lastError;
        return false;
    }
    qCDebug(lcLink).noquote() << "opened" << m_path;
    StartReader();
    return true;
}

bool SerialDriver::WritePort(const QByteArray &frame)
{
    if (!isOpen() || frame.isEmpty()) return false;
    return m_io->write(frame) == frame.size();
}

void SerialDriver::ClosePort()
{
    m_reading = false;
    m_settle.stop();
    if (m_port->isOpen()) {
        // Discard what is still queued: a close with output pending could otherwise wait for the
        // line to drain.
        m_closing = true;
        m_port->clear(QSerialPort::AllDirections);
        m_port->close();
        m_closing = false;
    }
    m_port->clearError();
    m_net->close();
    m_io = m_port;
    m_morePending = false;
    m_failing = false;
    m_path.clear();
}

bool SerialDriver::isOpen() const
{
    return m_io->isOpen();
}

bool SerialDriver::write(const QByteArray &bytes)
{
    return WritePort(bytes);
}

void SerialDriver::close()
{
    ClosePort();
}

void SerialDriver::onReadyRead()
{
    if (!m_reading) return;
    if (m_passActive) {
        m_morePending = true;
        return;
    }
    armSettle();
}

void SerialDriver::armSettle()
{
    if (!m_settle.isActive()) m_settle.start(scaled(m_settleMs));
}

void SerialDriver::onSettled()
{
    if (!m_reading || m_passActive || !isOpen()) return;
    const QByteArray bytes = m_io->read(ReadChunk);
    if (bytes.isEmpty()) return;

    m_passActive = true;
    m_morePending = false;
    QPointer<SerialDriver> self(this);
    emit received(bytes);
    if (!self) return;
    m_passActive = false;

    // Whatever came during the pass, or did not fit into it, gets a pass of its own.
    const bool more = m_morePending || (isOpen() && m_io->bytesAvailable() > 0);
    m_morePending = false;
    if (more && m_reading && isOpen()) armSettle();
}

void SerialDriver::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || m_closing || !m_port->isOpen()) return;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        break;
    default:
        m_port->clearError();
        return;
    }
    if (m_failing) return;
    // Closing inside the port's own notification would pull the device out from under it, so
    // the close runs once that notification has returned.
    m_failing = true;
    m_lastError =
        tr("%1 lost (%2: %3)")
            .arg(m_path,
                 QString::fromLatin1(QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error)),
                 m_port->errorString());
    QMetaObject::invokeMethod(this, &SerialDriver::failNow, Qt::QueuedConnection);
}

void SerialDriver::failNow()
{
    if (!m_failing) return;
    const QString reason = m_lastError;
    qCDebug(lcLink).noquote() << reason;
    ClosePort();
    m_lastError = reason;
    emit failed(reason);
}

} // namespace spk
