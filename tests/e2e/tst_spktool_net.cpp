// spktool on lines behind a device server: spksim's own TCP port, and Debian's ser2net in front of
// spksim's pty (raw and RFC 2217); several lines at once; servers that refuse, close or stay silent.
#include "ser2net.h"

#include "model/timing.h"
#include "presets/presetfile.h"
#include "simptyserver.h"
#include "simtcpserver.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

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

// Runs spktool with the event loop turning, so that the simulators in this process keep serving;
// `during` is polled meanwhile.
Run spktool(QStringList args, const std::function<void()> &during = nullptr)
{
    QProcess p;
    args << "--quiet" << "--time-scale" << QString::number(Scale);
    p.start(QStringLiteral(SPKTOOL_PATH), args);
    if (!p.waitForStarted()) return {};
    (void)QTest::qWaitFor(
        [&] {
            if (during) during();
            return p.state() == QProcess::NotRunning;
        },
        Patience);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray preset(int n)
{
    QByteArray image(640, char(n));
    image.replace(0, 20, QByteArray("preset ").append(QByteArray::number(n)).leftJustified(20, ' '));
    return image;
}

} // namespace

class TestSpktoolNet : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { setTimeScale(Scale); }

    // Find the device, edit its working preset, back it up: over each kind of network line.
    void connectEditBackup_data()
    {
        QTest::addColumn<QString>("peer"); // spksim, or the ser2net accepter
        QTest::newRow("spksim raw") << "spksim";
        QTest::newRow("ser2net raw") << "tcp";
        QTest::newRow("ser2net rfc2217") << "telnet(rfc2217),tcp";
    }
    void connectEditBackup()
    {
        QFETCH(QString, peer);
        sim::SimPtyServer line({3, 7});
        QString error;
        QVERIFY2(line.start(&error), qPrintable(error));
        sim::SimTcpServer tcp(line.line());
        std::unique_ptr<QProcess> ser2net;
        QString port;
        if (peer == "spksim") {
            QVERIFY2(tcp.listen(0, &error), qPrintable(error));
            port = tcp.address();
        } else {
            const quint16 p = freeTcpPort();
            ser2net = startSer2net(line.slavePath(), peer, p, m_dir.path());
            if (!ser2net) QSKIP("ser2net cannot be run here (scripts/setup.sh installs it)");
            port = QStringLiteral("%1://127.0.0.1:%2").arg(peer == "tcp" ? "tcp" : "rfc2217").arg(p);
        }
        for (int n = 1; n <= 20; ++n)
            line.device(7)->setPreset(n, preset(n));

        Run r = spktool({"meter", "--port", port, "--id", "7"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(r.out.contains("Temperature"));

        const QString working = path("working.sdat");
        r = spktool({"get", working, "--port", port, "--id", "3"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QByteArray before = line.device(3)->image();
        line.device(3)->setImage(QByteArray(640, '\x11'));
        r = spktool({"put", working, "--port", port, "--id", "3", "--yes"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(line.device(3)->image(), before);

        const QString file = path("seven.gdat");
        r = spktool({"backup", file, "--port", port, "--id", "7"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const PresetFile::Content content = PresetFile::readGdat(file);
        QCOMPARE(content.status, PresetFile::Status::Ok);
        if (ser2net) {
            ser2net->terminate();
            ser2net->waitForFinished();
        }
    }

    // Three lines at once, one of them with a device that does not answer.
    void fleetBackup()
    {
        std::vector<std::unique_ptr<sim::SimPtyServer>> lines;
        std::vector<std::unique_ptr<sim::SimTcpServer>> servers;
        QStringList args{"backup", path("fleet"), "--ids", "1,2", "--json"};
        for (int i = 0; i < 3; ++i) {
            lines.push_back(std::make_unique<sim::SimPtyServer>(i == 2 ? QList<int>{1} : QList<int>{1, 2}));
            QVERIFY(lines.back()->start());
            servers.push_back(std::make_unique<sim::SimTcpServer>(lines.back()->line()));
            QVERIFY(servers.back()->listen(0));
            args << "--port" << (i == 0 ? lines.back()->portName() : servers.back()->address());
        }
        const Run r = spktool(args);
        QCOMPARE(r.exitCode, 1);
        const QJsonObject summary = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(summary["done"].toInt(), 5);
        QCOMPARE(summary["failed"].toArray(), QJsonArray{servers[2]->address() + " ID 2"});
        QVERIFY(r.err.contains("device 2 on " + servers[2]->address() + ": no answer"));
        QStringList files = QDir(path("fleet")).entryList(QDir::Files);
        QCOMPARE(files.size(), 5);
        QVERIFY(files.contains(lines[0]->portName() + "-id2.gdat"));
        for (const QString &f : files)
            QCOMPARE(PresetFile::readGdat(path("fleet/" + f)).status, PresetFile::Status::Ok);
    }

    // Servers that fail: the link's message and exit code, and no file at all.
    void serverFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("refused") << "refused" << "tcp" << 1 << "connection refused";
        QTest::newRow("closed mid-transfer") << "closed" << "tcp" << 1 << "the server closed the connection";
        QTest::newRow("silent, raw") << "silent" << "tcp" << 3 << "no answer";
        QTest::newRow("silent, rfc2217") << "silent" << "rfc2217" << 1 << "does not speak RFC 2217";
    }
    void serverFaults()
    {
        QFETCH(QString, fault);
        QFETCH(QString, scheme);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        sim::SimLine line({4});
        sim::SimTcpServer server(line);
        QTcpServer silent;
        QString port;
        if (fault == "refused") {
            port = QStringLiteral("tcp://127.0.0.1:%1").arg(freeTcpPort());
        } else if (fault == "silent") {
            QVERIFY(silent.listen(QHostAddress::LocalHost));
            port = QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(silent.serverPort());
        } else {
            QVERIFY(server.listen(0));
            port = server.address();
        }
        int replies = 0;
        connect(&line, &sim::SimLine::frameSent, this, [&] {
            if (fault == "closed" && ++replies == 5) server.dropClients();
        });
        const QString file = path(QStringLiteral("fault-%1.gdat").arg(QTest::currentDataTag()));
        const Run r = spktool({"backup", file, "--port", port, "--id", "4"});
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(QDir(m_dir.path()).entryList({"fault-*"}), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSpktoolNet)
#include "tst_spktool_net.moc"
