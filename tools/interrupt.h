#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <atomic>
#include <memory>

namespace spk::tool {

// SIGINT, SIGTERM and SIGHUP end the command where it stands instead of killing the process, so that
// the port is closed and no file is left half-written. The signal only writes to a pipe; the event
// loop turns it into raised(). A second signal kills as usual, for a command that does not end.
class Interrupt : public QObject
{
    Q_OBJECT
public:
    Interrupt();
    ~Interrupt() override;

    // Read by the workers of a fleet job too.
    bool requested() const { return m_requested; }
    // Takes a signal that came while the event loop was not running (a blocking read).
    void poll() { onPipe(); }

signals:
    void raised();

private:
    void onPipe();

    std::unique_ptr<QSocketNotifier> m_notifier;
    std::atomic<bool> m_requested = false;
};

} // namespace spk::tool
