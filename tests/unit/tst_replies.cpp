#include "hexbytes.h"
#include "protocol/meter.h"
#include "protocol/replies.h"

#include <QTest>
#include <vector>

using namespace spk;

namespace {
std::vector<std::uint8_t> bytesOf(const QByteArray &b)
{
    return {b.begin(), b.end()};
}
std::vector<std::uint8_t> meterData(int reading, int attenuation, int limiter, int s6 = 0, int s7 = 0)
{
    return {0,
            0,
            std::uint8_t(reading >> 8),
            std::uint8_t(reading & 0xFF),
            std::uint8_t(attenuation),
            std::uint8_t(limiter),
            std::uint8_t(s6),
            std::uint8_t(s7)};
}
} // namespace

class TestReplies : public QObject
{
    Q_OBJECT

private slots:
    void version_data();
    void version();
    void names();
    void namesShort();
    void sysData_data();
    void sysData();
    void sysDataShort();
    void image();
    void temperature_data();
    void temperature();
    void meterTexts();
    void meterLimiterOnly();
    void meterShort();
};

void TestReplies::version_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("exact") << QByteArray("QUENDAL29 V2.1.0        ") << true;
    QTest::newRow("longer reply") << QByteArray("QUENDAL29 V2.1.0        XY") << true;
    QTest::newRow("ninth trailing char") << QByteArray("QUENDAL29 V2.1.0       X") << false;
    QTest::newRow("other case") << QByteArray("quendal29 v2.1.0        ") << false;
    QTest::newRow("zeros for spaces") << QByteArray("QUENDAL29 V2.1.0").append(8, '\0') << false;
    QTest::newRow("23 bytes") << QByteArray("QUENDAL29 V2.1.0       ") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestReplies::version()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QCOMPARE(versionMatches(bytesOf(text)), ok);
}

void TestReplies::names()
{
    QByteArray data;
    for (int n = 1; n <= 20; ++n) {
        QByteArray name = QByteArray("Name") + QByteArray::number(n);
        data += name.leftJustified(20, ' ');
    }
    data.replace(40, 20, QByteArray(20, '\0'));                             // preset 3: all zero
    data.replace(80, 20, QByteArray("Bad\x01name").leftJustified(20, ' ')); // preset 5: control code
    data.replace(100, 20, QByteArray("ab\0cd", 5).leftJustified(20, '\0')); // preset 6
    data.replace(140, 20, QByteArray("Stored user preset!!"));              // preset 8
    PresetNames names;
    const std::optional<QStringList> items = decodeNames(bytesOf(data), names);
    QVERIFY(items);
    QCOMPARE(items->size(), 8);
    QCOMPARE(items->at(0), QStringLiteral("Pre0:Name1               "));
    QCOMPARE(items->at(2), QStringLiteral("Pre2:") + QString(20, u' '));
    QCOMPARE(items->at(4), QStringLiteral("Pre4:"));
    QCOMPARE(items->at(5), QStringLiteral("Pre5:ab cd") + QString(15, u' '));
    QCOMPARE(items->at(7), QStringLiteral("Usr7:Stored user preset!!"));
    // Every entry keeps its codes, also those that show as empty and those past the list.
    QCOMPARE(names.entries[5][3], std::uint8_t(1));
    QCOMPARE(displayName(names.entries[20]), QStringLiteral("Name20              "));
    QCOMPARE(names.entries[0], PresetName{});
}

void TestReplies::namesShort()
{
    PresetNames names;
    names.entries[1] = storedName(QStringLiteral("keep"));
    QVERIFY(!decodeNames(bytesOf(QByteArray(399, 'x')), names));
    QCOMPARE(displayName(names.entries[1]), QStringLiteral("keep                "));
}

void TestReplies::sysData_data()
{
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("byte0");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("save2dev");
    QTest::newRow("none") << 0 << 0 << 0 << "Last loaded Preset: Pre0"
                          << "";
    QTest::newRow("25") << 25 << 0 << 0 << "Last loaded Preset: Pre0"
                        << "";
    QTest::newRow("21") << 21 << 0 << 0 << "Last loaded Preset: Pre0"
                        << "";
    QTest::newRow("preset 3") << 3 << 3 << 2 << "Last loaded Preset: Pre2"
                              << "";
    QTest::newRow("preset 1") << 1 << 1 << 0 << "Last loaded Preset: Pre0"
                              << "";
    QTest::newRow("user preset") << 8 << 8 << 7 << "Last loaded Preset: Usr7"
                                 << "My sound            ";
    QTest::newRow("preset 9") << 9 << 9 << -1 << "Last loaded Preset: Usr8"
                              << "";
    QTest::newRow("preset 20") << 20 << 20 << -1 << "Last loaded Preset: Usr20"
                               << "";
}

void TestReplies::sysData()
{
    QFETCH(int, last);
    QFETCH(int, byte0);
    QFETCH(int, item);
    QFETCH(QString, label);
    QFETCH(QString, save2dev);
    PresetNames names;
    names.entries[8] = storedName(QStringLiteral("My sound"));
    std::vector<std::uint8_t> data(48);
    for (int i = 0; i < 48; ++i)
        data[i] = std::uint8_t(100 + i);
    data[0] = std::uint8_t(last);
    SysData sys;
    const std::optional<SysDataView> view = decodeSysData(data, sys, names);
    QVERIFY(view);
    QCOMPARE(int(sys.bytes[0]), byte0);
    QCOMPARE(int(sys.bytes[3]), 103);
    QCOMPARE(int(sys.bytes[47]), 147);
    QCOMPARE(view->load2devIndex, item);
    QCOMPARE(view->save2devIndex, 0);
    QCOMPARE(view->lastGroupText, label);
    QCOMPARE(view->save2devText, save2dev);
}

void TestReplies::sysDataShort()
{
    SysData sys;
    sys.bytes[3] = 7;
    PresetNames names;
    QVERIFY(!decodeSysData(std::vector<std::uint8_t>(47, 1), sys, names));
    QCOMPARE(int(sys.bytes[3]), 7);
}

void TestReplies::image()
{
    ParamImage image;
    image.initDefaults();
    std::vector<std::uint8_t> data(640);
    for (int i = 0; i < 640; ++i)
        data[i] = std::uint8_t(i ^ 0x5A);
    QVERIFY(!decodeImage(std::span(data).first(639), image));
    QCOMPARE(int(image.byte(1, 4)), 240);
    QVERIFY(decodeImage(data, image));
    for (int i = 0; i < 640; ++i)
        QCOMPARE(int(image[i]), (i ^ 0x5A) & 0xFF);
}

void TestReplies::temperature_data()
{
    QTest::addColumn<int>("reading");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("1123") << 1123 << 0 << ">=70'C";
    QTest::newRow("0") << 0 << 0 << ">=70'C";
    QTest::newRow("1150") << 1150 << 0 << ">=70'C";
    QTest::newRow("1153 tie") << 1153 << 0 << ">=70'C";
    QTest::newRow("1154") << 1154 << 1 << "68'C";
    QTest::newRow("1160") << 1160 << 1 << "68'C";
    QTest::newRow("2004") << 2004 << 10 << "50'C";
    QTest::newRow("4988") << 4988 << 29 << "12'C";
    QTest::newRow("5000") << 5000 << 30 << "<=10'C";
    QTest::newRow("5118") << 5118 << 30 << "<=10'C";
    QTest::newRow("0xFFFF") << 0xFFFF << 30 << "<=10'C";
}

void TestReplies::temperature()
{
    QFETCH(int, reading);
    QFETCH(int, index);
    QFETCH(QString, text);
    LinkState state;
    const std::optional<MeterView> v = decodeMeter(state, meterData(reading, 0, 0));
    QVERIFY(v);
    QCOMPARE(v->tempIndex, index);
    QCOMPARE(v->temperatureText, text);
    QCOMPARE(v->reading, std::min(reading, 5118));
}

void TestReplies::meterTexts()
{
    LinkState state;
    const std::optional<MeterView> v = decodeMeter(state, meterData(1160, 3, 0, 17, 255));
    QVERIFY(v);
    QVERIFY(state.MeterSeen);
    QCOMPARE(v->attenuationText, QStringLiteral("3 dB"));
    QCOMPARE(v->statusText, QStringLiteral("Temperature: 68'C   Attenuation dB: 3 dB"));
    QVERIFY(v->temperLed);
    QCOMPARE(v->temperatureColor, (Rgb{255, 128, 64}));
    QVERIFY(!v->limiterLed);
    QCOMPARE(v->edt1, QStringLiteral("0"));
    QCOMPARE(v->edt2, QStringLiteral("17"));
    QCOMPARE(v->edt3, QStringLiteral("255"));
}

void TestReplies::meterLimiterOnly()
{
    LinkState state;
    const std::optional<MeterView> v = decodeMeter(state, meterData(5000, 0, 1));
    QVERIFY(v);
    QVERIFY(v->limiterLed);
    QVERIFY(!v->temperLed);
    QCOMPARE(v->temperatureColor, (Rgb{255, 255, 255}));
    QCOMPARE(v->edt1, QStringLiteral("1"));
    QCOMPARE(v->statusText, QStringLiteral("Temperature: <=10'C   Attenuation dB: 0 dB"));
}

void TestReplies::meterShort()
{
    LinkState state;
    QVERIFY(!decodeMeter(state, std::vector<std::uint8_t>(7, 0x10)));
    QVERIFY(state.MeterSeen);
    state.MeterSeen = false;
    QVERIFY(!decodeMeter(state, {}));
    QVERIFY(state.MeterSeen);
}

QTEST_GUILESS_MAIN(TestReplies)
#include "tst_replies.moc"
