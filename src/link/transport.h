#pragma once

#include <QByteArray>
#include <QObject>

namespace spk {

// What the protocol needs of a link: write a frame (serial) or a report (HID), and be told
// what arrives. Implementations: serial port, USB HID, in-process simulator.
class Transport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~Transport() override;

    virtual bool isOpen() const = 0;
    // Serial: the raw frame bytes. HID: one 65-byte report (report ID 0 first).
    virtual bool write(const QByteArray &bytes) = 0;
    virtual void close() = 0;

signals:
    // Serial: one read pass's bytes. HID: one input report's data without its report ID.
    void received(const QByteArray &bytes);
    // The link failed underneath (port vanished, read or write error).
    void failed(const QString &reason);
};

} // namespace spk
