// The editor on a line behind a device server: the port added through "Add network port...", a
// connect, an edit and a backup of the device that reach the simulator, over spksim's TCP port (raw) and through ser2net
// in front of its pty (RFC 2217).
#include "e2efixture.h"
#include "ser2net.h"

#include "model/layout.h"
#include "presets/presetfile.h"
#include "session/networkportadder.h"
#include "simtcpserver.h"

#include <QStandardPaths>
#include <QTemporaryDir>

using namespace spk;

class TestE2eNetPort : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { NetworkPortAdder::remember({}); }
    void connectAndEdit_data();
    void connectAndEdit();
};

void TestE2eNetPort::connectAndEdit_data()
{
    QTest::addColumn<QString>("accepter"); // ser2net's; empty: spksim's own TCP port
    QTest::newRow("spksim tcp") << "";
    QTest::newRow("ser2net rfc2217") << "telnet(rfc2217),tcp";
}

void TestE2eNetPort::connectAndEdit()
{
    QFETCH(QString, accepter);
    E2eFixture f;
    QVERIFY2(f.simStarted, qPrintable(f.simError));
    sim::SimTcpServer tcp(f.sim->line());
    QTemporaryDir dir;
    std::unique_ptr<QProcess> ser2net;
    quint16 port = 0;
    if (accepter.isEmpty()) {
        QString error;
        QVERIFY2(tcp.listen(0, &error), qPrintable(error));
        port = quint16(tcp.address().section(u':', -1).toUInt());
    } else {
        port = freeTcpPort();
        ser2net = startSer2net(f.sim->slavePath(), accepter, port, dir.path());
        if (!ser2net) QSKIP("ser2net cannot be run here (scripts/setup.sh installs it)");
    }
    const bool rfc2217 = !accepter.isEmpty();
    const QString address = QStringLiteral("%1://127.0.0.1:%2").arg(rfc2217 ? "rfc2217" : "tcp").arg(port);

    f.dialogs.networkAnswers << NetworkPortFields{QStringLiteral("127.0.0.1"), QString::number(port),
                                                  rfc2217};
    f.ports()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(f.ports(), Qt::Key_End);
    QVERIFY(f.waitFor([&] { return f.ports()->currentText() == address; }));

    const qsizetype polls = f.sim->receivedFrames(0x2B).size();
    f.click();
    QVERIFY(f.waitFor([&] { return f.running() && f.sim->receivedFrames(0x2B).size() > polls; }));
    QVERIFY(f.dialogs.shown.isEmpty());

    // A typed gain on the system input reaches the device's image.
    f.window->activateWindow();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto *gain = f.ctl<QLineEdit>(QStringLiteral("edt_ip0eq_gain_02"));
    QTest::mouseClick(gain, Qt::LeftButton);
    gain->selectAll();
    QTest::keyClicks(gain, QStringLiteral("-6"));
    QTest::keyClick(gain, Qt::Key_Return);
    const int record = bandRecord(Ip0, 2);
    const QByteArray edited(reinterpret_cast<const char *>(f.state().ParamImage.record(record).data()),
                            RecordSize);
    QVERIFY(
        f.waitFor([&] { return f.sim->device(1)->image().mid(record * RecordSize, RecordSize) == edited; }));

    // The editor's backup, all twenty presets over the same line, matches the device's own.
    const QString saved = dir.filePath(QStringLiteral("all.gdat"));
    // Unpaced replies leave the whole tick between them: a busy machine cannot push the last one
    // past the scaled time it is given.
    f.sim->setPacing(false);
    f.dialogs.answers = {true, true};
    f.dialogs.files = {saved};
    QTest::mouseClick(f.ctl<QPushButton>(QStringLiteral("btn_save_20grp2pc")), Qt::LeftButton);
    QVERIFY(f.waitFor([&] { return QFile::exists(saved) && f.running(); }));
    const PresetFile::Content backup = PresetFile::readGdat(saved);
    QCOMPARE(backup.status, PresetFile::Status::Ok);
    for (int n = 1; n <= PresetCount; ++n) {
        const auto image = PresetFile::imageOfRecord(backup.records.at(n - 1));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.data()), ImageSize), f.sim->device(1)->preset(n));
    }

    f.click();
    QVERIFY(f.waitFor([&] { return f.caption() == QStringLiteral("Connect"); }));
    QVERIFY(!f.warningShown());
    if (ser2net) {
        ser2net->terminate();
        ser2net->waitForFinished();
    }
}

QTEST_MAIN(TestE2eNetPort)
#include "tst_netport.moc"
