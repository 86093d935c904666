#include "link/hidreader.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <vector>

namespace spk {

HidReader::HidReader(HidDevice &device, QObject *parent) : QObject(parent), m_device(device) {}

HidReader::~HidReader()
{
    stop();
}

void HidReader::start()
{
    if (m_thread.joinable()) return;
    m_stop = false;
    m_running = true;
    m_thread = std::thread([this] {
        run();
        m_running = false;
    });
}

void HidReader::stop()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    m_running = false;
}

void HidReader::run()
{
    // A report longer than the declared length is cut to it by the read itself.
    std::vector<unsigned char> buffer(std::size_t(std::max(m_device.inputReportLength(), 1)));
    while (!m_stop) {
        const int n = m_device.read(buffer.data(), int(buffer.size()), SliceMs);
        if (n < 0) {
            if (m_stop) return;
            const HidError error = m_device.readError();
            // Not reading any more by the time anyone hears of the failure.
            m_running = false;
            QMetaObject::invokeMethod(
                this, [this, error] { emit failed(error); }, Qt::QueuedConnection);
            return;
        }
        if (n == 0) continue;
        bool post = false;
        {
            std::lock_guard lock(m_mutex);
            post = m_ready.isEmpty();
            m_ready.append(QByteArray(reinterpret_cast<const char *>(buffer.data()), n));
        }
        if (post) QMetaObject::invokeMethod(this, &HidReader::handOver, Qt::QueuedConnection);
    }
}

void HidReader::handOver()
{
    QList<QByteArray> ready;
    {
        std::lock_guard lock(m_mutex);
        ready.swap(m_ready);
    }
    // A slot may close the link, and this reader with it.
    const QPointer<HidReader> alive(this);
    for (const QByteArray &data : ready) {
        emit report(data);
        if (!alive) return;
    }
}

} // namespace spk
