#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace spk {

// What the protocol needs of a link: open it, write a frame (serial) or a report (HID), and be
// told what arrives or that the link failed. Implementations: serial port, USB HID, and fakes in
// tests. Nothing above this interface asks which one it has.
class Transport : public QObject
{
    Q_OBJECT
public:
    // How a frame travels: the raw frame bytes, or 65-byte reports (report ID 0 first).
    enum class Framing { Bytes, Reports };

    using QObject::QObject;
    ~Transport() override;

    virtual Framing framing() const = 0;
    // Opens the link and starts delivering what arrives. portNumber: a number from the port
    // catalog (serial) or PortUsb (the chosen HID device). False with lastError() set on failure.
    virtual bool open(int portNumber) = 0;
    virtual bool isOpen() const = 0;
    // Serial: the raw frame bytes. HID: one 65-byte report.
    virtual bool write(const QByteArray &bytes) = 0;
    // Harmless when closed; never waits.
    virtual void close() = 0;
    // Why the last open failed or the link went down.
    virtual QString lastError() const = 0;
    // What the user can do about a refused open (a missing access right), or empty.
    virtual QString accessHint() const { return {}; }

signals:
    // Serial: one read pass's bytes. HID: one input report's data without its report ID.
    void received(const QByteArray &bytes);
    // The link failed underneath (port vanished, read or write error).
    void failed(const QString &reason);
};

} // namespace spk
