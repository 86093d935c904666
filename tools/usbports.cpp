#include "usbports.h"

#include "link/hidapibackend.h"

#include <memory>

namespace spk::tool {

namespace {
const QString Prefix = QStringLiteral("usb");
HidBackend *g_backend = nullptr;

QList<HidDeviceInfo> processors()
{
    QList<HidDeviceInfo> out;
    for (const HidDeviceInfo &d : hidBackend().enumerate())
        if (isProcessor(d)) out << d;
    return out;
}
} // namespace

HidBackend &hidBackend()
{
    if (!g_backend) {
        static HidapiBackend machine;
        g_backend = &machine;
    }
    return *g_backend;
}

void setHidBackend(HidBackend *backend)
{
    g_backend = backend;
}

bool isUsbPort(const QString &port)
{
    return port == Prefix || port.startsWith(Prefix + u':');
}

QString usbPortName(const HidDeviceInfo &device)
{
    return Prefix + u':' + device.path;
}

QStringList usbPorts()
{
    QStringList out;
    for (const HidDeviceInfo &d : processors())
        out << usbPortName(d);
    return out;
}

std::optional<HidDeviceInfo> findUsbProcessor(const QString &port, QString *why)
{
    const QList<HidDeviceInfo> found = processors();
    if (port == Prefix) {
        if (found.size() == 1) return found.first();
        if (found.isEmpty()) {
            *why = QStringLiteral("no processor on USB");
            return std::nullopt;
        }
        *why = QStringLiteral("several processors on USB (%1); name one with --port")
                   .arg(usbPorts().join(QStringLiteral(", ")));
        return std::nullopt;
    }
    for (const HidDeviceInfo &d : found)
        if (usbPortName(d) == port) return d;
    *why = QStringLiteral("no processor at %1 (spktool ports lists them)").arg(port);
    return std::nullopt;
}

} // namespace spk::tool
