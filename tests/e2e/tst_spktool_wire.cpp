// spktool's device commands as a script runs them: the program against the simulator on a real
// pseudo-terminal, with what it prints, its exit status and what reached the simulator.
#include "model/timing.h"
#include "presets/presetfile.h"
#include "simptyserver.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>

using namespace spk;

namespace {

constexpr double Scale = 0.1;
constexpr int Patience = 60000;

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs spktool with the event loop turning, so that the simulator in this process keeps serving.
// `during` is polled while it runs and may act on the process (Ctrl-C).
Run spktool(QStringList args, const QByteArray &input = "",
            const std::function<bool(QProcess &)> &during = nullptr)
{
    QProcess p;
    if (!args.contains("--time-scale")) args << "--time-scale" << QString::number(Scale);
    p.start(QStringLiteral(SPKTOOL_PATH), args);
    if (!p.waitForStarted()) return {};
    p.write(input);
    p.closeWriteChannel();
    bool acted = false;
    (void)QTest::qWaitFor(
        [&] {
            if (during && !acted) acted = during(p);
            return p.state() == QProcess::NotRunning;
        },
        Patience);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    if (p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList device(int id)
{
    return {"--port", "ttySIM0", "--id", QString::number(id), "--quiet"};
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSpktoolWire : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<sim::SimPtyServer> m_sim;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void startSim(const QList<int> &ids)
    {
        m_sim = std::make_unique<sim::SimPtyServer>(ids);
        QString error;
        QVERIFY2(m_sim->start(&error), qPrintable(error));
    }

private slots:
    void init()
    {
        setTimeScale(Scale);
        startSim({1, 5, 9});
    }
    void cleanup() { m_sim.reset(); }

    // One installer's session: find the devices, back one up, spoil and restore it, copy a
    // working preset across, read the meter, move a device to another ID.
    void wholeJob()
    {
        // A probe waits 100 ms at most: too short to scale down on a loaded machine.
        Run r = spktool({"scan", "--port", "ttySIM0", "--ids", "1-10", "--quiet", "--time-scale", "1"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, "ttySIM0: 1 5 9\n");
        r = spktool({"scan", "--port", "ttySIM0", "--ids", "4-6", "--json", "--time-scale", "1"});
        QCOMPARE(r.out.trimmed(), R"({"ports":[{"ids":[5],"port":"ttySIM0"}]})");

        const QString first = path("first.gdat"), second = path("second.gdat");
        r = spktool(QStringList{"backup", first} + device(5));
        QCOMPARE(r.exitCode, 0);
        const QByteArray backup = readAll(first);
        QCOMPARE(backup.count("\r\n"), 40);
        QCOMPARE(PresetFile::readGdat(first).status, PresetFile::Status::Ok);

        sim::SimDevice *five = m_sim->device(5);
        for (int n = 1; n <= 20; ++n)
            five->setPreset(n, QByteArray(640, char(n)));
        m_sim->clearFrames();
        r = spktool(QStringList{"restore", first, "--yes"} + device(5));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).size(), 20);
        QVERIFY(r.out.startsWith("1: "));
        QCOMPARE(m_sim->receivedFrames(0x29).size(), 20);
        QCOMPARE(m_sim->receivedFrames(0x26).size(), 1);
        r = spktool(QStringList{"backup", second} + device(5));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(readAll(second), backup);

        // get from 1, put to 9 with the question answered on stdin.
        m_sim->device(1)->setImage(QByteArray(640, '\x11'));
        r = spktool(QStringList{"get", path("w.sdat")} + device(1));
        QCOMPARE(r.exitCode, 0);
        r = spktool(QStringList{"put", path("w.sdat")} + device(9), "y\n");
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.contains("[y/N]"));
        QCOMPARE(m_sim->device(9)->image(), QByteArray(640, '\x11'));

        m_sim->device(9)->meter().force(sim::SimMeterValues{1160, 3, 1, 0, 0});
        r = spktool(QStringList{"meter"} + device(9));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, "Temperature: 68'C   Attenuation dB: 3 dB   Limiter: on (1)   Status: 0 0\n");

        r = spktool(QStringList{"set-id", "9", "--yes"} + device(5));
        QCOMPARE(r.exitCode, 1); // taken
        r = spktool(QStringList{"set-id", "7", "--yes"} + device(5));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, "device 5 on ttySIM0 answers as 7\n");
        QCOMPARE(m_sim->bus().ids(), QList<int>({1, 7, 9}));
        QCOMPARE(quint8(m_sim->receivedFrames().last().at(3)), 6); // the version request went to 7
    }

    void refusedFilesSendNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QByteArray lines;
        for (int i = 0; i < 39; ++i)
            lines += QByteArray(652, 'A') + "\r\n";
        QTest::newRow("39 lines") << "restore"
                                  << "a.gdat" << lines << "File damaged.";
        QTest::newRow("letter G") << "put"
                                  << "a.sdat" << QByteArray(1303, 'A') + "G"
                                  << "File damaged.";
        QTest::newRow("short") << "put"
                               << "a.sdat" << QByteArray(1303, 'A') << "File damaged.";
        QTest::newRow("empty") << "restore"
                               << "a.gdat" << QByteArray() << "is empty";
        QTest::newRow("missing") << "restore"
                                 << "none.gdat" << QByteArray("-") << "cannot open";
        QTest::newRow("directory") << "put"
                                   << "." << QByteArray("-") << "is a directory";
    }
    void refusedFilesSendNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        if (content != "-") {
            QFile f(path(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        m_sim->clearFrames();
        const Run r = spktool(QStringList{command, path(file), "--yes"} + device(1));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(message) && r.err.count('\n') == 1, qPrintable(r.err));
        QVERIFY(m_sim->receivedFrames().isEmpty());
    }

    void interruptedBackupLeavesNoFile()
    {
        const QString file = path("cut.gdat");
        const Run r = spktool(QStringList{"backup", file} + device(1), "", [&](QProcess &p) {
            if (m_sim->receivedFrames(0x29).size() < 3) return false;
            ::kill(pid_t(p.processId()), SIGINT);
            return true;
        });
        QCOMPARE(r.exitCode, 130);
        QVERIFY(r.err.contains("interrupted"));
        QCOMPARE(QDir(m_dir.path()).entryList({"cut*"}), QStringList());
        QVERIFY(QTest::qWaitFor([&] { return !m_sim->clientConnected(); }, Patience)); // port closed
    }

    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString f = QDir::temp().filePath("spktool-never-written.gdat");
        QTest::newRow("id 0") << QStringList{"meter", "--port", "ttySIM0", "--id", "0"} << 2 << "1..250";
        QTest::newRow("id 251") << QStringList{"backup", f, "--port", "ttySIM0", "--id", "251"} << 2
                                << "1..250";
        QTest::newRow("no port") << QStringList{"meter", "--id", "1"} << 2 << "missing --port";
        QTest::newRow("two ports") << QStringList{"get", f, "--port", "a", "--port", "b", "--id", "1"} << 2
                                   << "one --port";
        QTest::newRow("same id") << QStringList{"set-id", "5", "--port", "ttySIM0", "--id", "5"} << 2
                                 << "already";
        QTest::newRow("ids reversed") << QStringList{"scan", "--ids", "9-1"} << 2 << "--ids";
        QTest::newRow("watch on backup") << QStringList{"backup", f, "--watch"} << 2 << "watch";
        QTest::newRow("no file") << QStringList{"get", "--port", "ttySIM0", "--id", "1"} << 2
                                 << "missing FILE";
        QTest::newRow("unknown port")
            << QStringList{"meter", "--port", "ttyNONE", "--id", "1"} << 1 << "no port ttyNONE";
        QTest::newRow("folder missing")
            << QStringList{"get", "/nonexistent/x.sdat", "--port", "ttySIM0", "--id", "1"} << 1
            << "does not exist";
        QTest::newRow("nobody at 3") << QStringList{"meter", "--port", "ttySIM0", "--id", "3"} << 3
                                     << "no answer";
        QTest::newRow("nothing on 2-4")
            << QStringList{"scan", "--port", "ttySIM0", "--ids", "2-4"} << 3 << "";
        QTest::newRow("restore missing file")
            << QStringList{"restore", "--port", "ttySIM0", "--id", "1", f} << 1 << "cannot open";
    }
    void badInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Run r = spktool(args + QStringList{"--quiet"});
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message) && r.err.count('\n') <= 1, qPrintable(r.err));
    }

    void declinedAndBusy()
    {
        const QString file = path("keep.sdat");
        QVERIFY(spktool(QStringList{"get", file} + device(1)).exitCode == 0);
        m_sim->clearFrames();
        Run r = spktool(QStringList{"put", file} + device(1), "n\n");
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("not confirmed"));
        QVERIFY(m_sim->receivedFrames().isEmpty());

        // A second program on the same port is refused while the first watches the meter.
        QProcess watch;
        watch.start(QStringLiteral(SPKTOOL_PATH), QStringList{"meter", "--watch"} + device(1));
        QVERIFY(QTest::qWaitFor([&] { return watch.canReadLine(); }, Patience));
        r = spktool(QStringList{"meter"} + device(1));
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("cannot open ttySIM0"));
        ::kill(pid_t(watch.processId()), SIGINT);
        QVERIFY(QTest::qWaitFor([&] { return watch.state() == QProcess::NotRunning; }, Patience));
        QCOMPARE(watch.exitCode(), 0);
    }

    void faultyLine_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("split") << "split" << 0 << "";
        QTest::newRow("drop one") << "drop" << 0 << "";
        // Noise before each reply costs the noise only.
        QTest::newRow("noise") << "noise" << 0 << "";
        QTest::newRow("bad end byte") << "badEnd" << 3 << "unreadable";
        QTest::newRow("silent") << "silent" << 3 << "no answer";
        QTest::newRow("unplugged") << "unplug" << 1 << "lost";
    }
    void faultyLine()
    {
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        sim::SimFaults &faults = m_sim->faults();
        faults.splitParts = fault == "split" ? 3 : 1;
        faults.dropNext = fault == "drop" ? 1 : 0;
        if (fault == "noise") faults.noise = QByteArray::fromHex("00FF13");
        faults.silent = fault == "silent";
        faults.badEnd = fault == "badEnd";
        const QString file = path(QStringLiteral("f-%1.gdat").arg(fault));
        const Run r = spktool(QStringList{"backup", file} + device(1), "", [&](QProcess &) {
            if (fault != "unplug" || m_sim->receivedFrames(0x29).size() < 2) return false;
            m_sim->stop();
            return true;
        });
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(QFile::exists(file), exitCode == 0);
    }
};

QTEST_GUILESS_MAIN(TestSpktoolWire)
#include "tst_spktool_wire.moc"
