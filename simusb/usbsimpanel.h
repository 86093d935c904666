#pragma once

#include <QWidget>

class SimHidBackend;

// The buttons of spkedit-usbsim: plug the simulated processor in and out, add an unrelated HID
// device, and switch its faults.
class UsbSimPanel : public QWidget
{
    Q_OBJECT
public:
    explicit UsbSimPanel(SimHidBackend &backend, QWidget *parent = nullptr);

private:
    SimHidBackend &m_backend;
};
