// Connecting to the simulated processor over a real pseudo-terminal with the editor's own window,
// port catalog and serial driver: the connect sequence, edits on the wire, the meter, the silence
// watchdog, refusals, closing at awkward moments, unplugging, faulty lines and the port list.
#include "e2efixture.h"

#include "fakes/fakeportcatalog.h"
#include "link/serialdriver.h"
#include "link/transmitter.h"
#include "model/layout.h"
#include "protocol/receiver.h"
#include "simframe.h"
#include "window/ledindicator.h"

#include <QLabel>
#include <QSignalSpy>

using namespace spk;
using namespace spk::sim;

namespace {

constexpr int SystemLevelCode = 200; // -20.0 dB
constexpr int Band3GainCode = 150;   // +6.0 dB

// A device image that differs from the editor's defaults where the test looks.
QByteArray distinctImage()
{
    QByteArray image = SimDevice::factoryImage(1);
    image[levelRecord(Ip0) * RecordSize + LevelByte::Level] = char(SystemLevelCode);
    image[levelRecord(Ip0) * RecordSize + LevelByte::Level + 1] = 0;
    image[bandRecord(Ip0, 3) * RecordSize + BandByte::Gain] = char(Band3GainCode);
    return image;
}

QByteArray imageOf(const EditorState &s)
{
    QByteArray out;
    for (int i = 0; i < ImageSize; ++i)
        out += char(s.ParamImage[i]);
    return out;
}

void typeInto(QLineEdit *e, const QString &keys)
{
    QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(5, e->height() / 2));
    e->selectAll();
    QTest::keyClicks(e, keys);
    QTest::keyClick(e, Qt::Key_Return);
}

} // namespace

class TestConnect : public QObject
{
    Q_OBJECT
private slots:
    void connectSequence();
    void addressedDeviceAnswers();
    void editsGoOnePerTick();
    void meterShowsTheDevice();
    void presetNameWrite();
    void watchdogDropsASilentDevice();
    void wrongVersionStopsTheSequence();
    void portThatCannotOpen_data();
    void portThatCannotOpen();
    void disconnectDuringSequence();
    void replyDuringTheCloseIsIgnored();
    void disconnectDuringNameWrite();
    void unplugWhileConnected();
    void faultyLine_data();
    void faultyLine();
    void portListFollowsSimulators();
};

void TestConnect::connectSequence()
{
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    SimDevice *dev = f.sim->device(1);
    dev->setImage(distinctImage());
    dev->setPresetName(1, "Kitchen");
    QByteArray sys = dev->sysData();
    sys[0] = 3;
    dev->setSysData(sys);
    // Half a header left over from before must not swallow the first reply.
    f.window->receiver().serialArrival(QByteArray("\xA5\xA5\xA5\x00\x52", 5));

    QVERIFY(f.pickPort(f.sim->portName()));
    f.click();
    QCOMPARE(f.caption(), QStringLiteral("Disconnect"));
    QCOMPARE(f.window->statusPanels().connection()->text(), QStringLiteral(" Connected "));
    QVERIFY(f.ctl<QLabel>(QStringLiteral("img_connectstate"))->property("connected").toBool());
    QVERIFY(!f.window->progressBox().box()->isHidden());
    QCOMPARE(f.window->progressBox().box()->pos(), QPoint(189, 205));
    QVERIFY(f.state().Loading);

    QVERIFY(f.waitFor([&] { return f.running(); }));
    QVERIFY(f.waitFor([&] { return f.sim->receivedFrames(CMD_Meter).size() >= 2; }));
    const QList<int> cmds = f.receivedCommands();
    QCOMPARE(cmds.mid(0, 4), QList<int>({0xA0, 0x26, 0x22, 0x28}));
    for (int c : cmds.mid(4))
        QCOMPARE(c, 0x2B);
    for (const QByteArray &frame : f.sim->receivedFrames()) {
        QCOMPARE(frame.size(), 12);
        QCOMPARE(quint8(frame.at(3)), quint8(0)); // device ID 1
        QCOMPARE(quint8(frame.at(4)), quint8(0xA2));
        QCOMPARE(quint8(frame.at(5)), quint8(0)); // the working image, not a preset
    }

    QCOMPARE(imageOf(f.state()), dev->image());
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt_ip0_gain"))->text(), QStringLiteral("-20.0dB"));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_03"))->text(), QStringLiteral("6.0dB"));
    auto *load = f.ctl<QComboBox>(QStringLiteral("cbb_load2dev"));
    QCOMPARE(load->itemText(0), QStringLiteral("Pre0:") + QStringLiteral("Kitchen").leftJustified(20));
    QCOMPARE(load->currentIndex(), 2);
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_lastgroup"))->text(),
             QStringLiteral("Last loaded Preset: Pre2"));
    QVERIFY(f.window->progressBox().box()->isHidden());
    QVERIFY(f.state().Link.VersionOk);
    QVERIFY(f.state().tmr_disconnect.isActive());
    QVERIFY(!f.state().tmr_hidreconnect.isActive());
    QVERIFY(!f.state().tmr_prgrsbr.isActive());
    QVERIFY(!f.warningShown());
    QVERIFY(f.dialogs.shown.isEmpty());

    f.click();
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QCOMPARE(f.window->statusPanels().connection()->text(), QStringLiteral(" Disconnected "));
    QVERIFY(!f.ctl<QLabel>(QStringLiteral("img_connectstate"))->property("connected").toBool());
    QVERIFY(!f.state().Link.Connected);
    QCOMPARE(f.runningLinkTimers(), QStringList());
}

void TestConnect::addressedDeviceAnswers()
{
    E2eFixture f({1, 5});
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    f.sim->device(5)->setImage(distinctImage());
    auto *ids = f.ctl<QComboBox>(QStringLiteral("cbb_deviceid"));
    ids->setFocus(Qt::MouseFocusReason);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(ids, Qt::Key_Down);
    QVERIFY(f.connectAndRun());
    QCOMPARE(f.state().Link.DevIdByte, 4);
    for (const QByteArray &frame : f.sim->receivedFrames())
        QCOMPARE(quint8(frame.at(3)), quint8(4));
    QCOMPARE(imageOf(f.state()), f.sim->device(5)->image());
}

void TestConnect::editsGoOnePerTick()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    f.sim->clearFrames();
    const int sentBefore = f.window->transmitter().sentCount();
    // Three edits in a row, before any tick can run.
    typeInto(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_03")), QStringLiteral("6"));
    typeInto(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_04")), QStringLiteral("-3"));
    typeInto(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_05")), QStringLiteral("1"));
    QCOMPARE(f.window->transmitter().sentCount(), sentBefore); // queued, not sent
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_03"))->text(), QStringLiteral("6.0dB"));

    QSignalSpy ticks(&f.state().tmr_pulseframe, &QTimer::timeout);
    QVERIFY(f.waitFor([&] { return f.sim->receivedFrames(CMD_Grp_ip0).size() == 3; }));
    QVERIFY2(ticks.count() >= 3, qPrintable(QString::number(ticks.count())));
    QVERIFY(f.waitFor([&] {
        const QList<int> c = f.receivedCommands();
        return c.size() > 1 && c.last() == 0x2B && c.lastIndexOf(0x00) < c.size() - 2;
    }));

    // Each write is its own frame, in record order, with nothing between them; polls follow.
    const QList<QByteArray> frames = f.sim->receivedFrames();
    int first = -1;
    for (int i = 0; i < frames.size(); ++i)
        if (quint8(frames[i].at(6)) == 0x00 && first < 0) first = i;
    QVERIFY(first >= 0);
    for (int k = 0; k < 3; ++k) {
        const QByteArray &w = frames.at(first + k);
        const int record = bandRecord(Ip0, 3 + k);
        QCOMPARE(w.size(), 20);
        QCOMPARE(quint8(w.at(4)), quint8(0xA1));
        QCOMPARE(quint8(w.at(6)), quint8(0x00));
        QCOMPARE(quint8(w.at(7)), quint8(record));
        QCOMPARE(quint8(w.at(8)), quint8(0));
        QCOMPARE(quint8(w.at(9)), quint8(8));
        QCOMPARE(w.mid(10, 8), imageOf(f.state()).mid(record * RecordSize, RecordSize));
        QCOMPARE(w.mid(10, 8), f.sim->device(1)->image().mid(record * RecordSize, RecordSize));
        QCOMPARE(quint8(w.at(19)), quint8(0xAA));
    }
    QCOMPARE(quint8(f.sim->device(1)->image().at(bandRecord(Ip0, 3) * RecordSize + BandByte::Gain)),
             quint8(150));
    for (int i = first + 3; i < frames.size(); ++i)
        QCOMPARE(quint8(frames[i].at(6)), quint8(0x2B));
    QVERIFY(!f.state().DirtyFlags.first());
}

void TestConnect::meterShowsTheDevice()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    f.sim->device(1)->meter().force(SimMeterValues{1160, 3, 1, 4, 9});
    auto *temp = f.ctl<QLabel>(QStringLiteral("lbl_temperature"));
    QTRY_COMPARE_WITH_TIMEOUT(temp->text(), QStringLiteral("68'C"), E2eFixture::Patience);
    QTRY_COMPARE_WITH_TIMEOUT(f.ctl<QLineEdit>(QStringLiteral("edt3"))->text(), QStringLiteral("9"),
                              E2eFixture::Patience);
    QCOMPARE(temp->palette().color(QPalette::WindowText), QColor(255, 128, 64));
    QCOMPARE(f.ctl<QLabel>(QStringLiteral("lbl_attenuation"))->text(), QStringLiteral("3 dB"));
    for (const char *name : {"ildrnd_temper", "ildrnd_out0", "LedR_lim"})
        QVERIFY2(f.ctl<LedIndicator>(QString::fromLatin1(name))->isOn(), name);
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt1"))->text(), QStringLiteral("1"));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("edt2"))->text(), QStringLiteral("4"));
    QCOMPARE(f.window->statusPanels().meter()->text(),
             QStringLiteral("Temperature: 68'C   Attenuation dB: 3 dB"));

    f.sim->device(1)->meter().force(SimMeterValues{2490, 0, 0, 0, 0});
    QTRY_COMPARE_WITH_TIMEOUT(temp->text(), QStringLiteral("42'C"), E2eFixture::Patience);
    QTRY_VERIFY_WITH_TIMEOUT(!f.ctl<LedIndicator>(QStringLiteral("LedR_lim"))->isOn(), E2eFixture::Patience);
    QCOMPARE(temp->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void TestConnect::presetNameWrite()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    EditorState &s = f.state();
    s.SysData.bytes[SysData::LastPreset] = 8;
    s.PresetNames.entries[8] = storedName(QStringLiteral("Stage left"));
    s.DirtyFlags.set(DirtyFlags::PresetName);
    QTRY_COMPARE_WITH_TIMEOUT(f.dialogs.shown, QStringList({"Save success!!"}), E2eFixture::Patience);
    QVERIFY(s.tmr_pulseframe.isActive());
    const QList<QByteArray> writes = f.sim->receivedFrames(CMD_W_ProName);
    QCOMPARE(writes.size(), 1);
    QCOMPARE(writes[0].size(), 32);
    QCOMPARE(quint8(writes[0].at(5)), quint8(8));
    QCOMPARE(f.sim->device(1)->presetName(8), QByteArray("Stage left          "));
    QCOMPARE(f.sim->device(1)->preset(8), imageOf(s));
    // Polling goes on afterwards.
    const int polls = f.sim->receivedFrames(CMD_Meter).size();
    QVERIFY(f.waitFor([&] { return f.sim->receivedFrames(CMD_Meter).size() > polls + 1; }));
    QVERIFY(f.state().Link.Connected);
}

void TestConnect::watchdogDropsASilentDevice()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    f.state().DirtyFlags.set(30);
    f.sim->faults().silent = true;
    QVERIFY(f.waitFor([&] { return f.warningShown(); }));
    QCOMPARE(f.state().Link.SilenceCount, 13);
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QCOMPARE(f.window->statusPanels().connection()->text(), QStringLiteral(" Disconnected "));
    QVERIFY(!f.state().Link.Connected);
    QVERIFY(!f.state().DirtyFlags.first());
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(!f.window->warningWindow()->isModal());
    // The next connect closes the warning and runs again.
    f.sim->faults().clear();
    QVERIFY(f.connectAndRun());
    QVERIFY(!f.warningShown());
}

void TestConnect::wrongVersionStopsTheSequence()
{
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    f.sim->device(1)->setVersionText("QUENDAL29 V2.1.0       X");
    QVERIFY(f.pickPort(f.sim->portName()));
    f.click();
    QVERIFY(f.waitFor([&] { return f.warningShown(); }));
    QCOMPARE(f.receivedCommands(), QList<int>({0xA0}));
    QVERIFY(!f.state().Link.VersionOk);
    QVERIFY(f.state().Loading); // the image never came
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestConnect::portThatCannotOpen_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing device") << "missing";
    QTest::newRow("empty list") << "empty";
    QTest::newRow("in use") << "in use";
}

void TestConnect::portThatCannotOpen()
{
    QFETCH(QString, kind);
    FakePortCatalog fake;
    fake.setPorts(
        {{QStringLiteral("ttySIM9"), SystemPortCatalog::virtualPortDir() + QStringLiteral("/ttySIM9")}});
    if (kind == QLatin1String("empty")) fake.setPorts({});
    PortCatalog *catalog = kind == QLatin1String("in use") ? nullptr : &fake;
    E2eFixture f({1}, true, catalog);
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    SerialDriver other;
    if (kind == QLatin1String("in use")) {
        QVERIFY(other.OpenPort(f.sim->linkPath()));
        QVERIFY(f.pickPort(f.sim->portName()));
    }
    f.click();
    QCOMPARE(f.dialogs.shown, QStringList({"No port or in use."}));
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QVERIFY(!f.state().Link.Connected);
    QVERIFY(f.window->progressBox().box()->isHidden());
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(f.sim->receivedFrames().isEmpty());
    if (kind == QLatin1String("in use")) {
        // Free again, the same port connects.
        other.ClosePort();
        QVERIFY(f.connectAndRun());
    }
}

void TestConnect::disconnectDuringSequence()
{
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    f.sim->faults().extraDelayMs = 2000; // the version reply is still on its way
    QVERIFY(f.pickPort(f.sim->portName()));
    f.click();
    QVERIFY(f.waitFor([&] { return f.sim->receivedFrames(CMD_Version).size() == 1; }));
    f.click();
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QVERIFY(!f.state().Link.Connected);
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(f.window->progressBox().box()->isHidden());
    f.idleFor(20);
    QVERIFY(!f.warningShown());
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QCOMPARE(f.receivedCommands(), QList<int>({0xA0}));
    QVERIFY(f.state().Loading);
}

void TestConnect::replyDuringTheCloseIsIgnored()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    Receiver &rx = f.window->receiver();
    // Nothing else on the way, so the injected reply is the only text.
    f.sim->faults().silent = true;
    QVERIFY(f.waitFor([&] { return f.sim->line().idle() && rx.RxHexText().isEmpty(); }));
    // An image reply that reaches the editor inside the disconnect's short wait.
    QByteArray other = distinctImage();
    other[5] = char(0x5A);
    const QByteArray reply = simEncode(SimFrame{0, SimWireFormat::DirReply, 0, SimCmd::OneGroup, 0, other});
    const int dispatched = rx.dispatchedCount();
    QTimer::singleShot(0, f.window.get(), [&] { rx.serialArrival(reply); });
    const QByteArray before = imageOf(f.state());
    f.click();
    QVERIFY(rx.dispatchedCount() > dispatched);
    QCOMPARE(imageOf(f.state()), before);
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QCOMPARE(f.runningLinkTimers(), QStringList());
    f.idleFor(20);
    QVERIFY(!f.warningShown());
    QCOMPARE(f.runningLinkTimers(), QStringList());
}

void TestConnect::disconnectDuringNameWrite()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    EditorState &s = f.state();
    s.SysData.bytes[SysData::LastPreset] = 8;
    // The user closes the link while the editor waits for the device to store the preset.
    QObject::connect(f.sim.get(), &SimPtyServer::frameReceived, f.window.get(), [&](const QByteArray &frame) {
        if (quint8(frame.at(6)) == CMD_W_ProName) QTimer::singleShot(0, f.window.get(), [&] { f.click(); });
    });
    s.DirtyFlags.set(DirtyFlags::PresetName);
    QVERIFY(f.waitFor([&] { return !s.Link.Connected; }));
    f.idleFor(20);
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.runningLinkTimers(), QStringList());
    QVERIFY(!f.warningShown());
}

void TestConnect::unplugWhileConnected()
{
    E2eFixture f;
    QVERIFY(f.connectAndRun());
    const QString name = f.sim->portName();
    f.sim->stop();
    QVERIFY(f.waitFor([&] { return f.warningShown(); }));
    // Dropped for the failed port, not after the silence.
    QCOMPARE(f.state().Link.SilenceCount, 101);
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QVERIFY(!f.state().Link.Connected);
    QCOMPARE(f.runningLinkTimers(), QStringList());
    // The adapter is gone: whether the list still shows it or not, connecting is refused.
    f.pickPort(name);
    f.click();
    QCOMPARE(f.dialogs.shown, QStringList({"No port or in use."}));
    QVERIFY(f.waitFor([&] { return !f.portItems().contains(name); }));
}

void TestConnect::faultyLine_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("runs");
    QTest::newRow("replies in bursts") << "split" << true;
    QTest::newRow("slow replies") << "slow" << true;
    QTest::newRow("noise before replies") << "noise" << true;
    QTest::newRow("bad end bytes") << "badEnd" << false;
    QTest::newRow("lost reply") << "drop" << false;
}

void TestConnect::faultyLine()
{
    QFETCH(QString, fault);
    QFETCH(bool, runs);
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    SimFaults &faults = f.sim->faults();
    if (fault == QLatin1String("split")) faults.splitParts = 4;
    if (fault == QLatin1String("slow")) faults.extraDelayMs = 1000;
    if (fault == QLatin1String("noise")) faults.noise = QByteArray("\x11\xA5\x22", 3);
    if (fault == QLatin1String("badEnd")) faults.badEnd = true;
    if (fault == QLatin1String("drop")) faults.dropNext = 1;
    QVERIFY(f.pickPort(f.sim->portName()));
    f.click();
    if (runs) {
        QVERIFY(f.waitFor([&] { return f.running(); }));
        QCOMPARE(imageOf(f.state()), f.sim->device(1)->image());
        f.click();
    } else {
        QVERIFY(f.waitFor([&] { return f.warningShown(); }));
        QVERIFY(f.state().Loading);
    }
    QCOMPARE(f.caption(), QStringLiteral("Connect"));
    QCOMPARE(f.runningLinkTimers(), QStringList());
    // A sound line afterwards works as ever.
    faults.clear();
    QVERIFY(f.connectAndRun());
}

void TestConnect::portListFollowsSimulators()
{
    E2eFixture f({1}, false);
    QVERIFY(f.portItems().filter(QStringLiteral("ttySIM")).isEmpty());
    f.simStarted = f.sim->start(&f.simError);
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    const QString first = f.sim->portName();
    QVERIFY(f.waitFor([&] { return f.portItems().contains(first); }));
    QCOMPARE(f.ports()->currentIndex(), int(f.connection().PortNumbers.size()) - 1);

    QVERIFY(f.connectAndRun());
    // While connected the list stays as it is.
    SimPtyServer second({1});
    QVERIFY(second.start());
    QSignalSpy refresh(&f.state().tmr_reflashcomport, &QTimer::timeout);
    QVERIFY(refresh.wait(E2eFixture::Patience));
    QVERIFY(refresh.wait(E2eFixture::Patience));
    QVERIFY(!f.portItems().contains(second.portName()));
    f.click();
    QVERIFY(f.waitFor([&] { return f.portItems().contains(second.portName()); }));

    f.sim->stop();
    QVERIFY(f.waitFor([&] { return !f.portItems().contains(first); }));
    QVERIFY(f.portItems().contains(second.portName()));
    // The remaining simulator is reached through its own number.
    QVERIFY(f.pickPort(second.portName()));
    f.click();
    QVERIFY(f.waitFor([&] { return f.running(); }));
    QCOMPARE(second.receivedFrames(CMD_Version).size(), 1);
    f.click();
}

QTEST_MAIN(TestConnect)
#include "tst_connect.moc"
