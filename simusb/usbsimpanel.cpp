#include "usbsimpanel.h"

#include "simhidbackend.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
spk::HidDeviceInfo otherDevice()
{
    return {QStringLiteral("sim-hidraw9"), 0x046d, 0xc52b, QStringLiteral("USB Receiver"), {}};
}
} // namespace

UsbSimPanel::UsbSimPanel(SimHidBackend &backend, QWidget *parent) : QWidget(parent), m_backend(backend)
{
    setWindowTitle(QStringLiteral("Simulated USB"));
    auto *column = new QVBoxLayout(this);
    auto *plug = new QPushButton(QStringLiteral("Plug in the processor"), this);
    auto *other = new QPushButton(QStringLiteral("Plug in another HID device"), this);
    auto *readError = new QPushButton(QStringLiteral("Fail the next read"), this);
    auto *writeErrors = new QCheckBox(QStringLiteral("Fail every write"), this);
    auto *silent = new QCheckBox(QStringLiteral("Device answers nothing"), this);
    for (QWidget *w :
         {static_cast<QWidget *>(plug), static_cast<QWidget *>(other), static_cast<QWidget *>(readError),
          static_cast<QWidget *>(writeErrors), static_cast<QWidget *>(silent)})
        column->addWidget(w);

    connect(plug, &QPushButton::clicked, this, [this, plug] {
        const bool present = m_backend.enumerate().contains(SimHidBackend::processor());
        if (present)
            m_backend.unplug();
        else
            m_backend.plug();
        plug->setText(present ? QStringLiteral("Plug in the processor")
                              : QStringLiteral("Pull out the processor"));
    });
    connect(other, &QPushButton::clicked, this, [this, other] {
        const bool present = m_backend.enumerate().contains(otherDevice());
        if (present)
            m_backend.unplug(otherDevice());
        else
            m_backend.plug(otherDevice());
        other->setText(present ? QStringLiteral("Plug in another HID device")
                               : QStringLiteral("Pull out the other HID device"));
    });
    connect(readError, &QPushButton::clicked, this, [this] { m_backend.failNextRead(); });
    connect(writeErrors, &QCheckBox::toggled, this, [this](bool on) { m_backend.failWrites = on ? EIO : 0; });
    connect(silent, &QCheckBox::toggled, this, [this](bool on) { m_backend.line.faults().silent = on; });
}
