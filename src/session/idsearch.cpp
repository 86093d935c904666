#include "session/idsearch.h"

#include "link/delay.h"
#include "link/netaddress.h"
#include "link/transport.h"
#include "protocol/framebuilder.h"
#include "protocol/receiver.h"
#include "session/connectioncontroller.h"
#include "session/logging.h"
#include "window/controllookup.h"
#include "window/dialogs.h"
#include "window/editorstate.h"
#include "window/progressbox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace spk {

namespace {
QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *n : list)
        out << QString::fromLatin1(n);
    return out;
}
} // namespace

IdSearch::IdSearch(const AddressingParts &parts, QObject *parent)
    : QObject(parent), m_parts(parts), m_state(parts.state)
{
}

void IdSearch::attach()
{
    ControlLookup &c = m_parts.controls;
    m_searchBox = c.require<QGroupBox>(QStringLiteral("rzgrpbx_searchID"));
    m_bar = c.require<QProgressBar>(QStringLiteral("rzprgrsbr_searchid"));
    m_resultBox = c.require<QGroupBox>(QStringLiteral("rzgrpbx_sch_result"));
    m_memo = c.require<QPlainTextEdit>(QStringLiteral("mmo_s_result"));
    connect(c.require<QPushButton>(QStringLiteral("btn41")), &QPushButton::clicked, this,
            &IdSearch::btn41Click);
    connect(c.require<QPushButton>(QStringLiteral("btn42")), &QPushButton::clicked, this,
            &IdSearch::btn42Click);
    connect(c.require<QPushButton>(QStringLiteral("btn_searchid")), &QPushButton::clicked, this,
            &IdSearch::btn_searchidClick);
    ConnectionController &link = m_parts.connection;
    for (const char *close : {"btn_s_close", "btn5"})
        connect(c.require<QPushButton>(QString::fromLatin1(close)), &QPushButton::clicked, &link,
                &ConnectionController::btn_s_closeClick);
    connect(&m_state.tmr_boot, &QTimer::timeout, this, &IdSearch::tmr_bootTimer);
    connect(&m_state.tmr_close_seach, &QTimer::timeout, this, &IdSearch::tmr_close_seachTimer);
    // Quitting ends a search at the next probe instead of probing on behind a closed window.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &IdSearch::btn_searchidClick);
    connect(&m_parts.serial, &Transport::failed, this, [this](const QString &reason) {
        if (!m_running) return;
        qCWarning(lcSession).noquote() << "ID search: port lost:" << reason;
        m_portFailed = true;
    });
}

void IdSearch::btn41Click()
{
    search(Kind::Full);
}

void IdSearch::btn_quicksearch()
{
    search(Kind::Quick);
}

void IdSearch::btn_searchidClick()
{
    SearchCancel = true;
}

void IdSearch::btn42Click()
{
    m_resultBox->move(ResultBoxAt);
    m_resultBox->show();
    m_resultBox->raise();
    m_parts.controls.require<QWidget>(QStringLiteral("rzgrpbx9"))->hide();
}

void IdSearch::tmr_bootTimer()
{
    m_state.tmr_boot.stop();
    QPointer<IdSearch> self(this);
    const bool usb = m_parts.connection.hidDeviceChosen && m_parts.connection.hidDeviceChosen();
    if (!usb) btn_quicksearch();
    if (self) m_state.tmr_close_seach.start();
}

void IdSearch::tmr_close_seachTimer()
{
    m_state.tmr_close_seach.stop();
    // A full search started meanwhile keeps its boxes; its own result box closes them.
    if (m_running) return;
    // Also when no result box came (a USB device, a port that did not open): the groups that
    // start-up hid come back.
    if (!m_resultBox->isHidden() || m_parts.controls.require<QWidget>(QStringLiteral("grp1"))->isHidden())
        m_parts.connection.btn_s_closeClick();
}

void IdSearch::noteMeterReply(int idByte)
{
    if (!m_running || m_probePort < 0) return;
    // Counted under the ID it carries: late answers to an earlier probe too, never one not yet probed.
    if (idByte < 0 || idByte > m_probeId) {
        qCDebug(lcSession) << "ID search: reply from ID byte" << idByte << "while probing" << m_probeId;
        return;
    }
    m_table.record(m_probePort, idByte);
}

void IdSearch::search(Kind kind)
{
    // A click that reaches here during a search (through its waits) starts nothing.
    if (m_running) return;
    SearchCancel = false;
    const LinkState &link = m_state.Link;
    const bool usb =
        link.UsbMode || (m_parts.connection.hidDeviceChosen && m_parts.connection.hidDeviceChosen());
    if (link.Connected) {
        m_parts.dialogs.information(m_parts.window, QStringLiteral("please disconnect and try again."));
        return;
    }
    if (usb) {
        if (kind == Kind::Full)
            m_parts.dialogs.information(m_parts.window,
                                        QStringLiteral("Current connection is USB, not a 485."));
        return;
    }
    if (kind == Kind::Full) m_table.clear();
    disableGroups(kind);

    // The port list stays as it is while its ports are probed, and no link is opened meanwhile.
    m_running = true;
    m_state.tmr_reflashcomport.stop();
    ControlLookup &c = m_parts.controls;
    for (const char *name : {"btn_connect", "cbb_comport"})
        c.require<QWidget>(QString::fromLatin1(name))->setEnabled(false);

    auto *list = c.require<QComboBox>(QStringLiteral("cbb_comport"));
    const QList<int> numbers = m_parts.connection.PortNumbers;
    QList<SearchedPort> ports;
    for (int i = 0; i < numbers.size(); ++i)
        ports.append({i < list->count() ? list->itemText(i) : QString::number(numbers[i]), numbers[i]});

    QPointer<IdSearch> self(this);
    const int count = int(numbers.size());
    for (int n = 1; n <= count; ++n) {
        const int port = numbers.at(count - n);
        QCoreApplication::processEvents();
        if (!self) return;
        m_parts.connection.PortNumber = port;
        if (m_parts.serial.isOpen()) {
            m_parts.serial.close();
            Delay(ReopenWaitMs);
            if (!self) return;
        }
        if (!FoundTable::canRecord(port)) {
            qCWarning(lcSession) << "ID search: port number" << port << "has no place in the table; skipped";
            continue;
        }
        if (!probePort(port, n, count, kind)) {
            if (!self) return;
            // A device server that is off or gone is no reason to give up the other lines.
            if (isNetworkPort(ports.at(count - n).name)) continue;
            endOnFailedOpen();
            return;
        }
        if (!self) return;
        if (SearchCancel || m_portFailed) break;
    }
    showResult(kind, ports);
}

bool IdSearch::probePort(int port, int n, int count, Kind kind)
{
    m_portFailed = false;
    if (!m_parts.serial.open(port)) {
        qCWarning(lcSession).noquote()
            << "ID search: cannot open port" << port << ":" << m_parts.serial.lastError();
        return false;
    }
    QPointer<IdSearch> self(this);
    const int ids = kind == Kind::Full ? FullIds : QuickIds;
    m_probePort = port;
    for (int b = 0; b < ids; ++b) {
        QCoreApplication::processEvents();
        if (!self) return true;
        if (SearchCancel || m_portFailed) break;
        m_state.Link.MeterSeen = false;
        m_parts.receiver.reset();
        m_probeId = b;
        // The poll goes to b whatever the window's addressing is (broadcast, a picked ID).
        LinkState probe;
        probe.Connected = true;
        probe.DevIdByte = b;
        m_parts.serial.write(FrameBuilder::meterPoll(probe).TxFrame);
        Delay(ProbeWaitMs);
        if (!self) return true;
        showProgress(b + 1 + (n - 1) * ids, count * ids, kind);
    }
    m_probePort = -1;
    m_probeId = -1;
    return true;
}

void IdSearch::showProgress(int done, int total, Kind kind)
{
    m_searchBox->move(SearchBoxAt);
    m_searchBox->show();
    m_searchBox->raise();
    if (kind == Kind::Quick)
        for (const QString &name : names({"grp1", "grp2", "rzgrpbx5", "rzgrpbx9", "img1"}))
            m_parts.controls.require<QWidget>(name)->hide();
    m_bar->setValue(int(qint64(done) * 100 / total));
}

void IdSearch::showResult(Kind kind, const QList<SearchedPort> &ports)
{
    const QStringList lines = searchResultLines(ports, m_table);
    m_memo->setPlainText(lines.join(u'\n'));
    if (kind == Kind::Quick) {
        for (const SearchedPort &p : ports) {
            const QList<int> found =
                FoundTable::canRecord(p.number) ? m_table.idBytes(p.number) : QList<int>{};
            if (found.isEmpty()) continue;
            m_parts.controls.require<QComboBox>(QStringLiteral("cbb_deviceid"))
                ->setCurrentIndex(found.first());
            m_parts.connection.cbb_deviceidChange();
            break;
        }
    }
    m_searchBox->hide();
    m_resultBox->move(ResultBoxAt);
    m_resultBox->show();
    m_resultBox->raise();
    SearchCancel = false;
    if (!closePort()) return;
    release();
    emit finished();
}

void IdSearch::endOnFailedOpen()
{
    m_parts.connection.PortNumber = 0;
    m_parts.progress.close();
    m_parts.dialogs.information(m_parts.window, QStringLiteral("No port or in use."));
    m_parts.serial.close();
    // Nothing to show; the window goes back to how it was before the search.
    m_searchBox->hide();
    m_parts.connection.btn_s_closeClick();
    release();
    emit finished();
}

bool IdSearch::closePort()
{
    m_parts.connection.PortNumber = PortNone;
    QPointer<IdSearch> self(this);
    // Lets a read pass that is already due run before the port goes.
    Delay(CloseSettleMs);
    if (!self) return false;
    m_parts.serial.close();
    return true;
}

void IdSearch::release()
{
    m_running = false;
    m_probePort = -1;
    m_probeId = -1;
    for (const char *name : {"btn_connect", "cbb_comport"})
        m_parts.controls.require<QWidget>(QString::fromLatin1(name))->setEnabled(true);
    m_state.tmr_reflashcomport.start();
}

void IdSearch::disableGroups(Kind kind)
{
    const QStringList groups =
        kind == Kind::Full ? names({"grp1", "grp2", "rzgrpbx5"}) : names({"grp2", "rzgrpbx5"});
    for (const QString &name : groups)
        m_parts.controls.require<QWidget>(name)->setEnabled(false);
}

} // namespace spk
