#include "wiresession.h"

#include "usbports.h"

#include "link/logging.h"
#include "link/portcatalog.h"
#include "model/timing.h"
#include "protocol/commands.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace spk::tool {

namespace {
constexpr int ReplyMarginMs = 500;
constexpr int TurnaroundMs = 2;
// Real ms: the least a wait allows beyond its scaled budget, and how many times the link's worst
// lateness it allows, so one slow hand-off seen early covers the ones that follow.
constexpr int MinMarginMs = 20;
constexpr int LatenessFactor = 3;
// A wait that sees bytes arriving goes on by this many real ms at a time, up to this many times
// its budget: a reply on its way is not cut off, noise does not hold the wait open for ever.
constexpr int ArrivingMs = 20;
constexpr int MaxStretch = 4;
// The path of a port the list shows. The simulator's links and /dev are looked at first: the
// machine's full port scan takes longer than a short command's whole exchange.
QString pathOfPort(const QString &name)
{
    for (const PortInfo &p : SystemPortCatalog::virtualPorts(SystemPortCatalog::virtualPortDir()))
        if (p.name == name) return p.path;
    const QFileInfo device(QStringLiteral("/dev/") + name);
    if (device.exists() && !device.isDir() && !device.isFile()) return device.filePath();
    SystemPortCatalog catalog;
    for (const PortInfo &p : catalog.ports())
        if (p.name == name) return p.path;
    return {};
}

} // namespace

WireSession::WireSession(Interrupt &interrupt, QObject *parent)
    : QObject(parent), m_interrupt(interrupt), m_transmitter(m_state, m_driver), m_receiver(m_state)
{
    // The receiver joins a reply split over reads, so bytes go to it as soon as they are read.
    m_driver.setSettleMs(0);
    connect(&m_driver, &Transport::received, this, [this](const QByteArray &bytes) {
        m_bytesSeen += bytes.size();
        m_receiver.serialArrival(bytes);
    });
    connect(&m_driver, &Transport::failed, this, &WireSession::onFailed);
    connect(&m_interrupt, &Interrupt::raised, this, [this] {
        if (m_wake) m_wake();
    });
}

WireSession::~WireSession()
{
    close();
}

bool WireSession::open(const QString &port)
{
    close();
    m_heard.clear();
    QString path = port;
    m_portName = port;
    if (isUsbPort(port)) return openUsb(port);
    if (!port.contains(u'/')) {
        path = pathOfPort(port);
        if (path.isEmpty()) {
            m_error = QStringLiteral("no port %1 (spktool ports lists them)").arg(port);
            return false;
        }
    }
    if (!m_driver.OpenPort(path)) {
        m_error = QStringLiteral("cannot open %1: %2").arg(port, m_driver.lastError());
        return false;
    }
    m_driver.StartReader();
    m_state.Connected = true;
    m_receiver.reset();
    m_outcome = Outcome::Done;
    return true;
}

bool WireSession::openUsb(const QString &port)
{
    const std::optional<HidDeviceInfo> device = findUsbProcessor(port, &m_error);
    if (!device) return false;
    m_portName = usbPortName(*device);
    m_usbWriteError.clear();
    m_usb = std::make_unique<HidTransport>(hidBackend());
    connect(m_usb.get(), &Transport::received, this, [this](const QByteArray &report) {
        m_bytesSeen += report.size();
        m_receiver.ShowRead(report);
    });
    connect(m_usb.get(), &HidTransport::readFailed, this, [this](const HidError &e) {
        onFailed(QStringLiteral("%1: read failed: %2").arg(m_portName, e.text));
    });
    connect(m_usb.get(), &HidTransport::writeFailed, this,
            [this](const HidError &e) { m_usbWriteError = e.text; });
    m_usb->choose(device);
    if (!m_usb->open(PortUsb)) {
        m_error = QStringLiteral("cannot open %1: %2").arg(m_portName, m_usb->lastError());
        if (!m_usb->accessHint().isEmpty()) m_error += u'\n' + m_usb->accessHint();
        m_usb.reset();
        return false;
    }
    m_transmitter.setUsbTransport(m_usb.get());
    m_state.UsbMode = true;
    m_state.Connected = true;
    m_receiver.reset();
    m_outcome = Outcome::Done;
    return true;
}

void WireSession::close()
{
    m_driver.ClosePort();
    m_transmitter.setUsbTransport(nullptr);
    m_usb.reset();
    m_state.UsbMode = false;
    m_state.Connected = false;
}

bool WireSession::refused()
{
    if (m_outcome != Outcome::Lost) {
        m_outcome = Outcome::Lost;
        m_error = QStringLiteral("%1: write refused (%2)")
                      .arg(m_portName, m_usb ? m_usbWriteError : m_driver.lastError());
    }
    return false;
}

int WireSession::replyTimeout(int replyLength)
{
    const double wire = (FrameOverhead + replyLength + FrameOverhead) * ByteMs + TurnaroundMs;
    return int(wire) + SerialDriver::SettleMs + ReplyMarginMs;
}

void WireSession::onFailed(const QString &reason)
{
    m_error = reason;
    m_state.Connected = false;
    m_outcome = Outcome::Lost;
    if (m_wake) m_wake();
}

int WireSession::marginMs() const
{
    return std::max(MinMarginMs, LatenessFactor * m_lateMs);
}

void WireSession::onReply(const ReplyFrame &frame)
{
    m_heard[frame.ReplyCmd].insert(frame.ReplyDevId + 1);
    if (frame.ReplyCmd != m_wantCommand) return;
    if (m_wantSlot != AnySlot && frame.ReplySlot != m_wantSlot) return;
    if (frame.ReplyDevId != m_wantIdByte) {
        m_answeredAs = frame.ReplyDevId + 1;
        return;
    }
    const double nominal = (m_txBytes + FrameOverhead + frame.ReplyLength) * ByteMs + TurnaroundMs +
                           m_driver.settleMs();
    const int late = int(m_sentAt.elapsed() - scaledExact(nominal));
    if (late > m_lateMs) {
        m_lateMs = late;
        qCDebug(lcLink) << m_portName << "replies up to" << late << "ms later than their wire time";
    }
    m_reply = frame;
    if (m_wake) m_wake();
}

void WireSession::wait(int timeoutMs, Wait kind)
{
    const auto over = [&] {
        return m_interrupt.requested() || m_outcome == Outcome::Lost ||
               (kind != Wait::Pause && m_reply.has_value());
    };
    if (over()) return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    const int budget = scaled(timeoutMs) + (kind == Wait::Reply ? marginMs() : 0);
    int left = (MaxStretch - 1) * budget;
    qint64 seen = m_bytesSeen;
    connect(&timer, &QTimer::timeout, &loop, [&] {
        // Bytes since the last look: a reply may be on its way.
        if (kind != Wait::Pause && m_bytesSeen != seen && left > 0) {
            seen = m_bytesSeen;
            const int more = std::min(left, ArrivingMs + marginMs());
            left -= more;
            timer.start(more);
            return;
        }
        loop.quit();
    });
    m_wake = [&loop] { loop.quit(); };
    timer.start(budget);
    loop.exec();
    m_wake = nullptr;
}

std::optional<ReplyFrame> WireSession::request(const std::function<Frame()> &build, int command, int slot,
                                               int timeoutMs, int tries, Margin margin)
{
    m_receiver.setHandler(command, [this](const ReplyFrame &f) { onReply(f); });
    m_wantCommand = command;
    m_wantSlot = slot;
    m_reply.reset();
    m_bytesSeen = 0;
    m_answeredAs.reset();
    for (int t = 0; t < tries && !m_reply; ++t) {
        if (m_interrupt.requested() || m_outcome == Outcome::Lost) break;
        const Frame frame = build();
        if (frame.isEmpty()) break;
        m_wantIdByte = std::uint8_t(frame.TxFrame.at(3));
        // What is left of an earlier reply would swallow the head of this one.
        m_receiver.reset();
        m_txBytes = int(frame.TxFrame.size());
        m_sentAt.start();
        if (!send(frame)) break;
        wait(timeoutMs, margin == Margin::Added ? Wait::Reply : Wait::Probe);
        if (!m_reply)
            qCDebug(lcLink).noquote() << m_portName << "no reply to command" << Qt::hex << command << Qt::dec
                                      << "try" << t + 1 << "after" << m_sentAt.elapsed() << "ms;" << m_bytesSeen
                                      << "bytes seen, kept:" << m_receiver.RxHexText().left(40);
    }
    m_wantCommand = -1;
    if (m_interrupt.requested())
        m_outcome = Outcome::Interrupted;
    else if (m_outcome != Outcome::Lost)
        m_outcome = m_reply ? Outcome::Done : Outcome::NoAnswer;
    return m_outcome == Outcome::Done ? m_reply : std::nullopt;
}

bool WireSession::send(const Frame &frame)
{
    return m_transmitter.transmit(frame) || refused();
}

bool WireSession::sendBulk(const BulkWrite &bulk)
{
    return m_transmitter.transmitBulk(bulk) || refused();
}

bool WireSession::pause(int ms)
{
    m_reply.reset();
    wait(ms, Wait::Pause);
    if (m_interrupt.requested()) m_outcome = Outcome::Interrupted;
    return m_outcome != Outcome::Interrupted && m_outcome != Outcome::Lost;
}

} // namespace spk::tool
