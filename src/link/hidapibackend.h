#pragma once

#include "link/hidbackend.h"

#include <QHash>

struct udev;
struct udev_monitor;
class QSocketNotifier;

namespace spk {

// The machine's HID devices through hidapi (hidraw) and libudev.
//
// Hot-plug: a udev monitor on the hidraw subsystem, read by a QSocketNotifier on the main thread;
// no polling. An opened device gets two handles, one for the read thread and one for writes, so
// that the two threads never share hidapi's per-device state.
class HidapiBackend : public HidBackend
{
    Q_OBJECT
public:
    explicit HidapiBackend(QObject *parent = nullptr);
    ~HidapiBackend() override;

    QList<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const HidDeviceInfo &device) override;
    HidError lastError() const override { return m_error; }
    bool startMonitoring() override;
    bool monitoring() const { return m_notifier != nullptr; }

    // Report lengths declared by a report descriptor: the longest output report with its ID byte,
    // the longest input report as a read returns it (with the ID byte only when reports are
    // numbered). Zero where the descriptor declares none.
    struct ReportLengths
    {
        int output = 0;
        int input = 0;
    };
    static ReportLengths parseReportDescriptor(const QByteArray &descriptor);

private:
    void onMonitorReadable();

    bool m_initialised = false;
    HidError m_error;
    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    // What enumeration last saw, by path: a removed node can no longer be asked.
    QHash<QString, HidDeviceInfo> m_known;
};

} // namespace spk
