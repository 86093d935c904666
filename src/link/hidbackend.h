#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <memory>

namespace spk {

// One HID device as enumeration sees it. An empty product or serial string means the device has
// none.
struct HidDeviceInfo
{
    QString path; // what opens it: "/dev/hidraw3", or a simulated device's name
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString product;
    QString serial;

    friend bool operator==(const HidDeviceInfo &, const HidDeviceInfo &) = default;
};

// The processor's USB identity.
inline constexpr quint16 ProcessorVendorId = 0x0483;
inline constexpr quint16 ProcessorProductId = 0x5750;
inline bool isProcessor(const HidDeviceInfo &device)
{
    return device.vendorId == ProcessorVendorId && device.productId == ProcessorProductId;
}

// Why a HID call failed: the platform's text and error code (errno on Linux).
struct HidError
{
    QString text;
    int code = 0;
};

// An open device. read() runs on a reader thread while write() runs on the main thread; an
// implementation must allow that pair to overlap, and nothing else.
class HidDevice
{
public:
    virtual ~HidDevice();

    // Whole output report, report ID included (65 for the processor).
    virtual int outputReportLength() const = 0;
    // Data bytes of an input report, report ID excluded (64 for the processor).
    virtual int inputReportLength() const = 0;

    // Waits at most timeoutMs for one input report and copies at most size bytes of its data.
    // Bytes copied, 0 on timeout, -1 on failure (readError() says why).
    virtual int read(unsigned char *data, int size, int timeoutMs) = 0;
    // Bytes written, or -1 (writeError() says why).
    virtual int write(const unsigned char *data, int size) = 0;

    // Each error belongs to the thread that made the call.
    virtual HidError readError() const = 0;
    virtual HidError writeError() const = 0;
};

// Access to the machine's HID devices: enumeration, opening, and hot-plug notices, which are
// delivered on the thread the backend lives on (the main thread).
class HidBackend : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~HidBackend() override;

    virtual QList<HidDeviceInfo> enumerate() = 0;
    // Null with lastError() set when the device is gone, busy or not permitted.
    virtual std::unique_ptr<HidDevice> open(const HidDeviceInfo &device) = 0;
    virtual HidError lastError() const = 0;
    // Starts the hot-plug notices; false (with lastError()) when the machine gives none.
    virtual bool startMonitoring() = 0;

    // The device's display name: the product string, or "Device VID=%.4x PID=%.4x" without one,
    // followed by " (Serial=%s)" when it has a serial number.
    static QString deviceName(const HidDeviceInfo &device);

signals:
    void arrived(const spk::HidDeviceInfo &device);
    void removed(const spk::HidDeviceInfo &device);
    // The set of present devices changed; raised after each arrival and removal.
    void deviceChange();
};

} // namespace spk

Q_DECLARE_METATYPE(spk::HidDeviceInfo)
