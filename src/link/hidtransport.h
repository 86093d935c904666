#pragma once

#include "link/hidbackend.h"
#include "link/transport.h"

#include <memory>
#include <optional>

namespace spk {

class HidReader;

// The USB link: the chosen HID device, opened with its read thread, reports both ways.
//
// The controller picks the device with choose(); open() opens that one. Written reports are
// min(declared output length, 65) bytes, zero-filled when the frame's report is shorter; input
// reports reach received() on the main thread. Closing stops and joins the read thread before
// the device is released.
class HidTransport : public Transport
{
    Q_OBJECT
public:
    static constexpr int ReportSize = 65; // report ID 0 and 64 bytes

    explicit HidTransport(HidBackend &backend, QObject *parent = nullptr);
    ~HidTransport() override;

    // The device a later open() opens; none closes any open one. Choosing another device than the
    // open one closes it first.
    void choose(const std::optional<HidDeviceInfo> &device);
    const std::optional<HidDeviceInfo> &chosen() const { return m_chosen; }

    Framing framing() const override { return Framing::Reports; }
    // Opens the chosen device; portNumber is PortUsb and otherwise unused.
    bool open(int portNumber) override;
    bool isOpen() const override { return bool(m_device); }
    bool write(const QByteArray &report) override;
    void close() override;
    QString lastError() const override { return m_lastError; }
    QString accessHint() const override { return m_hint; }

    bool readerRunning() const;

signals:
    // The bytes of a report that went out, and a write that failed.
    void reportWritten(const QByteArray &bytes);
    void writeFailed(const spk::HidError &error);
    // The read thread stopped on an error.
    void readFailed(const spk::HidError &error);

private:
    HidBackend &m_backend;
    std::optional<HidDeviceInfo> m_chosen;
    std::unique_ptr<HidDevice> m_device;
    std::unique_ptr<HidReader> m_reader;
    QString m_lastError;
    QString m_hint;
};

} // namespace spk
