// The simulator served on a pseudo-terminal inside the test process, plus its state and log files.
#include "ptyclient.h"
#include "simtestframes.h"

#include "simlog.h"
#include "simports.h"
#include "simptyserver.h"
#include "simstate.h"

#include "model/timing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace spk;
using namespace spk::sim;
using namespace simtest;

class TestSimServer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        setTimeScale(0.05);
    }

    void portsFolder()
    {
        QCOMPARE(SimPorts::directory(), m_runtime.path() + "/spkedit/ports");
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(SimPorts::directory(), QStringLiteral("/tmp/spkedit-%1/ports").arg(getuid()));
        qputenv("XDG_RUNTIME_DIR", saved);
    }

    void versionOverThePty()
    {
        SimPtyServer server({1});
        server.setPacing(false);
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));
        QCOMPARE(server.portName(), QStringLiteral("ttySIM0"));
        QCOMPARE(server.linkPath(), SimPorts::directory() + "/ttySIM0");
        QCOMPARE(QFileInfo(server.linkPath()).symLinkTarget(), server.slavePath());

        PtyClient client(server.linkPath());
        QVERIFY(client.isOpen());
        QVERIFY(client.write(hex("A5A5A500A200A000000002AA")));
        QCOMPARE(client.read(36, 3000).toHex(),
                 hex("A5A5A5005200A00000185155454E44414C32392056322E312E302020202020202020E2AA").toHex());
        QCOMPARE(server.receivedFrames(), QList<QByteArray>{hex("A5A5A500A200A000000002AA")});
        QVERIFY(server.clientConnected());

        server.stop();
        QVERIFY(!QFileInfo::exists(server.linkPath()) &&
                !QFileInfo(SimPorts::directory() + "/ttySIM0").isSymLink());
        QVERIFY(server.portName().isEmpty());
    }

    void pacedReplyComesInBursts()
    {
        setTimeScale(0.2); // 136 ms for the reply: several reads even on a busy machine
        auto restore = qScopeGuard([] { setTimeScale(0.05); });
        SimPtyServer server({1});
        QVERIFY(server.start());
        PtyClient client(server.linkPath());
        QVERIFY(client.write(read(0, 0, 0x28)));
        int bursts = 0;
        const QByteArray got = client.read(652, 5000, &bursts);
        QCOMPARE(got.size(), 652);
        QCOMPARE(got.mid(10, 640), server.device(1)->image());
        QVERIFY2(bursts > 1, qPrintable(QString::number(bursts)));
    }

    void reconnectAfterClose()
    {
        SimPtyServer server({1, 5});
        server.setPacing(false);
        QVERIFY(server.start());
        QSignalSpy connected(&server, &SimPtyServer::clientConnectedChanged);
        for (int round = 0; round < 3; ++round) {
            PtyClient client(server.linkPath());
            QVERIFY(client.isOpen());
            QVERIFY(client.write(read(4, 0, 0x2B)));
            QCOMPARE(client.read(20, 3000).left(4).toHex(), QByteArray("a5a5a504"));
            client.close();
            QTRY_VERIFY_WITH_TIMEOUT(!server.clientConnected(), 3000);
        }
        QVERIFY(connected.size() >= 6);
        QCOMPARE(server.receivedFrames().size(), 3);
        QCOMPARE(server.receivedFrames(0x2B).size(), 3);
        QVERIFY(server.receivedFrames(0xA0).isEmpty());
    }

    void splitRequestAndNoise()
    {
        SimPtyServer server({1});
        server.setPacing(false);
        QVERIFY(server.start());
        PtyClient client(server.linkPath());
        const QByteArray meter = read(0, 0, 0x2B);
        client.write(hex("13FF") + meter.left(5));
        QTest::qWait(20);
        client.write(meter.mid(5));
        QCOMPARE(client.read(20, 3000).size(), 20);
    }

    void faultsAtRuntime()
    {
        SimPtyServer server({1});
        server.setPacing(false);
        QVERIFY(server.start());
        PtyClient client(server.linkPath());
        server.faults().silent = true;
        client.write(read(0, 0, 0x2B));
        QVERIFY(client.read(1, 150).isEmpty());
        server.faults().silent = false;
        server.faults().noise = hex("0102");
        server.faults().splitParts = 2;
        server.faults().splitGapMs = 2000; // 100 ms here: the two bursts cannot merge in the reader
        client.write(read(0, 0, 0x2B));
        int bursts = 0;
        const QByteArray got = client.read(22, 3000, &bursts);
        QCOMPARE(got.left(5).toHex(), QByteArray("0102a5a5a5"));
        QCOMPARE(bursts, 2);
    }

    void twoServersAndAStaleLink()
    {
        QDir().mkpath(SimPorts::directory());
        // A link left behind by a simulator that was killed.
        QVERIFY(QFile::link("/dev/pts/does-not-exist", SimPorts::directory() + "/ttySIM0"));
        SimPtyServer a({1}), b({2});
        QVERIFY(a.start());
        QVERIFY(b.start());
        QCOMPARE(a.portName(), QStringLiteral("ttySIM0"));
        QCOMPARE(b.portName(), QStringLiteral("ttySIM1"));
        a.stop();
        QVERIFY(QFileInfo(b.linkPath()).isSymLink());
        QVERIFY(a.start());
        QCOMPARE(a.portName(), QStringLiteral("ttySIM0"));
    }

    void unplugClosesTheLine()
    {
        SimPtyServer server({1});
        server.setPacing(false);
        QVERIFY(server.start());
        const QString link = server.linkPath();
        PtyClient client(link);
        QVERIFY(client.isOpen());
        QSignalSpy stopped(&server, &SimPtyServer::stopped);
        server.stop();
        QCOMPARE(stopped.size(), 1);
        QVERIFY(!QFileInfo(link).isSymLink());
        // The other end sees the adapter vanish: writes fail or nothing comes back.
        client.write(read(0, 0, 0x2B));
        QVERIFY(client.read(1, 100).isEmpty());
        QVERIFY(PtyClient(link).isOpen() == false);
    }

    void stateIsKeptBetweenRuns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("state.json");
        {
            SimPtyServer server({1, 5});
            server.setPacing(false);
            QVERIFY(server.setStateFile(path));
            QVERIFY(server.start());
            PtyClient client(server.linkPath());
            client.write(write(4, 8, 0x27, 0, "Kept name           "));
            client.write(write(0, 0, 0x21, 0, hex("0000000900000000")));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 3000);
        }
        SimPtyServer again({1, 5});
        QVERIFY(again.setStateFile(path));
        QCOMPARE(again.bus().ids(), QList<int>({9, 5}));
        QCOMPARE(again.device(5)->presetName(8), QByteArray("Kept name           "));
        QCOMPARE(again.device(5)->lastPreset(), 8);
    }

    void damagedStateIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("state.json");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\"format\": \"spksim-state\", \"version\": 1, \"devices\": [{\"sysdata\": \"00\"}]}");
        f.close();
        SimBus bus({1});
        QString error;
        QVERIFY(!SimState::load(path, bus, &error));
        QVERIFY(error.contains("sysdata"));
        {
            SimPtyServer server({1});
            QVERIFY(!server.setStateFile(path));
        }
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("\"00\"")); // left as it was
    }

    // Refused before anything is allocated per device or the whole file is read.
    void oversizedStateIsRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("why");
        QByteArray many = "{\"format\": \"spksim-state\", \"version\": 1, \"devices\": [{}";
        for (int k = 0; k < SimState::MaxDevices; ++k)
            many += ",{}";
        QTest::newRow("251 devices") << many + "]}"
                                     << "more than 250 devices";
        QTest::newRow("too large") << QByteArray(SimState::MaxFileSize + 1, ' ') << "larger than";
    }
    void oversizedStateIsRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, why);
        SimBus bus({1});
        QString error;
        QVERIFY(!SimState::fromJson(json, bus, &error));
        QVERIFY2(error.contains(why), qPrintable(error));
    }

    void recordsAreBounded()
    {
        SimBus bus({1});
        const QByteArray poll = hex("A5A5A500A2002B00000089AA");
        for (qsizetype k = 0; k < SimBus::RecordLimit + 10; ++k)
            bus.receiveBytes(poll);
        QVERIFY(bus.receivedFrames().size() <= SimBus::RecordLimit);
        QVERIFY(bus.sentFrames().size() <= SimBus::RecordLimit);
        QCOMPARE(bus.receivedFrames().last(), poll);
        bus.setRecording(false);
        bus.clearRecords();
        bus.receiveBytes(poll);
        QVERIFY(bus.receivedFrames().isEmpty());
    }

    void stateRoundTrip()
    {
        SimBus bus({1, 5});
        bus.device(5)->setPreset(20, pattern(9));
        bus.device(5)->setPresetName(20, "twenty");
        bus.device(1)->setImage(pattern(4));
        SimBus other({1, 5});
        QVERIFY(SimState::fromJson(SimState::toJson(bus), other));
        QCOMPARE(other.device(5)->preset(20), pattern(9));
        QCOMPARE(other.device(5)->presetName(20), QByteArray("twenty").leftJustified(20, '\0'));
        QCOMPARE(other.device(1)->image(), pattern(4));
        QCOMPARE(SimState::toJson(other), SimState::toJson(bus));
        // Each device to its own ID, whatever the line's order or number; an ID the line lacks
        // goes to a device left over, which takes it.
        SimBus five({9, 5});
        QVERIFY(SimState::fromJson(SimState::toJson(bus), five));
        QCOMPARE(five.device(5)->preset(20), pattern(9));
        QCOMPARE(five.device(1)->image(), pattern(4));
        QVERIFY(!five.device(9));
    }

    void frameLog()
    {
        QCOMPARE(SimFrameLog::line(12.3454, 'r', hex("A5A5A500A2002B00000089AA")),
                 QByteArray("12.345 rx A5A5A500A2002B00000089AA\n"));
        QCOMPARE(SimFrameLog::line(0.5, 't', hex("0aff")), QByteArray("0.500 tx 0AFF\n"));

        QTemporaryDir dir;
        const QString path = dir.filePath("frames.log");
        SimPtyServer server({1});
        server.setPacing(false);
        QVERIFY(server.setLogFile(path));
        QVERIFY(server.start());
        PtyClient client(server.linkPath());
        client.write(read(0, 0, 0x2B));
        QCOMPARE(client.read(20, 3000).size(), 20);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).endsWith(" rx A5A5A500A2002B00000089AA"));
        QVERIFY(lines.at(1).contains(" tx A5A5A50052002B000008"));
        QVERIFY(QRegularExpression("^\\d+\\.\\d{3} rx ").match(QString::fromLatin1(lines.at(0))).hasMatch());
    }
};

QTEST_GUILESS_MAIN(TestSimServer)
#include "tst_simserver.moc"
