// The connection controls without a device: their place in the window, the port list and its
// refresh, network ports added through their form, the ID list, refusals to connect, the
// watchdog's count and the meter display of replies handed to the receive path.
#include "windowfixture.h"

#include "app/linkpanelform.h"
#include "fakes/fakeportcatalog.h"
#include "protocol/receiver.h"
#include "session/connectioncontroller.h"
#include "session/networkportadder.h"
#include "window/ledindicator.h"
#include "window/networkportdialog.h"
#include "window/progressbox.h"
#include "window/statuspanels.h"
#include "window/warningwindow.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>

using namespace spk;

namespace {

// A reply frame as the device sends it.
QByteArray replyFrame(int cmd, const QByteArray &data, quint8 end = 0xAA)
{
    QByteArray f("\xA5\xA5\xA5", 3);
    f += char(0x00);
    f += char(0x52);
    f += char(0x00);
    f += char(cmd);
    f += char(0x00);
    f += char(data.size() >> 8);
    f += char(data.size() & 0xFF);
    f += data;
    quint8 x = 0;
    for (int i = 3; i < f.size(); ++i)
        x ^= quint8(f.at(i));
    f += char(x);
    f += char(end);
    return f;
}

QByteArray meterData(int reading, int attenuation, int limiter, int s6 = 0, int s7 = 0)
{
    QByteArray d(8, '\0');
    d[2] = char(reading >> 8);
    d[3] = char(reading & 0xFF);
    d[4] = char(attenuation);
    d[5] = char(limiter);
    d[6] = char(s6);
    d[7] = char(s7);
    return d;
}

// A window on a port list the test sets.
struct PanelFixture
{
    explicit PanelFixture(const QStringList &ports = {})
    {
        setTimeScale(0.02);
        catalog.setNames(ports);
        window = std::make_unique<MainWindow>(MainWindowOptions{&dialogs, &catalog, false});
        window->show();
    }
    template <typename T = QWidget> T *ctl(const QString &name) { return window->findChild<T *>(name); }
    QComboBox *ports() { return ctl<QComboBox>(QStringLiteral("cbb_comport")); }
    QStringList items(QComboBox *c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    // The port list's items before the network port item, which is always the last.
    QStringList portItems()
    {
        QStringList out = items(ports());
        if (out.value(out.size() - 1) != ConnectionController::addNetworkPortText())
            return {QStringLiteral("no network port item")};
        out.removeLast();
        return out;
    }
    ConnectionController &connection() { return window->connection(); }
    EditorState &state() { return window->state(); }

    FakePortCatalog catalog;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

} // namespace

class TestConnectionPanel : public QObject
{
    Q_OBJECT
private slots:
    // Every window starts with no network port remembered, in settings of the tests' own.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { NetworkPortAdder::remember({}); }
    void controlsAtStart();
    void layoutFitsTheWindow();
    void accessibleNames();
    void portListAtStart_data();
    void portListAtStart();
    void refreshKeepsAnUnchangedList();
    void refreshReplacesAChangedList();
    void refreshWaitsWhileConnected();
    void addNetworkPort_data();
    void addNetworkPort();
    void networkPortForm();
    void refusedConnect_data();
    void refusedConnect();
    void deviceIdChoice();
    void watchdogCountsThirteenTicks();
    void staleWatchdogTickIsQuiet();
    void usbRetryStopsItself();
    void meterReply_data();
    void meterReply();
    void shortOrBrokenMeterReplyKeepsTheDisplay();
};

void TestConnectionPanel::controlsAtStart()
{
    PanelFixture f({QStringLiteral("ttyUSB0")});
    QCOMPARE(f.ctl<QPushButton>(QStringLiteral("btn_connect"))->text(), QStringLiteral("Connect"));
    auto *ids = f.ctl<QComboBox>(QStringLiteral("cbb_deviceid"));
    QCOMPARE(ids->count(), 250);
    QCOMPARE(ids->itemText(0), QStringLiteral("1"));
    QCOMPARE(ids->itemText(249), QStringLiteral("250"));
    QCOMPARE(ids->currentIndex(), 0);
    QVERIFY(f.ctl<QWidget>(QStringLiteral("cbb_comport2"))->isHidden());

    auto *load = f.ctl<QComboBox>(QStringLiteral("cbb_load2dev"));
    QCOMPARE(f.items(load),
             QStringList({"Pre0:", "Pre1:", "Pre2:", "Pre3:", "Pre4:", "Pre5:", "Pre6:", "Usr7:"}));
    QCOMPARE(load->currentIndex(), 0);
    auto *save = f.ctl<QComboBox>(QStringLiteral("cbb_save2dev"));
    QCOMPARE(f.items(save), QStringList({"Usr7:"}));
    QCOMPARE(save->currentIndex(), 0);
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_lastgroup"))->text(),
             QStringLiteral("Last loaded Preset:    "));

    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_temperature"))->text(), QStringLiteral("10'C"));
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_attenuation"))->text(), QStringLiteral("0 dB"));
    for (const char *name : {"ildrnd_temper", "ildrnd_out0", "LedR_lim"})
        QVERIFY2(!f.ctl<LedIndicator>(QString::fromLatin1(name))->isOn(), name);
    // Idle limiter green, limiting red.
    QCOMPARE(f.ctl<LedIndicator>(QStringLiteral("ildrnd_out0"))->colour(), QColor(0, 160, 0));
    for (const char *name : {"edt1", "edt2", "edt3"})
        QVERIFY2(f.ctl<QWidget>(QString::fromLatin1(name))->isHidden(), name);

    auto *indicator = f.ctl<QLabel>(QStringLiteral("img_connectstate"));
    QCOMPARE(indicator->pixmap().toImage().pixelColor(8, 8), QColor(216, 0, 0));
    QCOMPARE(f.window->statusPanels().connection()->textColour(), QColor(255, 0, 0));
}

void TestConnectionPanel::layoutFitsTheWindow()
{
    PanelFixture f({QStringLiteral("ttyUSB0")});
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.window->size(), QSize(747, 765));
    QWidget *central = f.window->centralWidget();
    const QRect client = central->rect();
    const QStringList panels = {"grp1",
                                "grp2",
                                "rzgrpbx5",
                                "rzgrpbx9",
                                "img1",
                                "pnl_presets",
                                "pnl_meter",
                                "btn_load_onegrp2pc",
                                "btn_load_20grp2pc",
                                "btn_save_onegrp2pc",
                                "btn_save_20grp2pc"};
    for (int i = 0; i < panels.size(); ++i) {
        QWidget *a = f.ctl<QWidget>(panels[i]);
        QVERIFY2(a && a->isVisible(), qPrintable(panels[i]));
        QVERIFY2(client.contains(a->geometry()), qPrintable(panels[i]));
        for (int j = i + 1; j < panels.size(); ++j)
            QVERIFY2(!a->geometry().intersects(f.ctl<QWidget>(panels[j])->geometry()),
                     qPrintable(panels[i] + " / " + panels[j]));
    }
    // Inside each panel the controls do not overlap either.
    for (const char *name : {"pnl_presets", "pnl_meter"}) {
        QWidget *panel = f.ctl<QWidget>(QString::fromLatin1(name));
        const QList<QWidget *> kids = panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (int i = 0; i < kids.size(); ++i) {
            if (kids[i]->isHidden()) continue;
            QVERIFY2(panel->rect().contains(kids[i]->geometry()), qPrintable(kids[i]->objectName()));
            for (int j = i + 1; j < kids.size(); ++j)
                if (!kids[j]->isHidden())
                    QVERIFY2(!kids[i]->geometry().intersects(kids[j]->geometry()),
                             qPrintable(QString::fromLatin1(name) + ": " + kids[i]->objectName() + " / " +
                                        kids[j]->objectName() + " " + kids[i]->metaObject()->className()));
        }
    }
    QCOMPARE(f.ctl<QWidget>(QStringLiteral("btn_load2dev"))->geometry(), LinkPanelForm::LoadButtonPlace);
    QCOMPARE(f.ctl<QWidget>(QStringLiteral("btn_save2dev"))->geometry(), LinkPanelForm::SaveButtonPlace);
    // The connection bar covers the place kept in the menu bar's corner, clear of its menus.
    QMenuBar *menu = f.window->menuBar();
    QWidget *place = menu->cornerWidget(Qt::TopRightCorner);
    QVERIFY(place && place->isVisible());
    QVERIFY(menu->rect().contains(place->geometry()));
    for (QAction *a : menu->actions())
        QVERIFY(!menu->actionGeometry(a).intersects(place->geometry()));
    QWidget *bar = f.ctl<QWidget>(QStringLiteral("pnl_connection"));
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry(), QRect(place->mapTo(f.window.get(), QPoint(0, 0)), place->size()));
    for (const char *name :
         {"cbb_comport", "cbb_deviceid", "btn_connect", "img_connectstate", "rzgrpbx4", "btn_broadcase"}) {
        QWidget *w = f.ctl<QWidget>(QString::fromLatin1(name));
        QVERIFY2(w->isVisible() && bar->rect().contains(w->geometry()), name);
    }
    // The satellite's limiter lamp stays clear of the satellite's controls.
    auto *lamp = f.ctl<QWidget>(QStringLiteral("ildrnd_out0"));
    QVERIFY(lamp->isVisible());
    for (QWidget *w : lamp->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w != lamp && !qobject_cast<QLabel *>(w))
            QVERIFY2(!w->geometry().intersects(lamp->geometry()), qPrintable(w->objectName()));
}

void TestConnectionPanel::accessibleNames()
{
    PanelFixture f({QStringLiteral("ttyUSB0")});
    for (const char *name :
         {"cbb_comport", "cbb_deviceid", "btn_connect", "cbb_load2dev", "cbb_save2dev", "edt_save2dev",
          "btn_load2dev", "btn_save2dev", "img_connectstate", "lbl_temperature", "lbl_attenuation",
          "ildrnd_temper", "ildrnd_out0", "LedR_lim"}) {
        QWidget *w = f.ctl<QWidget>(QString::fromLatin1(name));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(iface && !iface->text(QAccessible::Name).trimmed().isEmpty(), name);
    }
    QCOMPARE(f.ctl<QWidget>(QStringLiteral("btn_connect"))->accessibleName(), QString());
    QCOMPARE(f.ctl<QWidget>(QStringLiteral("LedR_lim"))->accessibleDescription(), QStringLiteral("off"));
}

void TestConnectionPanel::portListAtStart_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("text order") << QStringList{"COM3", "COM10", "COM4"}
                                << QStringList{"COM10", "COM3", "COM4"};
    QTest::newRow("case ignored") << QStringList{"ttyUSB0", "ttySIM0", "ttyacm0"}
                                  << QStringList{"ttyacm0", "ttySIM0", "ttyUSB0"};
    QTest::newRow("one port") << QStringList{"ttySIM0"} << QStringList{"ttySIM0"};
    QTest::newRow("none") << QStringList{} << QStringList{};
}

void TestConnectionPanel::portListAtStart()
{
    QFETCH(QStringList, ports);
    QFETCH(QStringList, items);
    PanelFixture f(ports);
    QCOMPARE(f.portItems(), items);
    QCOMPARE(f.ports()->currentIndex(), int(items.size()) - 1);
    // Each item's number leads back to its port.
    QCOMPARE(f.connection().PortNumbers.size(), items.size());
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(f.catalog.pathOf(f.connection().PortNumbers[i]), QStringLiteral("/dev/") + items[i]);
    QVERIFY(f.state().tmr_reflashcomport.isActive());
}

void TestConnectionPanel::refreshKeepsAnUnchangedList()
{
    PanelFixture f({QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")});
    f.ports()->setCurrentIndex(0);
    QSignalSpy ticks(&f.state().tmr_reflashcomport, &QTimer::timeout);
    QVERIFY(ticks.wait(5000));
    QVERIFY(ticks.wait(5000));
    QCOMPARE(f.ports()->currentIndex(), 0);
    QCOMPARE(f.items(f.ctl<QComboBox>(QStringLiteral("cbb_comport2"))), f.portItems());
}

void TestConnectionPanel::refreshReplacesAChangedList()
{
    PanelFixture f({QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")});
    f.ports()->setCurrentIndex(0);
    const int usb1 = f.connection().PortNumbers[1];
    f.catalog.setNames({QStringLiteral("ttyUSB1"), QStringLiteral("ttySIM0")});
    QTRY_COMPARE_WITH_TIMEOUT(f.portItems(), QStringList({"ttySIM0", "ttyUSB1"}), 5000);
    QCOMPARE(f.ports()->currentIndex(), 1);
    // A port keeps its number across refreshes.
    QCOMPARE(f.connection().PortNumbers[1], usb1);
    f.catalog.setNames({});
    QTRY_COMPARE_WITH_TIMEOUT(f.portItems(), QStringList(), 5000);
    QVERIFY(f.connection().PortNumbers.isEmpty());
}

void TestConnectionPanel::refreshWaitsWhileConnected()
{
    PanelFixture f({QStringLiteral("ttyUSB0")});
    f.state().Link.Connected = true;
    f.catalog.setNames({QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB9")});
    f.connection().tmr_reflashcomportTimer();
    QCOMPARE(f.portItems(), QStringList({"ttyUSB0"}));
    f.state().Link.Connected = false;
    f.connection().tmr_reflashcomportTimer();
    QCOMPARE(f.portItems(), QStringList({"ttyUSB0", "ttyUSB9"}));
}

void TestConnectionPanel::addNetworkPort_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("rfc2217");
    QTest::addColumn<QString>("added");   // empty: nothing added
    QTest::addColumn<QString>("refusal"); // the message, then the form again with the fields as typed
    QTest::newRow("raw") << " 10.0.0.21 " << "4001" << false << "tcp://10.0.0.21:4001" << "";
    QTest::newRow("rfc2217") << "Rack-A.local" << "2217" << true << "rfc2217://rack-a.local:2217" << "";
    QTest::newRow("ipv6") << "::1" << "4001" << false << "tcp://[::1]:4001" << "";
    QTest::newRow("cancel") << "" << "" << false << "" << "";
    QTest::newRow("invalid port") << "10.0.0.21" << "70000" << false << ""
                                  << "The port must be a number from 1 to 65535.";
    QTest::newRow("invalid host") << "rack a" << "4001" << true << ""
                                  << "rack a is not a host name or address.";
    QTest::newRow("user in host") << "me@rack-a" << "4001" << false << ""
                                  << "me@rack-a is not a host name or address.";
}

void TestConnectionPanel::addNetworkPort()
{
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(bool, rfc2217);
    QFETCH(QString, added);
    QFETCH(QString, refusal);
    PanelFixture f({QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")});
    QComboBox *list = f.ports();
    const int item = list->count() - 1;
    QCOMPARE(list->itemData(item, Qt::AccessibleTextRole).toString(), QStringLiteral("Add network port..."));
    QCOMPARE(f.connection().PortNumbers.size(), item);
    list->setCurrentIndex(0);
    if (QTest::currentDataTag() != QByteArray("cancel"))
        f.dialogs.networkAnswers << NetworkPortFields{host, port, rfc2217};

    // Picked with the keyboard as the user does; the form opens once the list is done with the key.
    list->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(list, Qt::Key_End);
    QTRY_VERIFY(!f.dialogs.networkOpened.isEmpty());
    QCOMPARE(f.dialogs.networkOpened.first().host, QString());
    if (added.isEmpty()) {
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(f.portItems(), QStringList({"ttyUSB0", "ttyUSB1"}));
        QCOMPARE(f.dialogs.shown, refusal.isEmpty() ? QStringList() : QStringList{refusal});
        QCOMPARE(f.dialogs.networkOpened.size(), refusal.isEmpty() ? 1 : 2);
        if (!refusal.isEmpty()) QCOMPARE(f.dialogs.networkOpened.last().port, port);
        QCOMPARE(NetworkPortAdder::remembered(), QStringList());
        return;
    }
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(list->currentText(), added);
    QCOMPARE(f.catalog.pathOf(f.connection().PortNumbers.at(list->currentIndex())), added);
    QCOMPARE(NetworkPortAdder::remembered(), QStringList{added});
    // Beside the local ports, through a refresh that finds them changed.
    f.catalog.setNames({QStringLiteral("ttyUSB1")});
    QTRY_COMPARE_WITH_TIMEOUT(f.portItems(), QStringList({added, "ttyUSB1"}), 5000);
    // And from the next start on.
    PanelFixture next({QStringLiteral("ttyUSB0")});
    QCOMPARE(next.portItems(), QStringList({added, "ttyUSB0"}));
}

void TestConnectionPanel::networkPortForm()
{
    NetworkPortDialog form;
    form.setFields({QStringLiteral("old"), QStringLiteral("1"), false});
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    for (const char *name :
         {"edt_nethost", "edt_netport", "rdo_netraw", "rdo_netrfc2217", "btn_netadd", "btn_netcancel"}) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(form.findChild<QWidget *>(name));
        QVERIFY2(iface && !iface->text(QAccessible::Name).trimmed().isEmpty(), name);
    }
    auto *host = form.findChild<QLineEdit *>(QStringLiteral("edt_nethost"));
    QVERIFY(host->hasFocus());
    host->selectAll();
    QTest::keyClicks(host, QStringLiteral("10.0.0.22"));
    // Tab goes host, port, protocol.
    QTest::keyClick(host, Qt::Key_Tab);
    auto *port = form.findChild<QLineEdit *>(QStringLiteral("edt_netport"));
    QVERIFY(port->hasFocus());
    port->selectAll();
    QTest::keyClicks(port, QStringLiteral("4001"));
    QTest::keyClick(port, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.findChild<QWidget *>(QStringLiteral("rdo_netraw")));
    // The keyboard alone: an arrow picks RFC 2217, Enter adds.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.fields().host, QStringLiteral("10.0.0.22"));
    QCOMPARE(form.fields().port, QStringLiteral("4001"));
    QVERIFY(form.fields().rfc2217);
}

void TestConnectionPanel::refusedConnect_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::newRow("empty list") << QStringList{};
    QTest::newRow("missing device") << QStringList{"ttyGONE0"};
}

void TestConnectionPanel::refusedConnect()
{
    QFETCH(QStringList, ports);
    PanelFixture f(ports);
    auto *button = f.ctl<QPushButton>(QStringLiteral("btn_connect"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.dialogs.shown, QStringList({"No port or in use."}));
    QCOMPARE(button->text(), QStringLiteral("Connect"));
    QVERIFY(!f.state().Link.Connected);
    QVERIFY(f.window->progressBox().box()->isHidden());
    for (QTimer *t : f.state().timers())
        QCOMPARE(t->isActive(), t == &f.state().tmr_reflashcomport);
    QCOMPARE(f.window->statusPanels().connection()->text(), QStringLiteral(" Disconnected"));
    // A second try asks again and stays put.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(f.dialogs.shown.size(), 2);
}

void TestConnectionPanel::deviceIdChoice()
{
    PanelFixture f;
    auto *ids = f.ctl<QComboBox>(QStringLiteral("cbb_deviceid"));
    ids->setFocus(Qt::MouseFocusReason);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(ids, Qt::Key_Down);
    QCOMPARE(ids->currentText(), QStringLiteral("5"));
    QCOMPARE(f.state().Link.DevIdByte, 4);
    QCOMPARE(f.state().Link.PickedIdIndex, 4);
    // A program that picks an item sets the address itself.
    ids->setCurrentIndex(9);
    QCOMPARE(f.state().Link.DevIdByte, 4);
}

void TestConnectionPanel::watchdogCountsThirteenTicks()
{
    PanelFixture f;
    EditorState &s = f.state();
    // A link as the connect leaves it, without a port under it.
    s.Link.Connected = true;
    s.DirtyFlags.set(5);
    s.tmr_pulseframe.start();
    s.tmr_send20grp.start();
    s.tmr_apply20grp.start();
    s.tmr_hidreconnect.start();
    f.window->progressBox().start();
    for (int tick = 1; tick <= 12; ++tick)
        f.connection().tmr_disconnectTimer();
    QVERIFY(s.Link.Connected);
    // A complete frame is a sign of life, even with a bad end byte.
    f.window->receiver().serialArrival(replyFrame(0x2B, meterData(2000, 0, 0), 0xAB));
    QCOMPARE(s.Link.SilenceCount, 0);
    for (int tick = 1; tick <= 12; ++tick)
        f.connection().tmr_disconnectTimer();
    QVERIFY(s.Link.Connected);
    QVERIFY(!f.window->warningWindow()->isVisible());
    f.connection().tmr_disconnectTimer();
    QVERIFY(!s.Link.Connected);
    QCOMPARE(s.Link.SilenceCount, 13);
    QVERIFY(f.window->warningWindow()->isVisible());
    QVERIFY(!f.window->warningWindow()->isModal());
    QVERIFY(!s.DirtyFlags.first());
    QVERIFY(f.window->progressBox().box()->isHidden());
    for (QTimer *t : s.timers())
        QCOMPARE(t->isActive(), t == &s.tmr_reflashcomport);
    QCOMPARE(f.ctl<QPushButton>(QStringLiteral("btn_connect"))->text(), QStringLiteral("Connect"));
    QCOMPARE(f.window->statusPanels().connection()->text(), QStringLiteral(" Disconnected "));
}

void TestConnectionPanel::staleWatchdogTickIsQuiet()
{
    PanelFixture f;
    f.state().tmr_disconnect.start();
    f.state().Link.SilenceCount = 40;
    f.connection().tmr_disconnectTimer();
    QVERIFY(!f.state().tmr_disconnect.isActive());
    QVERIFY(!f.window->warningWindow()->isVisible());
}

void TestConnectionPanel::usbRetryStopsItself()
{
    PanelFixture f({QStringLiteral("ttyUSB0")});
    QSignalSpy ticks(&f.state().tmr_hidreconnect, &QTimer::timeout);
    f.state().tmr_hidreconnect.start();
    QVERIFY(ticks.wait(5000));
    QVERIFY(!f.state().tmr_hidreconnect.isActive());
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.ctl<QPushButton>(QStringLiteral("btn_connect"))->text(), QStringLiteral("Connect"));
}

void TestConnectionPanel::meterReply_data()
{
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("attenuation");
    QTest::addColumn<int>("limiter");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("hot, attenuating, limiting") << 1160 << 3 << 1 << "68'C" << QColor(255, 128, 64);
    QTest::newRow("hottest step") << 1150 << 0 << 0 << ">=70'C" << QColor(Qt::white);
    QTest::newRow("sensor saturated") << 0xFFFF << 0 << 7 << "<=10'C" << QColor(Qt::white);
    QTest::newRow("nearer of two steps") << 4988 << 12 << 0 << "12'C" << QColor(255, 128, 64);
}

void TestConnectionPanel::meterReply()
{
    QFETCH(int, reading);
    QFETCH(int, attenuation);
    QFETCH(int, limiter);
    QFETCH(QString, temperature);
    QFETCH(QColor, colour);
    PanelFixture f;
    f.window->receiver().serialArrival(replyFrame(0x2B, meterData(reading, attenuation, limiter, 6, 7)));
    auto *temp = f.ctl<QLabel>(QStringLiteral("lbl_temperature"));
    QCOMPARE(temp->text(), temperature);
    QCOMPARE(temp->palette().color(QPalette::WindowText), colour);
    const QString atten = QString::number(attenuation) + QStringLiteral(" dB");
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_attenuation"))->text(), atten);
    QCOMPARE(f.ctl<LedIndicator>(QStringLiteral("ildrnd_temper"))->isOn(), attenuation != 0);
    QCOMPARE(f.ctl<LedIndicator>(QStringLiteral("ildrnd_out0"))->isOn(), limiter != 0);
    QCOMPARE(f.ctl<LedIndicator>(QStringLiteral("LedR_lim"))->isOn(), limiter != 0);
    QCOMPARE(f.ctl<LedIndicator>(QStringLiteral("ildrnd_out0"))->colour(),
             limiter ? QColor(255, 0, 0) : QColor(0, 160, 0));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt1"))->text(), QString::number(limiter));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt2"))->text(), QStringLiteral("6"));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt3"))->text(), QStringLiteral("7"));
    QCOMPARE(f.window->statusPanels().meter()->text(),
             QStringLiteral("Temperature: ") + temperature + QStringLiteral("   Attenuation dB: ") + atten);
    QVERIFY(f.state().Link.MeterSeen);
}

void TestConnectionPanel::shortOrBrokenMeterReplyKeepsTheDisplay()
{
    PanelFixture f;
    Receiver &rx = f.window->receiver();
    rx.serialArrival(replyFrame(0x2B, meterData(1160, 3, 1)));
    f.state().Link.MeterSeen = false;
    rx.serialArrival(replyFrame(0x2B, QByteArray(4, '\0')));
    QVERIFY(f.state().Link.MeterSeen);
    rx.serialArrival(replyFrame(0x2B, meterData(5000, 0, 0), 0xAB));
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_temperature"))->text(), QStringLiteral("68'C"));
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_attenuation"))->text(), QStringLiteral("3 dB"));
    QVERIFY(f.ctl<LedIndicator>(QStringLiteral("LedR_lim"))->isOn());
}

QTEST_MAIN(TestConnectionPanel)
#include "tst_connectionpanel.moc"
