#include "filters/channelresponse.h"
#include "filters/outputprediction.h"
#include "model/paramimage.h"
#include "presets/presetfile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace spk;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run spktool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(SPKTOOL_PATH), args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    if (p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

ParamImage showImage()
{
    ParamImage image;
    image.initDefaults();
    image.setWord(levelRecord(Ip0), LevelByte::Level, 238); // -12.4dB
    image.setWord(levelRecord(Ip0), LevelByte::Delay, 96);  // 0.998ms 0.344m 1.128ft
    image.setByte(levelRecord(Ip0), LevelByte::Polarity, 1);
    image.setByte(crossoverRecord(Ip0), CrossoverByte::HpfFreq, 136);
    image.setByte(crossoverRecord(Ip0), CrossoverByte::HpfType, 7);
    image.setByte(bandRecord(Ip0, 3), BandByte::Type, 1);
    image.setWord(bandRecord(Ip0, 3), BandByte::Gain, 125);
    image.setByte(bandRecord(Ip0, 4), BandByte::Bypass, 1);
    image.setByte(levelRecord(Op2), LevelByte::Mute, 1);
    image.setByte(crossoverRecord(Op2), CrossoverByte::LpfFreq, 100);
    image.setByte(crossoverRecord(Op2), CrossoverByte::LpfType, 11);
    return image;
}

} // namespace

class TestSpkTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void help();
    void show();
    void presetOfGroupFile();
    void response();
    void responseChannel();
    void responseOutput();
    void badFiles_data();
    void badFiles();
    void notRegularFiles_data();
    void notRegularFiles();
    void usage_data();
    void usage();

private:
    QTemporaryDir m_dir;
    QString m_sdat;
    QString m_gdat;
};

void TestSpkTool::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sdat = m_dir.filePath("show.sdat");
    QVERIFY(PresetFile::writeSdat(m_sdat, PresetFile::recordText(showImage().bytes(), 0, 0, 0x28)));
    QList<QByteArray> records;
    for (int k = 0; k < PresetFile::PresetCount; ++k) {
        ParamImage image;
        image.initDefaults();
        image.setWord(levelRecord(Ip0), LevelByte::Level, 200 + k); // preset k + 1: level code 200 + k
        records << PresetFile::recordText(image.bytes(), 0, std::uint8_t(k + 1), 0x29);
    }
    m_gdat = m_dir.filePath("all.gdat");
    QVERIFY(PresetFile::writeGdat(m_gdat, records));
}

void TestSpkTool::help()
{
    for (const char *command : {"ports", "scan", "backup", "restore", "get", "put", "meter", "set-id"}) {
        const Run r = spktool({command, "--help"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("Usage: spktool %1").arg(command)), qPrintable(r.out));
    }
    Run r = spktool({"--help"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains("show FILE"));
    QVERIFY(r.out.contains("response FILE"));
    r = spktool({"show", "--help"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.startsWith("Usage: spktool show"));
    r = spktool({"response", "--help"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains("column,frequency_hz,magnitude_db,phase_rad"));
}

void TestSpkTool::show()
{
    const Run r = spktool({"show", m_sdat});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.err.isEmpty());
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4 * 1 + 3 * 16 + 15); // titles, outputs with mute, ip0 without
    QCOMPARE(lines[0], "ip0 (system input)");
    QCOMPARE(lines[1].simplified(), "level -12.4dB");
    QCOMPARE(lines[2].simplified(), "polarity Pol(-)");
    QCOMPARE(lines[3].simplified(), "delay 0.998ms 0.344m 1.128ft");
    QCOMPARE(lines[4].simplified(), "high-pass 1000.0Hz 24db-LR");
    QCOMPARE(lines[5].simplified(), "low-pass 20100.0Hz 12db-Bworth");
    QCOMPARE(lines[6].simplified(), "band 1 19.7Hz PEQ 0.0dB Q 4.072 active");
    QCOMPARE(lines[9].simplified(), "band 4 46.8Hz LS 6dB 1.0dB Q 4.072 active");
    QCOMPARE(lines[10].simplified(), "band 5 62.5Hz PEQ 0.0dB Q 4.072 bypassed");
    QVERIFY(r.out.contains("op0 (satellite output)\n  level       -60.0dB\n  mute        off"));
    QVERIFY(r.out.contains("op2 (subwoofer output)\n  level       -60.0dB\n  mute        on"));
    QVERIFY(r.out.contains("  low-pass    354.0Hz 48db-Bessel\n"));
}

void TestSpkTool::presetOfGroupFile()
{
    Run r = spktool({"show", m_gdat});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.split('\n')[1].simplified(), "level -20.0dB"); // code 200
    r = spktool({"show", m_gdat, "--preset", "20"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.split('\n')[1].simplified(), "level -16.2dB"); // code 219
    r = spktool({"show", "--preset=3", m_gdat});
    QCOMPARE(r.out.split('\n')[1].simplified(), "level -19.6dB");
}

void TestSpkTool::response()
{
    const Run r = spktool({"response", m_sdat});
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 673);
    QCOMPARE(lines[0], "column,frequency_hz,magnitude_db,phase_rad");
    QVERIFY(lines[1].startsWith("42,9.917"));
    QVERIFY(lines[60].startsWith("101,20.000000,"));
    QVERIFY(lines[641].startsWith("682,20000.000000,"));
    QVERIFY(lines[672].startsWith("713,"));
    const QStringList at1k = lines[430 - 41].split(',');
    QCOMPARE(at1k.size(), 4);
    QCOMPARE(at1k[0], "430");
    QVERIFY(std::fabs(at1k[2].toDouble() + 5.94) < 0.05); // 24 dB Linkwitz-Riley high-pass at 1 kHz
    for (const QString &line : lines.mid(1))
        QCOMPARE(line.section(',', 3).section('.', 1).size(), 6);
}

void TestSpkTool::responseChannel()
{
    const Run ip0 = spktool({"response", m_sdat, "--channel", "ip0"});
    const Run op2 = spktool({"response", m_sdat, "--channel=op2"});
    const Run op0 = spktool({"response", m_sdat, "--channel", "op0"});
    QCOMPARE(op2.exitCode, 0);
    QCOMPARE(ip0.out, spktool({"response", m_sdat}).out);
    QVERIFY(op2.out != ip0.out);
    QVERIFY(op0.out.contains("\n713,28913.378564,0.000000,0.000000\n"));
    QVERIFY(!op2.out.contains("\n713,28913.378564,0.000000,0.000000\n"));
}

// The overlay's predictions: the satellite as the core computes it, the subwoofer muted in this file.
void TestSpkTool::responseOutput()
{
    const ParamImage image = showImage();
    std::array<ChannelResponse, ChannelCount> responses{ChannelResponse(Ip0), ChannelResponse(Op0),
                                                        ChannelResponse(Op1), ChannelResponse(Op2)};
    for (ChannelResponse &c : responses)
        c.computeAll(image);
    OutputPrediction prediction;
    prediction.update(image, responses);
    const Run sat = spktool({"response", m_sdat, "--output", "sat"});
    QCOMPARE(sat.exitCode, 0);
    const QStringList lines = sat.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 673);
    for (int i = 0; i < 672; ++i) {
        const QStringList v = lines[i + 1].split(',');
        QVERIFY(std::fabs(v[2].toDouble() - prediction.output(Op0)->magnitude[i]) <= 5e-7);
        QVERIFY(std::fabs(v[3].toDouble() - prediction.output(Op0)->phase[i]) <= 5e-7);
    }
    QCOMPARE(spktool({"response", m_sdat, "--output=sum"}).out, sat.out); // nothing from the muted sub
    const Run sub = spktool({"response", m_sdat, "--output", "sub"});
    QCOMPARE(sub.exitCode, 0);
    QCOMPARE(sub.out, "column,frequency_hz,magnitude_db,phase_rad\n");
    QCOMPARE(sub.err, "spktool response: op2 is muted\n");
    const Run third = spktool({"response", m_sdat, "--output", "third"});
    QCOMPARE(third.out.count('\n'), 673); // op1 at -60 dB, not muted
}

void TestSpkTool::badFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << "e.sdat"
                           << "is empty";
    QTest::newRow("blank lines") << QByteArray("\r\n\r\n") << "b.sdat"
                                 << "is empty";
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 37 % 256);
    QTest::newRow("binary") << binary << "bin.sdat"
                            << "File damaged.";
    QTest::newRow("binary gdat") << binary << "bin.gdat"
                                 << "File damaged.";
    QTest::newRow("huge") << QByteArray(3 << 20, 'A') << "huge.sdat"
                          << "File damaged.";
    QTest::newRow("1303 characters") << QByteArray(1303, 'A') << "short.sdat"
                                     << "File damaged.";
    QTest::newRow("39 lines") << QByteArray(39 * 654, 'A').replace(652, 2, "\r\n") << "short.gdat"
                              << "File damaged.";
    QTest::newRow("sdat given as gdat")
        << PresetFile::recordText(ParamImage().bytes(), 0, 0, 0x28) << "one.gdat"
        << "File damaged.";
}

void TestSpkTool::badFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(name);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    for (const char *command : {"show", "response"}) {
        const Run r = spktool({command, path});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(r.err.count('\n'), 1);
    }
}

void TestSpkTool::notRegularFiles_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::addColumn<QString>("message");
    QTest::newRow("pipe without writer") << true << "is not a regular file";
    QTest::newRow("directory") << false << "is a directory";
}

void TestSpkTool::notRegularFiles()
{
    QFETCH(bool, pipe);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(pipe ? "pipe.sdat" : "dir.sdat");
    QVERIFY(pipe ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 : QDir().mkpath(path));
    const Run r = spktool({"show", path});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
}

void TestSpkTool::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("nothing") << QStringList{} << 2;
    QTest::newRow("unknown command") << QStringList{"convert", "x.sdat"} << 2;
    QTest::newRow("missing file argument") << QStringList{"show"} << 2;
    QTest::newRow("two files") << QStringList{"show", "a.sdat", "b.sdat"} << 2;
    QTest::newRow("preset 0") << QStringList{"show", "a.gdat", "--preset", "0"} << 2;
    QTest::newRow("preset 21") << QStringList{"show", "a.gdat", "--preset=21"} << 2;
    QTest::newRow("preset without value") << QStringList{"show", "a.gdat", "--preset"} << 2;
    QTest::newRow("preset of sdat") << QStringList{"show", "SDAT", "--preset", "2"} << 2;
    QTest::newRow("bad channel") << QStringList{"response", "a.sdat", "--channel", "op3"} << 2;
    QTest::newRow("bad output") << QStringList{"response", "a.sdat", "--output", "op0"} << 2;
    QTest::newRow("channel and output")
        << QStringList{"response", "SDAT", "--output=sat", "--channel=op0"} << 2;
    QTest::newRow("channel for show") << QStringList{"show", "a.sdat", "--channel", "op0"} << 2;
    QTest::newRow("unknown option") << QStringList{"show", "a.sdat", "--verbose"} << 2;
    QTest::newRow("missing file") << QStringList{"show", "/nonexistent/x.sdat"} << 1;
    QTest::newRow("directory") << QStringList{"response", "/"} << 1;
    // Device commands check their command line before they look for a port.
    QTest::newRow("scan ids 0") << QStringList{"scan", "--ids", "0-5"} << 2;
    QTest::newRow("scan ids 251") << QStringList{"scan", "--ids", "250,251"} << 2;
    QTest::newRow("scan ids open range") << QStringList{"scan", "--ids", "5-"} << 2;
    QTest::newRow("scan ids text") << QStringList{"scan", "--ids", "all"} << 2;
    QTest::newRow("scan with id") << QStringList{"scan", "--id", "5"} << 2;
    QTest::newRow("ports with argument") << QStringList{"ports", "x"} << 2;
    QTest::newRow("backup without id") << QStringList{"backup", "--port", "p", "a.gdat"} << 2;
    QTest::newRow("backup two ids") << QStringList{"backup", "--port", "p", "--id",
                                                   "1",      "--id",   "2", "a.gdat"}
                                    << 2;
    QTest::newRow("restore two files") << QStringList{"restore", "--port", "p", "--id", "1", "a", "b"} << 2;
    QTest::newRow("set-id without NEW") << QStringList{"set-id", "--port", "p", "--id", "1"} << 2;
    QTest::newRow("set-id 251") << QStringList{"set-id", "--port", "p", "--id", "1", "251"} << 2;
    QTest::newRow("time scale 0") << QStringList{"meter", "--port", "p", "--id", "1", "--time-scale", "0"}
                                  << 2;
    QTest::newRow("yes for get") << QStringList{"get", "--port", "p", "--id", "1", "a.sdat", "--yes"} << 2;
}

void TestSpkTool::usage()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    args.replaceInStrings("SDAT", m_sdat);
    const Run r = spktool(args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(r.err.count('\n'), 1);
}

QTEST_GUILESS_MAIN(TestSpkTool)
#include "tst_spktool.moc"
