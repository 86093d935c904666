#pragma once

#include "link/hidbackend.h"

#include <QEvent>
#include <QObject>

#include <QList>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace spk {

// The read thread of one open device. It waits for input reports in slices of SliceMs, so that a
// stop request is seen within one slice. Reports read while the main thread is busy are kept in
// order and handed over together by one posted event, so none is lost however many arrive
// between two hand-offs; report() and failed() are emitted on the main thread. A read failure is
// handed over once and ends the thread: hidraw reports a gone or broken device that way, and
// reading on would only repeat the error.
//
// stop() (and the destructor) joins the thread; only then may the device be closed. Reports
// posted but not yet delivered are dropped with this object.
class HidReader : public QObject
{
    Q_OBJECT
public:
    static constexpr int SliceMs = 250; // DevThreadSleepTime

    // device must outlive the reader.
    explicit HidReader(HidDevice &device, QObject *parent = nullptr);
    ~HidReader() override;

    void start();
    void stop();
    // The thread is reading (it ends on its own after a read failure).
    bool running() const { return m_running; }

signals:
    // One input report's data, without its report ID.
    void report(const QByteArray &data);
    void failed(const spk::HidError &error);

protected:
    bool event(QEvent *e) override;

private:
    void run();

    HidDevice &m_device;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::mutex m_mutex;
    // Read, not yet handed over; the failure that ended the reading; the event that hands them
    // over, here while none is posted.
    QList<QByteArray> m_ready;
    std::optional<HidError> m_failure;
    std::unique_ptr<QEvent> m_handOver;
};

} // namespace spk
