#include "link/hidreader.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <algorithm>
#include <vector>

namespace spk {

namespace {
// A plain event made on the main thread rather than a queued call: a queued call's slot object,
// like an event made on the read thread, is touched by both threads behind Qt's own locks, which
// ThreadSanitizer cannot see; every race it reports there, even suppressed, stalls the read thread
// for as long as a reply is given to arrive.
const QEvent::Type HandOverEvent = QEvent::Type(QEvent::registerEventType());
} // namespace

HidReader::HidReader(HidDevice &device, QObject *parent)
    : QObject(parent), m_device(device), m_handOver(std::make_unique<QEvent>(HandOverEvent))
{
}

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
            std::unique_ptr<QEvent> handOver;
            {
                std::lock_guard lock(m_mutex);
                handOver = std::move(m_handOver);
                m_failure = error;
            }
            if (handOver) QCoreApplication::postEvent(this, handOver.release());
            return;
        }
        if (n == 0) continue;
        std::unique_ptr<QEvent> handOver;
        {
            std::lock_guard lock(m_mutex);
            handOver = std::move(m_handOver);
            m_ready.append(QByteArray(reinterpret_cast<const char *>(buffer.data()), n));
        }
        if (handOver) QCoreApplication::postEvent(this, handOver.release());
    }
}

bool HidReader::event(QEvent *e)
{
    bool ours = false;
    QList<QByteArray> ready;
    std::optional<HidError> failure;
    {
        std::lock_guard lock(m_mutex);
        ours = e->type() == HandOverEvent;
        if (ours) {
            ready.swap(m_ready);
            failure.swap(m_failure);
            m_handOver = std::make_unique<QEvent>(HandOverEvent);
        }
    }
    if (!ours) return QObject::event(e);
    // A slot may close the link, and this reader with it.
    const QPointer<HidReader> alive(this);
    for (const QByteArray &data : ready) {
        emit report(data);
        if (!alive) return true;
    }
    if (failure) emit failed(*failure);
    return true;
}

} // namespace spk
