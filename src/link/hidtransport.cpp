#include "link/hidtransport.h"

#include "link/hidreader.h"
#include "link/logging.h"

#include <algorithm>
#include <cerrno>

namespace spk {

HidTransport::HidTransport(HidBackend &backend, QObject *parent) : Transport(parent), m_backend(backend) {}

HidTransport::~HidTransport()
{
    close();
}

void HidTransport::choose(const std::optional<HidDeviceInfo> &device)
{
    if (m_device && (!device || !m_chosen || device->path != m_chosen->path)) close();
    m_chosen = device;
}

bool HidTransport::open(int)
{
    close();
    m_lastError.clear();
    m_hint.clear();
    if (!m_chosen) {
        m_lastError = tr("No USB device chosen");
        return false;
    }
    m_device = m_backend.open(*m_chosen);
    if (!m_device) {
        const HidError e = m_backend.lastError();
        m_lastError = tr("%1: %2 (%3)").arg(m_chosen->path, e.text).arg(e.code);
        if (e.code == EACCES || e.code == EPERM)
            m_hint = tr("This user may not use the USB device %1. Install the udev rule "
                        "70-spkedit-hid.rules (see README, \"USB HID\"), then plug the device in again.")
                         .arg(m_chosen->path);
        qCDebug(lcLink).noquote() << "open failed:" << m_lastError;
        return false;
    }
    m_reader = std::make_unique<HidReader>(*m_device);
    connect(m_reader.get(), &HidReader::report, this, &Transport::received);
    connect(m_reader.get(), &HidReader::failed, this, [this](const HidError &e) {
        qCDebug(lcLink).noquote() << "read failed on" << (m_chosen ? m_chosen->path : QString()) << e.text
                                  << e.code;
        emit readFailed(e);
    });
    m_reader->start();
    qCDebug(lcLink).noquote() << "opened" << m_chosen->path;
    return true;
}

bool HidTransport::write(const QByteArray &report)
{
    if (!m_device || report.isEmpty()) return false;
    const int length = std::clamp(m_device->outputReportLength(), 1, ReportSize);
    QByteArray out = report.left(length);
    if (out.size() < length) out.append(length - out.size(), '\0');
    const int n = m_device->write(reinterpret_cast<const unsigned char *>(out.constData()), length);
    if (n < 0) {
        emit writeFailed(m_device->writeError());
        return false;
    }
    emit reportWritten(out.left(n));
    return true;
}

void HidTransport::close()
{
    // The thread may be inside a read of the device: it goes first.
    m_reader.reset();
    m_device.reset();
}

bool HidTransport::readerRunning() const
{
    return m_reader && m_reader->running();
}

} // namespace spk
