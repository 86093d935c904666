// The spksim program: its options, exit codes, and the adapter link it publishes and removes.
#include "ptyclient.h"
#include "simtestframes.h"

#include "simoptions.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace spk;
using namespace spk::sim;
using namespace simtest;

class TestSpksim : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        return env;
    }

private slots:
    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("ok");
        QTest::newRow("none") << QStringList{} << true;
        QTest::newRow("ids") << QStringList{"--ids", "1,5,9"} << true;
        QTest::newRow("ids 250") << QStringList{"--ids=250"} << true;
        QTest::newRow("ids 0") << QStringList{"--ids", "0"} << false;
        QTest::newRow("ids 251") << QStringList{"--ids", "1,251"} << false;
        QTest::newRow("ids twice") << QStringList{"--ids", "5,5"} << false;
        QTest::newRow("ids text") << QStringList{"--ids", "one"} << false;
        QTest::newRow("ids empty") << QStringList{"--ids", ""} << false;
        QTest::newRow("unknown") << QStringList{"--frobnicate"} << false;
        QTest::newRow("positional") << QStringList{"extra"} << false;
        QTest::newRow("missing value") << QStringList{"--log"} << false;
        QTest::newRow("scale") << QStringList{"--time-scale", "0.05", "--no-pacing"} << true;
        QTest::newRow("scale 0") << QStringList{"--time-scale", "0"} << false;
        QTest::newRow("faults")
            << QStringList{"--silent", "--drop",  "3", "--drop-rate", "0.5", "--bad-end",      "--noise",
                           "00FF13",   "--split", "3", "--slow",      "200", "--unplug-after", "2"}
            << true;
        QTest::newRow("drop rate 2") << QStringList{"--drop-rate", "2"} << false;
        QTest::newRow("noise not hex") << QStringList{"--noise", "XYZ"} << false;
        QTest::newRow("split 0") << QStringList{"--split", "0"} << false;
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, ok);
        SimConfig config;
        QString error;
        QCOMPARE(parseSimOptions(QStringList{"spksim"} + args, &config, &error), ok);
        QCOMPARE(error.isEmpty(), ok);
        QVERIFY(!error.contains('\n'));
    }

    void optionValues()
    {
        SimConfig c;
        QVERIFY(parseSimOptions({"spksim", "--ids", "1, 5", "--drop", "3", "--noise", "00 ff", "--split", "2",
                                 "--version-text", "QUENDAL29 V2.0.0", "--state", "s.json", "--log", "f.log"},
                                &c, nullptr));
        QCOMPARE(c.ids, QList<int>({1, 5}));
        QCOMPARE(c.faults.dropNext, 3);
        QCOMPARE(c.faults.noise, hex("00FF"));
        QCOMPARE(c.faults.splitParts, 2);
        QCOMPARE(c.versionText, QByteArray("QUENDAL29 V2.0.0        "));
        QCOMPARE(c.stateFile, QStringLiteral("s.json"));
        QCOMPARE(c.logFile, QStringLiteral("f.log"));
        QVERIFY(c.pacing);
    }

    void badOptionExits2()
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(SPKSIM_PATH, {"--frobnicate"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 2);
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(err.count('\n'), 1);
        QVERIFY(err.startsWith("spksim: "));
    }

    void helpExits0()
    {
        QProcess p;
        p.start(SPKSIM_PATH, {"--help"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput();
        for (const char *option :
             {"--ids", "--state", "--log", "--time-scale", "--no-pacing", "--silent", "--drop", "--drop-rate",
              "--bad-end", "--noise", "--split", "--slow", "--unplug-after", "--version-text"})
            QVERIFY2(out.contains(option), option);
    }

    void servesAndCleansUpOnSigint()
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(SPKSIM_PATH, {"--ids", "1,5", "--time-scale", "0.05"});
        QVERIFY(p.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(p.canReadLine(), 10000);
        const QString line = QString::fromLocal8Bit(p.readLine()).trimmed();
        const QRegularExpression re("^spksim: serving devices 1,5 on (ttySIM\\d+) \\((/dev/pts/\\d+)\\)$");
        const auto m = re.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        const QString link = m_runtime.path() + "/spkedit/ports/" + m.captured(1);
        QCOMPARE(QFileInfo(link).symLinkTarget(), m.captured(2));

        PtyClient client(link);
        QVERIFY(client.isOpen());
        QVERIFY(client.write(read(4, 0, 0xA0)));
        QCOMPARE(client.read(36, 5000).mid(10, 24), QByteArray("QUENDAL29 V2.1.0        "));
        client.close();

        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestSpksim)
#include "tst_spksim.moc"
