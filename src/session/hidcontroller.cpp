#include "session/hidcontroller.h"

#include "link/hidtransport.h"
#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "window/controllookup.h"
#include "window/editorstate.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace spk {

namespace {
QString errorLine(const char *what, const HidError &e)
{
    return QString::asprintf("%s: %s (%x)", what, qUtf8Printable(e.text), unsigned(e.code));
}
} // namespace

HidController::HidController(const HidParts &parts, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state)
{
}

void HidController::attach()
{
    ControlLookup &c = m_parts.controls;
    m_devices = c.require<QListWidget>(QStringLiteral("DevListBox"));
    m_history = c.require<QListWidget>(QStringLiteral("HistoryListBox"));
    m_label = c.require<QLabel>(QStringLiteral("lbl_usbhid"));

    HidBackend &b = m_parts.backend;
    connect(&b, &HidBackend::deviceChange, this, &HidController::hidctlDeviceChange);
    connect(&b, &HidBackend::arrived, this, &HidController::hidctlArrival);
    connect(&b, &HidBackend::removed, this, &HidController::hidctlRemoval);
    HidTransport &t = m_parts.transport;
    connect(&t, &HidTransport::readFailed, this, &HidController::hidctlDeviceDataError);
    connect(&t, &HidTransport::reportWritten, this, &HidController::logWritten);
    connect(&t, &HidTransport::writeFailed, this, &HidController::logWriteError);

    ConnectionController &link = m_parts.connection;
    link.hidDeviceChosen = [this] { return deviceChosen(); };
    // Only stops the automatic retries; the device stays chosen for the next connect.
    link.forgetHidDevice = [this] { HidIndex = NoDevice; };
}

void HidController::start()
{
    m_parts.backend.startMonitoring();
    QMetaObject::invokeMethod(this, &HidController::hidctlDeviceChange, Qt::QueuedConnection);
}

bool HidController::deviceChosen() const
{
    return m_current && m_state.Link.UsbMode;
}

void HidController::hidctlDeviceChange()
{
    // Forget the chosen device before the list that holds it goes.
    m_current.reset();
    m_devices->clear();
    const QList<HidDeviceInfo> present = m_parts.backend.enumerate();
    bool processorPresent = false;
    for (int i = 0; i < present.size(); ++i) {
        processorPresent = processorPresent || isProcessor(present.at(i));
        if (!hidctlEnumerate(present.at(i), i)) break;
    }

    HidIndex = NoDevice;
    for (int i = 0; i < m_devices->count(); ++i) {
        if (m_devices->item(i)->text() == wantedName()) {
            HidIndex = i;
            break;
        }
    }
    if (processorPresent) showSerialControls(false);

    if (HidIndex == NoDevice) {
        m_state.Link.UsbMode = false;
        m_parts.transport.choose(std::nullopt);
        m_refusedPath.clear();
        return;
    }
    m_state.Link.UsbMode = true;
    m_current = m_devices->item(HidIndex)->data(Qt::UserRole).value<HidDeviceInfo>();
    m_parts.transport.choose(m_current);
    m_parts.connection.HidRetryCount = 0;
    qCDebug(lcSession).noquote() << "USB device chosen:" << m_current->path;
    if (m_state.Link.Connected || m_current->path == m_refusedPath) return;
    m_parts.connection.btn_connectClick();
    if (!m_state.Link.Connected && m_current) m_refusedPath = m_current->path;
}

bool HidController::hidctlEnumerate(const HidDeviceInfo &device, int)
{
    auto *item = new QListWidgetItem(HidBackend::deviceName(device), m_devices);
    item->setData(Qt::UserRole, QVariant::fromValue(device));
    return true;
}

void HidController::hidctlArrival(const HidDeviceInfo &device)
{
    AddToHistory(QStringLiteral("Arrival of ") + HidBackend::deviceName(device));
    if (!isProcessor(device)) return;
    m_label->setText(QString::fromUtf8("已接上设备."));
    if (!m_state.Link.Connected) {
        m_refusedPath.clear();
        m_parts.connection.HidRetryCount = 0;
        m_state.Link.VersionOk = false;
        hidctlDeviceChange();
    }
    showSerialControls(false);
}

void HidController::hidctlRemoval(const HidDeviceInfo &device)
{
    AddToHistory(QStringLiteral("Removal of ") + HidBackend::deviceName(device));
    if (!isProcessor(device)) return;
    m_label->setText(QString::fromUtf8("已移除设备."));
    m_state.Link.SilenceCount = 100;
    if (m_state.Link.Connected) m_parts.connection.tmr_disconnectTimer();
    showSerialControls(true);
}

void HidController::hidctlDeviceDataError(const HidError &error)
{
    qCWarning(lcSession).noquote() << "USB read failed:" << error.text << error.code;
    AddToHistory(errorLine("READ ERROR", error));
}

void HidController::logWritten(const QByteArray &bytes)
{
    if (bytes.isEmpty()) return;
    QString line = QString::asprintf("W %.2X  ", unsigned(quint8(bytes.at(0))));
    line.reserve(5 + 3 * int(bytes.size()));
    for (qsizetype i = 1; i < bytes.size(); ++i)
        line += QString::asprintf("%.2X ", unsigned(quint8(bytes.at(i))));
    AddToHistory(line);
}

void HidController::logWriteError(const HidError &error)
{
    qCWarning(lcSession).noquote() << "USB write failed:" << error.text << error.code;
    AddToHistory(errorLine("WRITE ERROR", error));
}

void HidController::AddToHistory(const QString &text)
{
    // The list widens its own scroll range to the longest line.
    m_history->addItem(text);
    while (m_history->count() > HistoryLimit)
        delete m_history->takeItem(0);
    m_history->setCurrentRow(m_history->count() - 1);
}

void HidController::showSerialControls(bool enabled)
{
    for (const char *name : {"cbb_comport", "cbb_deviceid"})
        m_parts.controls.require<QComboBox>(QString::fromLatin1(name))->setEnabled(enabled);
}

} // namespace spk
