// spktool's device commands over USB, run in this process against the simulated HID device (the
// editor's HID transport and read thread underneath, the simulator's device model behind it).
#include "commands/commands.h"
#include "interrupt.h"
#include "model/timing.h"
#include "presets/presetfile.h"
#include "simhidbackend.h"
#include "usbports.h"
#include "wireoptions.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace spk;
using namespace spk::tool;

namespace {

HidDeviceInfo second()
{
    HidDeviceInfo d = SimHidBackend::processor();
    d.path = QStringLiteral("sim-hidraw1");
    return d;
}

} // namespace

class TestSpktoolUsb : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SimHidBackend> m_hid;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    int run(const QStringList &args)
    {
        QString error;
        const WireCommandInfo *info = wireCommand(args.first());
        const std::optional<WireOptions> o =
            parseWireOptions(*info, args + QStringList{"--quiet", "--time-scale", "0.05"}, &error);
        if (!o) return -1;
        Interrupt interrupt;
        const QString &c = o->command;
        if (c == "scan") return runScan(*o, interrupt);
        if (c == "backup") return runBackup(*o, interrupt);
        if (c == "get") return runGet(*o, interrupt);
        if (c == "put") return runPut(*o, interrupt);
        if (c == "meter") return runMeter(*o, interrupt);
        return runSetId(*o, interrupt);
    }

private slots:
    void init()
    {
        m_hid = std::make_unique<SimHidBackend>(QList<int>{1});
        setHidBackend(m_hid.get());
    }
    void cleanup()
    {
        setHidBackend(nullptr);
        m_hid.reset();
    }

    // Every command that makes sense on USB, through reports both ways.
    void wholeJob()
    {
        m_hid->plug();
        QCOMPARE(usbPorts(), QStringList{"usb:sim-hidraw0"});
        QCOMPARE(run({"scan", "--usb", "--ids", "1-3"}), 0);
        QCOMPARE(run({"meter", "--usb", "--id", "1"}), 0);

        m_hid->line.bus().device(1)->setImage(QByteArray(640, '\x11'));
        QCOMPARE(run({"get", "--usb", "--id", "1", path("w.sdat")}), 0);
        m_hid->line.bus().device(1)->setImage(QByteArray(640, '\x22'));
        QCOMPARE(run({"put", "--port", "usb:sim-hidraw0", "--id", "1", path("w.sdat"), "--yes"}), 0);
        QCOMPARE(m_hid->line.bus().device(1)->image(), QByteArray(640, '\x11'));

        QCOMPARE(run({"backup", "--usb", "--id", "1", path("all.gdat")}), 0);
        QCOMPARE(PresetFile::readGdat(path("all.gdat")).status, PresetFile::Status::Ok);
        for (const QByteArray &report : std::as_const(m_hid->written))
            QCOMPARE(report.size(), 65);

        // IDs belong to RS-485 lines: nothing goes out.
        const qsizetype sent = m_hid->written.size();
        QCOMPARE(run({"set-id", "--usb", "--id", "1", "2", "--yes"}), 1);
        QCOMPARE(m_hid->written.size(), sent);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no device") << "none" << QStringList{"get", "--usb", "--id", "1"} << 1;
        QTest::newRow("two devices, none named") << "two" << QStringList{"get", "--usb", "--id", "1"} << 1;
        QTest::newRow("two devices, one named")
            << "two" << QStringList{"get", "--port", "usb:sim-hidraw1", "--id", "1"} << 0;
        QTest::newRow("no access") << "denied" << QStringList{"get", "--usb", "--id", "1"} << 1;
        QTest::newRow("no such ID") << "one" << QStringList{"get", "--usb", "--id", "7"} << 3;
        QTest::newRow("--usb and --port") << "one" << QStringList{"get", "--usb", "--port", "ttyS0", "--id", "1"}
                                          << -1;
        QTest::newRow("pulled out during a backup")
            << "pulled" << QStringList{"backup", "--usb", "--id", "1"} << 1;
    }
    void refused()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        if (setup != "none") m_hid->plug();
        if (setup == "two") m_hid->plug(second());
        if (setup == "denied") m_hid->refuseOpen = EACCES;
        int frames = 0;
        if (setup == "pulled")
            connect(&m_hid->line, &sim::SimLine::frameReceived, m_hid.get(), [&] {
                if (++frames == 5) QTimer::singleShot(0, m_hid.get(), [this] { m_hid->unplug(); });
            });

        const QString file = path(QTest::currentDataTag()) + (args.first() == "backup" ? ".gdat" : ".sdat");
        QCOMPARE(run(args << file), exitCode);
        QCOMPARE(QFile::exists(file), exitCode == 0);
    }
};

QTEST_GUILESS_MAIN(TestSpktoolUsb)
#include "tst_spktool_usb.moc"
