// The editor's window on the USB link, against the simulated HID device (the simulator's device
// model behind the editor's own HID transport and read thread): arrival connects, reports carry the
// connect sequence and the bulk frames, removal drops the link at once, retries, device choice,
// refused opens, read and write errors.
#include "gui/windowfixture.h"

#include "fakes/fakeportcatalog.h"
#include "link/hidtransport.h"
#include "link/serialdriver.h"
#include "link/transmitter.h"
#include "model/layout.h"
#include "protocol/framebuilder.h"
#include "protocol/receiver.h"
#include "session/connectioncontroller.h"
#include "session/devicesession.h"
#include "session/hidcontroller.h"
#include "simhidbackend.h"
#include "simptyserver.h"
#include "window/warningwindow.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

using namespace spk;

namespace {

constexpr int Patience = 15000;

QStringList itemsOf(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

class UsbFixture
{
public:
    explicit UsbFixture(bool deviceAtStart = false)
    {
        setTimeScale(0.05);
        if (deviceAtStart) hid.plug(SimHidBackend::processor(), false);
        window = std::make_unique<MainWindow>(MainWindowOptions{&dialogs, &catalog, false, &hid});
        window->show();
        QCoreApplication::processEvents(); // the first device change
    }
    ~UsbFixture() { window.reset(); }

    template <typename T = QWidget> T *ctl(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    EditorState &state() const { return window->state(); }
    HidController &controller() const { return window->hid(); }
    QStringList history() const { return itemsOf(ctl<QListWidget>("HistoryListBox")); }
    QString caption() const { return ctl<QPushButton>("btn_connect")->text(); }
    bool running() const { return state().Link.Connected && state().tmr_pulseframe.isActive(); }
    bool serialControlsEnabled() const
    {
        return ctl<QComboBox>("cbb_comport")->isEnabled() && ctl<QComboBox>("cbb_deviceid")->isEnabled();
    }
    // Commands of the reports the device received that start a frame.
    QList<int> frameCommands() const
    {
        QList<int> out;
        for (const QByteArray &r : hid.written)
            if (r.size() > 7 && r.mid(1, 3) == QByteArray(3, char(0xA5))) out << quint8(r.at(7));
        return out;
    }
    bool waitFor(const std::function<bool()> &condition) const
    {
        return QTest::qWaitFor(condition, Patience);
    }

    ScriptedDialogs dialogs;
    FakePortCatalog catalog;
    SimHidBackend hid;
    std::unique_ptr<MainWindow> window;
};

QByteArray distinctImage()
{
    QByteArray image = sim::SimDevice::factoryImage(1);
    image[bandRecord(Ip0, 3) * RecordSize + BandByte::Gain] = char(150);
    return image;
}

QByteArray imageOf(const EditorState &s)
{
    QByteArray out;
    for (int i = 0; i < ImageSize; ++i)
        out += char(s.ParamImage[i]);
    return out;
}

} // namespace

class TestUsb : public QObject
{
    Q_OBJECT
private slots:
    void arrivalConnectsAndRemovalDrops();
    void deviceChoice_data();
    void deviceChoice();
    void retriesThenWatchdog();
    void refusedOpen_data();
    void refusedOpen();
    void readAndWriteErrors();
    void brokenReportStream();
    void arrivalDuringASerialLink();
};

// One walk: nothing at start, arrival, the connect sequence as reports, a 640-byte reply and a bulk
// write, then the plug pulled.
void TestUsb::arrivalConnectsAndRemovalDrops()
{
    UsbFixture f;
    QCOMPARE(f.controller().HidIndex, HidController::NoDevice);
    QVERIFY(!f.state().Link.UsbMode);
    QVERIFY(f.serialControlsEnabled());
    QVERIFY(!f.window->hidTransport().readerRunning());
    sim::SimDevice *dev = f.hid.line.bus().device(1);
    dev->setImage(distinctImage());

    f.hid.plug();
    const QString name = QStringLiteral("REZIDIDADIDAV01 (Serial=0000001)");
    QCOMPARE(f.history().first(), QStringLiteral("Arrival of ") + name);
    QCOMPARE(f.ctl<QLabel>("lbl_usbhid")->text(), QString::fromUtf8("已接上设备."));
    QVERIFY(!f.serialControlsEnabled());
    QCOMPARE(itemsOf(f.ctl<QListWidget>("DevListBox")), QStringList{name});
    QCOMPARE(f.controller().HidIndex, 0);
    QVERIFY(f.state().Link.UsbMode);
    QCOMPARE(f.window->connection().PortNumber, PortUsb);
    QCOMPARE(f.caption(), QStringLiteral("Disconnect"));
    QVERIFY(f.window->hidTransport().readerRunning());

    QVERIFY(f.waitFor([&] { return f.running() && f.frameCommands().count(0x2B) >= 1; }));
    // On a slow machine (sanitizers) a retry may repeat the version request before the reply.
    QList<int> sequence = f.frameCommands();
    const int retries = int(sequence.lastIndexOf(0xA0));
    QCOMPARE(sequence.mid(retries, 4), QList<int>({0xA0, 0x26, 0x22, 0x28}));
    QCOMPARE(f.hid.openCount(), 1 + retries);
    for (const QByteArray &r : f.hid.written)
        QCOMPARE(r.size(), 65);
    QCOMPARE(imageOf(f.state()), dev->image());
    QCOMPARE(f.ctl<QLineEdit>("edt_ip0eq_gain_03")->text(), QStringLiteral("6.0dB"));
    // Every written report is logged; the version request first.
    const QString version =
        QStringLiteral("W 00  A5 A5 A5 00 A2 00 A0 00 00 00 02 AA ") + QStringLiteral("00 ").repeated(52);
    QCOMPARE(f.history().at(1), version);

    // A 640-byte reply: the header report and 11 data reports. Without polls the watchdog would
    // count the wait for the idle line as silence, and its scaled limit is short on a busy machine.
    f.state().tmr_pulseframe.stop();
    f.state().tmr_disconnect.stop();
    // The last poll's reply may still be on its way.
    QVERIFY(f.waitFor([&] { return f.hid.line.idle() && !f.window->receiver().HidReplyActive(); }));
    QTest::qWait(20);
    QSignalSpy reports(&f.window->hidTransport(), &Transport::received);
    QSignalSpy loaded(&f.window->session(), &DeviceSession::imageLoaded);
    QVERIFY(f.window->session().Send_Readcmd_tomcu(0, CMD_RW_One_Group, 0));
    QVERIFY(f.waitFor([&] { return loaded.count() == 1; }));
    QCOMPARE(reports.count(), 12);

    // A bulk write: the header report, 11 reports of data and the last one again.
    f.state().tmr_pulseframe.stop();
    QVERIFY(f.waitFor([&] { return f.hid.line.idle(); }));
    f.hid.written.clear();
    QByteArray image = distinctImage();
    image[bandRecord(Ip0, 4) * RecordSize + BandByte::Gain] = char(90);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(image.constData());
    QVERIFY(f.window->transmitter().transmitBulk(
        FrameBuilder::bulkWrite(f.state().Link, 0, CMD_RW_One_Group, {bytes, std::size_t(image.size())})));
    QCOMPARE(f.hid.written.size(), 1 + 12);
    QCOMPARE(f.hid.written.at(12), f.hid.written.at(11));
    QCOMPARE(dev->image(), image);

    // Pulled: the link drops before any watchdog tick, with the warning.
    f.state().tmr_disconnect.start();
    QSignalSpy ticks(&f.state().tmr_disconnect, &QTimer::timeout);
    f.hid.unplug();
    QVERIFY(!f.state().Link.Connected);
    QCOMPARE(ticks.count(), 0);
    QVERIFY(f.window->warningWindow()->isVisible());
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QCOMPARE(f.ctl<QLabel>("lbl_usbhid")->text(), QString::fromUtf8("已移除设备."));
    QVERIFY(f.history().contains(QStringLiteral("Removal of ") + name));
    QVERIFY(f.serialControlsEnabled());
    QVERIFY(!f.state().Link.UsbMode);
    QVERIFY(!f.controller().CurrentHidDevice());
    QVERIFY(!f.window->hidTransport().readerRunning());
    QCOMPARE(f.hid.liveDevices(), 0);
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestUsb::deviceChoice_data()
{
    using Devices = QList<HidDeviceInfo>;
    QTest::addColumn<Devices>("devices");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<int>("chosen");

    const HidDeviceInfo proc = SimHidBackend::processor();
    const HidDeviceInfo mouse{
        QStringLiteral("sim-hidraw1"), 0x046d, 0xc52b, QStringLiteral("USB Receiver"), {}};
    HidDeviceInfo otherSerial = proc;
    otherSerial.path = QStringLiteral("sim-hidraw2");
    otherSerial.serial = QStringLiteral("0000002");
    const HidDeviceInfo bare{QStringLiteral("sim-hidraw3"), 0x0483, 0x5750, {}, {}};
    HidDeviceInfo twin = proc;
    twin.path = QStringLiteral("sim-hidraw4");
    const QString name = QStringLiteral("REZIDIDADIDAV01 (Serial=0000001)");

    QTest::newRow("another kind of device") << Devices{mouse} << QStringList{"USB Receiver"} << -1;
    QTest::newRow("another serial number")
        << Devices{otherSerial} << QStringList{"REZIDIDADIDAV01 (Serial=0000002)"} << -1;
    QTest::newRow("no product string") << Devices{bare} << QStringList{"Device VID=0483 PID=5750"} << -1;
    QTest::newRow("the processor among others")
        << Devices{mouse, otherSerial, proc}
        << QStringList{"USB Receiver", "REZIDIDADIDAV01 (Serial=0000002)", name} << 2;
    QTest::newRow("two of them: the first")
        << Devices{mouse, twin, proc} << QStringList{"USB Receiver", name, name} << 1;
}

// Devices present at start: listed, and the processor chosen by its name and connected at once.
void TestUsb::deviceChoice()
{
    QFETCH(QList<HidDeviceInfo>, devices);
    QFETCH(QStringList, listed);
    QFETCH(int, chosen);
    UsbFixture f;
    for (const HidDeviceInfo &d : devices)
        f.hid.plug(d, false);
    f.controller().hidctlDeviceChange();

    QCOMPARE(itemsOf(f.ctl<QListWidget>("DevListBox")), listed);
    QCOMPARE(f.controller().HidIndex, chosen < 0 ? HidController::NoDevice : chosen);
    QCOMPARE(f.state().Link.UsbMode, chosen >= 0);
    QCOMPARE(f.state().Link.Connected, chosen >= 0);
    if (chosen >= 0) QCOMPARE(f.controller().CurrentHidDevice()->path, devices.at(chosen).path);
    QCOMPARE(f.serialControlsEnabled(), devices.size() == 1 && devices.first().vendorId != 0x0483);
}

void TestUsb::retriesThenWatchdog()
{
    UsbFixture f;
    f.hid.line.faults().silent = true;
    QList<qint64> versionAt;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&f.hid.line, &sim::SimLine::frameReceived, [&](const QByteArray &frame) {
        if (quint8(frame.at(6)) == 0xA0) versionAt << clock.elapsed();
    });
    f.hid.plug();
    QVERIFY(f.state().Link.Connected);
    QVERIFY(f.waitFor([&] { return f.window->warningWindow()->isVisible(); }));

    // The first attempt and three retries, at least a retry period apart; then the watchdog.
    QCOMPARE(versionAt.size(), 4);
    for (int i = 1; i < versionAt.size(); ++i)
        QVERIFY2(versionAt[i] - versionAt[i - 1] >= scaled(500) * 9 / 10,
                 qPrintable(QString::number(versionAt[i])));
    QCOMPARE(f.window->connection().HidRetryCount, 4);
    QVERIFY(!f.state().Link.Connected);
    QCOMPARE(f.hid.openCount(), 4);
    QCOMPARE(f.controller().HidIndex, HidController::NoDevice);
    QVERIFY(!f.window->hidTransport().readerRunning());
    // Still chosen: the next click connects over USB again.
    QVERIFY(f.controller().deviceChosen());
    f.hid.line.faults().silent = false;
    QTest::mouseClick(f.ctl<QPushButton>("btn_connect"), Qt::LeftButton);
    QVERIFY(f.waitFor([&] { return f.running(); }));
}

void TestUsb::refusedOpen_data()
{
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("message");
    QTest::newRow("gone before the open") << 0 << QStringLiteral("No port or in use.");
    QTest::newRow("no access to the node")
        << int(EACCES)
        << QStringLiteral(
               "No port or in use.\nThis user may not use the USB device sim-hidraw0. Install the udev "
               "rule 70-spkedit-hid.rules (see README, \"USB HID\"), then plug the device in again.");
}

void TestUsb::refusedOpen()
{
    QFETCH(int, refusal);
    QFETCH(QString, message);
    UsbFixture f;
    f.hid.refuseOpen = refusal;
    // Arrival and the change after it: one attempt, one message.
    f.hid.plug();
    if (refusal == 0) {
        // Connected at once; then disconnected, and the device goes before the next open.
        QVERIFY(f.state().Link.Connected);
        QTest::mouseClick(f.ctl<QPushButton>("btn_connect"), Qt::LeftButton);
        f.hid.vanish();
        QTest::mouseClick(f.ctl<QPushButton>("btn_connect"), Qt::LeftButton);
    }
    QCOMPARE(f.dialogs.shown, QStringList{message});
    QVERIFY(!f.state().Link.Connected);
    QVERIFY(!f.window->hidTransport().readerRunning());
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
}

void TestUsb::readAndWriteErrors()
{
    UsbFixture f(true);
    QVERIFY(f.waitFor([&] { return f.running(); }));
    f.hid.failWrites = EIO;
    QVERIFY(f.waitFor([&] { return f.history().last().startsWith(QStringLiteral("WRITE")); }));
    QCOMPARE(f.history().last(), QStringLiteral("WRITE ERROR: Input/output error (5)"));
    f.hid.failWrites = 0;

    f.hid.failNextRead(EIO);
    QVERIFY(f.waitFor(
        [&] { return f.history().contains(QStringLiteral("READ ERROR: Input/output error (5)")); }));
    QVERIFY(!f.window->hidTransport().readerRunning());
    // Nothing arrives any more: the watchdog ends the link.
    QVERIFY(f.waitFor([&] { return f.window->warningWindow()->isVisible(); }));
    QVERIFY(!f.state().Link.Connected);
}

// Reports the device should not send: a reply cut short, stray and zero-length reports. The
// receive path resynchronises at the next header or the watchdog ends the link.
void TestUsb::brokenReportStream()
{
    UsbFixture f(true);
    QVERIFY(f.waitFor([&] { return f.running(); }));
    f.state().tmr_pulseframe.stop();
    QVERIFY(f.waitFor([&] { return f.hid.line.idle(); }));
    QTest::qWait(scaled(100));
    const int dispatched = f.window->receiver().dispatchedCount();
    f.hid.deliver(QByteArray(64, char(0x33))); // not a header: dropped
    f.hid.deliver(QByteArray());               // nothing
    QByteArray header = QByteArray::fromHex("A5A5A5005200280002 80").leftJustified(64, '\0');
    f.hid.deliver(header); // a 640-byte reply that never comes
    QVERIFY(f.waitFor([&] { return f.window->receiver().HidReplyActive(); }));
    QCOMPARE(f.window->receiver().dispatchedCount(), dispatched);
    QVERIFY(f.waitFor([&] { return f.window->warningWindow()->isVisible(); }));
    QVERIFY(!f.window->receiver().HidReplyActive());
    QVERIFY(!f.window->hidTransport().readerRunning());
    QCOMPARE(f.hid.liveDevices(), 0);
}

// The processor plugged in while a serial link runs: the serial link carries on, its close closes
// the port, and the next connect takes USB.
void TestUsb::arrivalDuringASerialLink()
{
    UsbFixture f;
    sim::SimPtyServer line({1});
    QString error;
    QVERIFY2(line.start(&error), qPrintable(error));
    f.catalog.setPorts({{line.portName(), line.linkPath()}});
    f.window->connection().fillPortList();
    QTest::mouseClick(f.ctl<QPushButton>("btn_connect"), Qt::LeftButton);
    QVERIFY(f.waitFor([&] { return f.running() && !line.receivedFrames(CMD_Meter).isEmpty(); }));

    f.hid.plug();
    QVERIFY(f.state().Link.UsbMode);
    QVERIFY(!f.window->hidTransport().isOpen());
    const qsizetype polls = line.receivedFrames(CMD_Meter).size();
    QVERIFY(f.waitFor([&] { return line.receivedFrames(CMD_Meter).size() > polls + 1; }));
    QVERIFY(f.hid.written.isEmpty());
    QVERIFY(!f.window->warningWindow()->isVisible());

    QTest::mouseClick(f.ctl<QPushButton>("btn_connect"), Qt::LeftButton);
    QVERIFY(!f.window->serialDriver().isOpen());
    QTest::mouseClick(f.ctl<QPushButton>("btn_connect"), Qt::LeftButton);
    QCOMPARE(f.window->connection().PortNumber, PortUsb);
    QVERIFY(f.waitFor([&] { return f.running() && f.frameCommands().contains(CMD_Meter); }));
}

QTEST_MAIN(TestUsb)
#include "tst_usb.moc"
