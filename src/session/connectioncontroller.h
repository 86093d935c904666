#pragma once

#include "link/portcatalog.h"
#include "link/portlistrefresh.h"
#include "window/windowparts.h"

#include <QList>
#include <QObject>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace spk {

class EditorState;
class PortCatalog;
class Receiver;
class Transmitter;
class Transport;

// What the connection logic works with; all owned by the main window.
struct ConnectionParts : WindowParts
{
    Transport &serial;
    Transport *usb; // null until there is a USB link
    PortCatalog &catalog;
    Receiver &receiver;
    Transmitter &transmitter;
};

// The user's side of the link: the port list and its refresh, Connect/Disconnect, the connection
// indicators, the silence watchdog and the USB connect retry.
//
// Closing a link takes a 50 ms wait that keeps serving events; replies and ticks that come in
// meanwhile find closing() set and leave the link alone. Code that waits while a link is up
// remembers linkGeneration() and carries on only while sameLink() holds.
class ConnectionController : public QObject
{
    Q_OBJECT
public:
    static constexpr int SilenceLimit = 12; // the 13th silent watchdog tick drops the link
    static constexpr int CloseSettleMs = 50;

    explicit ConnectionController(const ConnectionParts &parts, QObject *parent = nullptr);

    // Finds the controls, wires the timers, the buttons and the serial driver.
    void attach();
    // Start-up: the port list filled (last item selected) and its refresh running.
    void fillPortList();
    // The port list rebuilt from the catalog now, with the port at this path selected.
    void showPorts(const QString &selectPath);
    // The item after the ports that opens the network port form (NetworkPortAdder); no port.
    static QString addNetworkPortText() { return QStringLiteral("Add network port..."); }
    bool isAddNetworkPortItem(int index) const;

    void btn_connectClick();
    void btn_s_closeClick();
    void tmr_disconnectTimer();
    void tmr_reflashcomportTimer();
    void TmrGetCommport(QComboBox *list, QComboBox *scratch);
    void tmr_hidreconnectTimer();
    void cbb_deviceidChange();

    bool linkUp() const;
    bool closing() const { return m_closing; }
    quint64 linkGeneration() const { return m_generation; }
    bool sameLink(quint64 generation) const { return linkUp() && generation == m_generation; }
    // Delay(ms) while the link is up; true when the link and caller are still there afterwards.
    // Code that goes on after a wait goes on only then.
    bool waitOnLink(int ms, const QObject *caller);

    // The port the link is opened on: a number of the port list, PortNone, 0 after a refused
    // open, or PortUsb.
    int PortNumber = PortNone;

    // Port numbers of the items of cbb_comport, in item order.
    QList<int> PortNumbers;
    int HidRetryCount = 0;

    // Left for the USB link: whether a HID device is chosen, and forgetting it when the link is
    // lost. Unset means no USB link.
    std::function<bool()> hidDeviceChosen;
    std::function<void()> forgetHidDevice;
    // Asked before a link is opened (a preset file being edited offline); false leaves it closed.
    std::function<bool()> mayConnect;

signals:
    // The port is open and the version request went out.
    void linkOpened();
    // The link was closed: by the user, or lost (watchdog, failed port).
    void linkClosed(bool lost);

private:
    bool hidChosen() const { return hidDeviceChosen && hidDeviceChosen(); }
    void connectLink();
    void disconnectLink();
    void closeLink();
    void refuseConnect(Transport &transport);
    void stopLinkTimers();
    void showLinkState(bool connected);
    void onDriverFailed(const QString &reason);
    Transport &transport(bool usb) const;
    QStringList portItems() const;
    void showPortList(const PortListChange &change);

    ConnectionParts m_parts;
    EditorState &m_state;
    QPushButton *m_button = nullptr;
    QComboBox *m_ports = nullptr;
    QComboBox *m_scratch = nullptr;
    QComboBox *m_ids = nullptr;
    QLabel *m_indicator = nullptr;
    bool m_closing = false;
    quint64 m_generation = 0;
};

} // namespace spk
