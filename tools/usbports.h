#pragma once

#include "link/hidbackend.h"

#include <QList>
#include <QString>

#include <optional>

namespace spk::tool {

// Processors on USB as ports: "usb:/dev/hidraw3" names one, "usb" the only one there is.

// The machine's HID devices (hidapi), unless a test has put its own in.
HidBackend &hidBackend();
void setHidBackend(HidBackend *backend);

bool isUsbPort(const QString &port);
QString usbPortName(const HidDeviceInfo &device);
// The ports of the processors plugged in now.
QStringList usbPorts();
// The processor that port names; nullopt with why set when there is none or "usb" is ambiguous.
std::optional<HidDeviceInfo> findUsbProcessor(const QString &port, QString *why);

} // namespace spk::tool
