#include "link/hidbackend.h"

namespace spk {

HidDevice::~HidDevice() = default;
HidBackend::~HidBackend() = default;

QString HidBackend::deviceName(const HidDeviceInfo &device)
{
    QString name = device.product.isEmpty()
                       ? QString::asprintf("Device VID=%.4x PID=%.4x", device.vendorId, device.productId)
                       : device.product;
    if (!device.serial.isEmpty()) name += QStringLiteral(" (Serial=%1)").arg(device.serial);
    return name;
}

} // namespace spk
