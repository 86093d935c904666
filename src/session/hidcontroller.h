#pragma once

#include "link/hidbackend.h"

#include <QObject>

#include <optional>

class QComboBox;
class QLabel;
class QListWidget;

namespace spk {

class ConnectionController;
class ControlLookup;
class EditorState;
class HidTransport;

// What the USB side works with; all owned by the main window.
struct HidParts
{
    EditorState &state;
    ControlLookup &controls;
    HidBackend &backend;
    HidTransport &transport;
    ConnectionController &connection;
};

// The USB device controller (hidctl): the list of present HID devices (DevListBox), the choice of
// the processor by its name, automatic connect on arrival, the immediate drop on removal, and the
// log of arrivals, removals, written reports and errors (HistoryListBox). Every handler runs on
// the main thread: the backend's notices and the read thread's reports are delivered there.
//
// A device is chosen while CurrentHidDevice is set and UsbMode is on; the connection then opens
// the HID transport instead of a serial port.
class HidController : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 VendorId = ProcessorVendorId;
    static constexpr quint16 ProductId = ProcessorProductId;
    static constexpr int NoDevice = 100;
    // HistoryListBox keeps the newest lines; a connected device adds about three a second.
    static constexpr int HistoryLimit = 1000;
    static QString wantedName() { return QStringLiteral("REZIDIDADIDAV01 (Serial=0000001)"); }

    explicit HidController(const HidParts &parts, QObject *parent = nullptr);

    // Finds the controls and wires the backend, the transport and the connection's hooks.
    void attach();
    // Starts the arrival and removal notices and raises the first device change once the event
    // loop runs (a device present at start connects then).
    void start();

    void hidctlDeviceChange();
    bool hidctlEnumerate(const HidDeviceInfo &device, int index);
    void hidctlArrival(const HidDeviceInfo &device);
    void hidctlRemoval(const HidDeviceInfo &device);
    void hidctlDeviceDataError(const HidError &error);
    void AddToHistory(const QString &text);

    int HidIndex = NoDevice;
    const std::optional<HidDeviceInfo> &CurrentHidDevice() const { return m_current; }
    // CurrentHidDevice set with UsbMode on.
    bool deviceChosen() const;

private:
    void logWritten(const QByteArray &bytes);
    void logWriteError(const HidError &error);
    void showSerialControls(bool enabled);

    HidParts m_parts;
    EditorState &m_state;
    QListWidget *m_devices = nullptr;
    QListWidget *m_history = nullptr;
    QLabel *m_label = nullptr;
    std::optional<HidDeviceInfo> m_current;
    // The device whose automatic connect was refused; the change that follows its arrival does not
    // ask again.
    QString m_refusedPath;
};

} // namespace spk
