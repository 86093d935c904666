#include "session/connectioncontroller.h"

#include "link/delay.h"
#include "link/netaddress.h"
#include "link/portcatalog.h"
#include "link/portlistrefresh.h"
#include "link/transmitter.h"
#include "link/transport.h"
#include "protocol/commands.h"
#include "protocol/framebuilder.h"
#include "protocol/receiver.h"
#include "session/logging.h"
#include "window/connectionindicator.h"
#include "window/controllookup.h"
#include "window/dialogs.h"
#include "window/editorstate.h"
#include "window/progressbox.h"
#include "window/statuspanels.h"
#include "window/warningwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace spk {

namespace {
// The data of the network port item, which no port name can be.
const QString AddNetworkPortMark = QStringLiteral("spk:add-network-port");
} // namespace

ConnectionController::ConnectionController(const ConnectionParts &parts, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state)
{
}

void ConnectionController::attach()
{
    ControlLookup &c = m_parts.controls;
    m_button = c.require<QPushButton>(QStringLiteral("btn_connect"));
    m_ports = c.require<QComboBox>(QStringLiteral("cbb_comport"));
    m_scratch = c.require<QComboBox>(QStringLiteral("cbb_comport2"));
    m_ids = c.require<QComboBox>(QStringLiteral("cbb_deviceid"));
    m_indicator = c.require<QLabel>(QStringLiteral("img_connectstate"));

    connect(m_button, &QPushButton::clicked, this, &ConnectionController::btn_connectClick);
    m_parts.status.connection()->setConnectButton(m_button);
    // Only the user's choice changes the address at once; a program that picks an item (the ID
    // search, a new ID) sets the address itself.
    connect(m_ids, &QComboBox::activated, this, &ConnectionController::cbb_deviceidChange);

    connect(&m_state.tmr_disconnect, &QTimer::timeout, this, &ConnectionController::tmr_disconnectTimer);
    connect(&m_state.tmr_reflashcomport, &QTimer::timeout, this,
            &ConnectionController::tmr_reflashcomportTimer);
    connect(&m_state.tmr_hidreconnect, &QTimer::timeout, this, &ConnectionController::tmr_hidreconnectTimer);

    for (Transport *t : {&m_parts.serial, m_parts.usb}) {
        if (t) connect(t, &Transport::failed, this, &ConnectionController::onDriverFailed);
    }
    showLinkState(false);
    m_parts.status.setConnectionText(QStringLiteral(" Disconnected"));
}

bool ConnectionController::linkUp() const
{
    return m_state.Link.Connected && !m_closing;
}

bool ConnectionController::waitOnLink(int ms, const QObject *caller)
{
    const quint64 link = m_generation;
    QPointer<ConnectionController> self(this);
    QPointer<const QObject> guard(caller);
    Delay(ms);
    return self && guard && sameLink(link);
}

Transport &ConnectionController::transport(bool usb) const
{
    return usb && m_parts.usb ? *m_parts.usb : m_parts.serial;
}

void ConnectionController::fillPortList()
{
    // With no port the list holds the network port item alone.
    showPortList(portListRefresh({}, m_parts.catalog.ports()).value_or(PortListChange{}));
    m_state.tmr_reflashcomport.start();
}

void ConnectionController::showPorts(const QString &selectPath)
{
    PortListChange change = portListRefresh({}, m_parts.catalog.ports()).value_or(PortListChange{});
    const int index = int(change.PortNumbers.indexOf(m_parts.catalog.numberOf(selectPath)));
    if (index >= 0) change.currentIndex = index;
    showPortList(change);
}

void ConnectionController::showPortList(const PortListChange &change)
{
    m_ports->clear();
    m_ports->addItems(change.items);
    for (int i = 0; i < change.items.size(); ++i)
        if (isNetworkPort(change.items[i])) m_ports->setItemData(i, change.items[i], Qt::ToolTipRole);
    const QString add = addNetworkPortText();
    m_ports->addItem(add, AddNetworkPortMark);
    const int last = m_ports->count() - 1;
    m_ports->setItemData(last, add, Qt::AccessibleTextRole);
    m_ports->setItemData(last, QStringLiteral("A serial line behind a device server"),
                         Qt::AccessibleDescriptionRole);
    m_ports->setItemData(last, QStringLiteral("A serial line behind a device server"), Qt::ToolTipRole);
    m_ports->setCurrentIndex(change.currentIndex);
    PortNumbers = change.PortNumbers;
}

bool ConnectionController::isAddNetworkPortItem(int index) const
{
    return index >= 0 && m_ports->itemData(index) == AddNetworkPortMark;
}

QStringList ConnectionController::portItems() const
{
    QStringList shown;
    for (int i = 0; i < m_ports->count(); ++i)
        if (!isAddNetworkPortItem(i)) shown << m_ports->itemText(i);
    return shown;
}

void ConnectionController::tmr_reflashcomportTimer()
{
    if (m_state.Link.UsbMode || hidChosen()) return;
    TmrGetCommport(m_ports, m_scratch);
}

void ConnectionController::TmrGetCommport(QComboBox *list, QComboBox *scratch)
{
    // PortNumbers belong to cbb_comport; no other list is refreshed.
    if (!list || list != m_ports || m_state.Link.Connected) return;
    const QList<PortInfo> scanned = m_parts.catalog.ports();
    if (scratch) {
        scratch->clear();
        for (const PortInfo &p : scanned)
            scratch->addItem(p.name);
    }
    // The network port item is no port: it stays out of the comparison and comes back after.
    if (const auto change = portListRefresh(portItems(), scanned)) showPortList(*change);
}

void ConnectionController::cbb_deviceidChange()
{
    const int index = m_ids->currentIndex();
    if (index < 0) return;
    // In broadcast mode the pick only says where meter polls and one-off re-reads go.
    if (!m_state.Link.Broadcast) m_state.Link.DevIdByte = index;
    m_state.Link.PickedIdIndex = index;
}

void ConnectionController::btn_s_closeClick()
{
    ControlLookup &c = m_parts.controls;
    // The search's result box comes with the device addressing.
    if (QWidget *result = c.widget(QStringLiteral("rzgrpbx_sch_result"))) result->hide();
    for (const char *name : {"grp1", "grp2", "rzgrpbx5", "rzgrpbx9", "img1"})
        c.require<QWidget>(QString::fromLatin1(name))->show();
    for (const char *name : {"grp1", "grp2", "rzgrpbx5"})
        c.require<QWidget>(QString::fromLatin1(name))->setEnabled(true);
}

void ConnectionController::btn_connectClick()
{
    // A click while the link is being closed belongs to that close.
    if (m_closing) return;
    if (captionSaysConnect(m_button))
        connectLink();
    else
        disconnectLink();
}

void ConnectionController::connectLink()
{
    if (mayConnect && !mayConnect()) return;
    LinkState &link = m_state.Link;
    btn_s_closeClick();
    link.SilenceCount = 0;
    if (m_parts.warning) m_parts.warning->close();
    m_parts.progress.moveTo(189, 205);
    m_parts.progress.setBar(0);

    const bool usb = hidChosen();
    Transport &transport = this->transport(usb);
    if (!usb) {
        // An empty list or no selection names no port, and the open below fails.
        const int item = m_ports->currentIndex();
        PortNumber = (item >= 0 && item < PortNumbers.size()) ? PortNumbers.at(item) : PortNone;
    }
    const int id = qMax(0, m_ids->currentIndex());
    link.DevIdByte = id;
    link.PickedIdIndex = id;

    if (transport.isOpen()) transport.close();
    link.Connected = false;
    m_state.DirtyFlags.clearFrom(1);

    if (usb) PortNumber = PortUsb;
    if (!transport.open(PortNumber)) {
        refuseConnect(transport);
        return;
    }
    link.Connected = true;
    ++m_generation;

    m_parts.progress.start();
    m_parts.receiver.reset();
    m_state.tmr_disconnect.start();
    m_state.tmr_hidreconnect.start();
    link.VersionOk = false;
    m_parts.transmitter.transmit(FrameBuilder::readRequest(link, 0, CMD_Version, 0));
    showLinkState(true);
    emit linkOpened();
}

void ConnectionController::refuseConnect(Transport &transport)
{
    qCWarning(lcSession).noquote() << "connect refused:" << transport.lastError();
    PortNumber = 0;
    m_parts.progress.close();
    // The fixed sentence, and what to do about a missing access right when the link knows it.
    const QString hint = transport.accessHint();
    m_parts.dialogs.information(m_parts.window, hint.isEmpty()
                                                    ? QStringLiteral("No port or in use.")
                                                    : QStringLiteral("No port or in use.\n") + hint);
    transport.close();
    m_state.Link.Connected = false;
}

void ConnectionController::disconnectLink()
{
    closeLink();
    emit linkClosed(false);
}

void ConnectionController::closeLink()
{
    m_state.tmr_disconnect.stop();
    m_state.Target.disarm();
    PortNumber = PortNone;

    // Lets a read pass that is already due run; what it dispatches finds the link closing.
    m_closing = true;
    QPointer<ConnectionController> self(this);
    Delay(CloseSettleMs);
    if (!self) return;
    // UsbMode may have changed since the open (a USB device arrived during a serial link): both go.
    m_parts.serial.close();
    if (m_parts.usb) m_parts.usb->close();
    m_state.Link.Connected = false;
    m_closing = false;

    m_parts.receiver.reset();
    m_parts.progress.close();
    stopLinkTimers();
    m_state.DirtyFlags.clearAll();
    showLinkState(false);
}

void ConnectionController::stopLinkTimers()
{
    for (QTimer *t : {&m_state.tmr_prgrsbr, &m_state.tmr_pulseframe, &m_state.tmr_disconnect,
                      &m_state.tmr_apply20grp, &m_state.tmr_send20grp, &m_state.tmr_hidreconnect})
        t->stop();
}

void ConnectionController::tmr_disconnectTimer()
{
    if (m_closing) return;
    if (!m_state.Link.Connected) {
        // A tick left over from a link that is gone says nothing about silence.
        m_state.tmr_disconnect.stop();
        return;
    }
    if (++m_state.Link.SilenceCount <= SilenceLimit) return;

    if (m_state.Link.SilenceCount <= SilenceLimit + 1)
        qCWarning(lcSession) << "link dropped: no complete reply for" << SilenceLimit + 1 << "watchdog ticks";
    if (forgetHidDevice) forgetHidDevice();
    closeLink();
    if (m_parts.warning) m_parts.warning->showCentredOn(m_parts.window);
    emit linkClosed(true);
}

void ConnectionController::onDriverFailed(const QString &reason)
{
    qCWarning(lcSession).noquote() << "link failed:" << reason;
    if (m_closing || !m_state.Link.Connected || m_state.Link.UsbMode) return;
    // The port is gone and no reply can come: drop the link now, as a pulled USB device does,
    // instead of waiting out the silence.
    m_state.Link.SilenceCount = 100;
    tmr_disconnectTimer();
}

void ConnectionController::tmr_hidreconnectTimer()
{
    m_state.tmr_hidreconnect.stop();
    if (m_state.Link.VersionOk) return;
    ++HidRetryCount;
    if (!hidChosen() || !m_state.Link.UsbMode || HidRetryCount >= 4) return;
    m_state.Link.SilenceCount = 0;
    m_state.tmr_hidreconnect.start();
    m_button->setText(connectCaption());
    PortNumber = PortNone;
    btn_connectClick();
}

void ConnectionController::showLinkState(bool connected)
{
    m_button->setText(connected ? disconnectCaption() : connectCaption());
    m_parts.status.setConnectionText(connected ? QStringLiteral(" Connected ")
                                               : QStringLiteral(" Disconnected "));
    showConnectionIndicator(m_indicator, connected);
}

} // namespace spk
