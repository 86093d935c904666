#include "link/hidapibackend.h"

#include "link/logging.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <hidapi/hidapi.h>
#include <libudev.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <vector>

namespace spk {

namespace {

constexpr int DefaultOutputLength = 65;
constexpr int DefaultInputLength = 64;

QString fromWide(const wchar_t *s)
{
    return s ? QString::fromWCharArray(s) : QString();
}

HidError errnoError(int code, const wchar_t *hidText = nullptr)
{
    QString text = fromWide(hidText);
    if (text.isEmpty() || text == QLatin1String("Success"))
        text = QString::fromLocal8Bit(std::strerror(code));
    return {text, code};
}

// hidraw nodes describe themselves in sysfs; the descriptor gives the report lengths.
HidapiBackend::ReportLengths lengthsOf(const QString &path)
{
    QFile f(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(QFileInfo(path).fileName()));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return HidapiBackend::parseReportDescriptor(f.readAll());
}

class HidapiDevice : public HidDevice
{
public:
    HidapiDevice(hid_device *reader, hid_device *writer, HidapiBackend::ReportLengths lengths)
        : m_reader(reader), m_writer(writer),
          m_output(lengths.output > 0 ? lengths.output : DefaultOutputLength),
          m_input(lengths.input > 0 ? lengths.input : DefaultInputLength)
    {
    }
    ~HidapiDevice() override
    {
        hid_close(m_reader);
        hid_close(m_writer);
    }

    int outputReportLength() const override { return m_output; }
    int inputReportLength() const override { return m_input; }

    int read(unsigned char *data, int size, int timeoutMs) override
    {
        errno = 0;
        const int n = hid_read_timeout(m_reader, data, std::size_t(size), timeoutMs);
        if (n < 0) m_readError = errnoError(errno, hid_error(m_reader));
        return n;
    }
    int write(const unsigned char *data, int size) override
    {
        errno = 0;
        const int n = hid_write(m_writer, data, std::size_t(size));
        if (n < 0) m_writeError = errnoError(errno, hid_error(m_writer));
        return n;
    }
    HidError readError() const override { return m_readError; }
    HidError writeError() const override { return m_writeError; }

private:
    hid_device *m_reader;
    hid_device *m_writer;
    int m_output;
    int m_input;
    HidError m_readError;  // read thread only
    HidError m_writeError; // main thread only
};

} // namespace

HidapiBackend::HidapiBackend(QObject *parent) : HidBackend(parent)
{
    m_initialised = hid_init() == 0;
    if (!m_initialised) {
        m_error = {fromWide(hid_error(nullptr)), 0};
        qCWarning(lcLink).noquote() << "hidapi did not start:" << m_error.text;
    }
}

HidapiBackend::~HidapiBackend()
{
    delete m_notifier;
    if (m_monitor) udev_monitor_unref(m_monitor);
    if (m_udev) udev_unref(m_udev);
    // hid_exit() is left out: devices opened by others in this process may still be in use.
}

QList<HidDeviceInfo> HidapiBackend::enumerate()
{
    QList<HidDeviceInfo> out;
    if (!m_initialised) return out;
    hid_device_info *all = hid_enumerate(0, 0);
    for (hid_device_info *d = all; d; d = d->next) {
        HidDeviceInfo info{QString::fromLocal8Bit(d->path), d->vendor_id, d->product_id,
                           fromWide(d->product_string), fromWide(d->serial_number)};
        m_known.insert(info.path, info);
        out.append(info);
    }
    hid_free_enumeration(all);
    return out;
}

std::unique_ptr<HidDevice> HidapiBackend::open(const HidDeviceInfo &device)
{
    m_error = {};
    if (!m_initialised) {
        m_error = {QStringLiteral("hidapi is not available"), ENODEV};
        return nullptr;
    }
    const QByteArray path = device.path.toLocal8Bit();
    hid_device *handles[2] = {nullptr, nullptr};
    for (hid_device *&h : handles) {
        errno = 0;
        h = hid_open_path(path.constData());
        if (!h) {
            m_error = errnoError(errno ? errno : ENODEV, hid_error(nullptr));
            if (handles[0]) hid_close(handles[0]);
            return nullptr;
        }
    }
    return std::make_unique<HidapiDevice>(handles[0], handles[1], lengthsOf(device.path));
}

bool HidapiBackend::startMonitoring()
{
    if (m_notifier) return true;
    m_udev = udev_new();
    if (m_udev) m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        m_error = errnoError(errno ? errno : ENOSYS);
        qCWarning(lcLink).noquote() << "no USB arrival and removal notices:" << m_error.text;
        if (m_monitor) udev_monitor_unref(m_monitor);
        if (m_udev) udev_unref(m_udev);
        m_monitor = nullptr;
        m_udev = nullptr;
        return false;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &HidapiBackend::onMonitorReadable);
    return true;
}

void HidapiBackend::onMonitorReadable()
{
    // The monitor's socket does not block: take every event that is queued.
    while (udev_device *dev = udev_monitor_receive_device(m_monitor)) {
        const QString action = QString::fromLatin1(udev_device_get_action(dev));
        const QString node = QString::fromLocal8Bit(udev_device_get_devnode(dev));
        udev_device_unref(dev);
        if (node.isEmpty()) continue;
        if (action == QLatin1String("add")) {
            HidDeviceInfo info{node, 0, 0, {}, {}};
            for (const HidDeviceInfo &d : enumerate())
                if (d.path == node) info = d;
            qCDebug(lcLink).noquote() << "arrival of" << node;
            emit arrived(info);
            emit deviceChange();
        } else if (action == QLatin1String("remove")) {
            const HidDeviceInfo info = m_known.take(node);
            qCDebug(lcLink).noquote() << "removal of" << node;
            emit removed(info.path.isEmpty() ? HidDeviceInfo{node, 0, 0, {}, {}} : info);
            emit deviceChange();
        }
    }
}

HidapiBackend::ReportLengths HidapiBackend::parseReportDescriptor(const QByteArray &descriptor)
{
    struct Globals
    {
        quint32 size = 0;
        quint32 count = 0;
        quint32 id = 0;
    };
    Globals g;
    std::vector<Globals> stack;
    std::map<quint32, quint64> inputBits, outputBits;
    bool numbered = false;

    const auto *p = reinterpret_cast<const quint8 *>(descriptor.constData());
    const qsizetype n = descriptor.size();
    qsizetype i = 0;
    while (i < n) {
        const quint8 prefix = p[i];
        if (prefix == 0xFE) { // long item: size in the next byte
            if (i + 1 >= n) break;
            i += 3 + p[i + 1];
            continue;
        }
        const int len = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (i + 1 + len > n) break;
        quint32 value = 0;
        for (int b = 0; b < len; ++b)
            value |= quint32(p[i + 1 + b]) << (8 * b);
        switch (prefix & 0xFC) {
        case 0x74:
            g.size = value;
            break;
        case 0x94:
            g.count = value;
            break;
        case 0x84:
            g.id = value;
            numbered = true;
            break;
        case 0xA4:
            stack.push_back(g);
            break;
        case 0xB4:
            if (!stack.empty()) {
                g = stack.back();
                stack.pop_back();
            }
            break;
        case 0x80:
            inputBits[g.id] += quint64(g.size) * g.count;
            break;
        case 0x90:
            outputBits[g.id] += quint64(g.size) * g.count;
            break;
        default:
            break;
        }
        i += 1 + len;
    }
    ReportLengths out;
    // hidraw hands input reports over with their ID byte only when reports are numbered.
    for (const auto &[id, bits] : inputBits)
        out.input = std::max(out.input, int((bits + 7) / 8) + (numbered ? 1 : 0));
    for (const auto &[id, bits] : outputBits)
        out.output = std::max(out.output, int((bits + 7) / 8) + 1);
    return out;
}

} // namespace spk
