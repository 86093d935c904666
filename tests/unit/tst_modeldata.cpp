#include "model/dirtyflags.h"
#include "model/layout.h"
#include "model/paramimage.h"
#include "model/sysdata.h"
#include "model/tables.h"
#include "model/valuetext.h"

#include <QTest>

using namespace spk;

class TestModelData : public QObject
{
    Q_OBJECT

private slots:
    void defaultImage();
    void defaultsKeepOtherRecords();
    void recordAddresses_data();
    void recordAddresses();
    void channelRecords();
    void words();
    void outOfTableCodes();
    void sysDataLastPreset_data();
    void sysDataLastPreset();
    void sysDataShortReply();
    void displayNames_data();
    void displayNames();
    void storedNames();
    void typeNames();
    void dirtyFlags();
};

void TestModelData::defaultImage()
{
    // Built from the group layout written out by hand: ip0 records 0..17, outputs 19 records each.
    std::array<std::uint8_t, 640> expected{};
    auto put = [&](int record, std::array<std::uint8_t, 8> bytes) {
        std::copy(bytes.begin(), bytes.end(), expected.begin() + 8 * record);
    };
    for (int first : {0, 18, 37, 56}) {
        const bool output = first != 0;
        put(first + 1, {0, 0, 0, 0, 240, 0, 0, 0});
        if (output) put(first + 2, {20, 0, 0, 0, 0, 0, 0, 0});
        for (int k = 0; k < 10; ++k)
            put(first + (output ? 3 : 2) + k, {std::uint8_t(10 * k), 0, 120, 0, 0, 0, 42, 0});
    }
    ParamImage image;
    image.initDefaults();
    for (int i = 0; i < 640; ++i)
        QVERIFY2(image[i] == expected[i], qPrintable(QStringLiteral("byte %1").arg(i)));
    QCOMPARE(freqText(image.byte(bandRecord(Ip0, 9), BandByte::Freq)), QStringLiteral("265.0Hz"));
    QCOMPARE(freqText(image.byte(crossoverRecord(Ip0), CrossoverByte::LpfFreq)), QStringLiteral("20100.0Hz"));
    QCOMPARE(qText(image.word(bandRecord(Ip0, 0), BandByte::Q)), QStringLiteral("4.072"));
}

void TestModelData::defaultsKeepOtherRecords()
{
    ParamImage image;
    image.setRecord(75, {1, 2, 3, 4, 5, 6, 7, 8});
    image.setRecord(79, {9, 9, 9, 9, 9, 9, 9, 9});
    image.setRecord(12, {7, 7, 7, 7, 7, 7, 7, 7}); // ip0 spare
    image.initDefaults();
    QCOMPARE(int(image.byte(75, 7)), 8);
    QCOMPARE(int(image.byte(79, 0)), 9);
    QCOMPARE(int(image.byte(12, 3)), 7);
}

void TestModelData::recordAddresses_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("sub");
    QTest::addColumn<int>("command");
    QTest::newRow("0") << 0 << 0 << 0 << 0;
    QTest::newRow("17") << 17 << 0 << 17 << 0;
    QTest::newRow("18") << 18 << 1 << 0 << 1;
    QTest::newRow("36") << 36 << 1 << 18 << 1;
    QTest::newRow("37") << 37 << 2 << 0 << 2;
    QTest::newRow("55") << 55 << 2 << 18 << 2;
    QTest::newRow("56") << 56 << 3 << 0 << 3;
    QTest::newRow("74") << 74 << 3 << 18 << 3;
    QTest::newRow("75") << 75 << -1 << -1 << -1;
    QTest::newRow("79") << 79 << -1 << -1 << -1;
    QTest::newRow("-1") << -1 << -1 << -1 << -1;
    QTest::newRow("80") << 80 << -1 << -1 << -1;
}

void TestModelData::recordAddresses()
{
    QFETCH(int, record);
    QFETCH(int, channel);
    QFETCH(int, sub);
    QFETCH(int, command);
    const std::optional<RecordAddress> a = addressOfRecord(record);
    QCOMPARE(a.has_value(), channel >= 0);
    if (a) {
        QCOMPARE(a->channel, channel);
        QCOMPARE(a->sub, sub);
        QCOMPARE(int(a->command), command);
    }
}

void TestModelData::channelRecords()
{
    QCOMPARE(levelRecord(Ip0), 0);
    QCOMPARE(crossoverRecord(Ip0), 1);
    for (int c = 1; c < ChannelCount; ++c) {
        QCOMPARE(levelRecord(c), 19 * c - 1);
        QCOMPARE(crossoverRecord(c), 19 * c);
    }
    for (int c = 0; c < ChannelCount; ++c)
        for (int k = 0; k < BandCount; ++k)
            QCOMPARE(bandRecord(c, k), 19 * c + 2 + k);
}

void TestModelData::words()
{
    ParamImage image;
    image.setWord(18, LevelByte::Delay, 1440);
    QCOMPARE(int(image.byte(18, 4)), 0xA0);
    QCOMPARE(int(image.byte(18, 5)), 0x05);
    QCOMPARE(image.word(18, LevelByte::Delay), 1440);
    QCOMPARE(int(image.byte(18, 6)), 0); // the record's other bytes stay
    QCOMPARE(int(image.byte(18, 3)), 0);
}

void TestModelData::outOfTableCodes()
{
    ParamImage image;
    image.setByte(2, BandByte::Freq, 250);
    image.setWord(2, BandByte::Gain, 200);
    image.setWord(2, BandByte::Q, 100);
    image.setWord(0, LevelByte::Level, 400);
    image.setWord(0, LevelByte::Delay, 2000);
    QCOMPARE(freqText(image.byte(2, BandByte::Freq)), QStringLiteral("21900.0Hz"));
    QCOMPARE(gainText(image.word(2, BandByte::Gain)), QStringLiteral("12.0dB"));
    QCOMPARE(qText(image.word(2, BandByte::Q)), QStringLiteral("92.302"));
    QCOMPARE(levelText(image.word(0, LevelByte::Level), true), QStringLiteral("0.0dB"));
    QCOMPARE(delayMsText(image.word(0, LevelByte::Delay)), QStringLiteral("14.976ms"));
    QCOMPARE(freqHz(0xFFFF), 21900.0);
    QCOMPARE(eqGainDb(-1), -24.0);
    QCOMPARE(int(image.byte(2, BandByte::Freq)), 250);
    QCOMPARE(image.word(2, BandByte::Gain), 200);
    QCOMPARE(image.word(2, BandByte::Q), 100);
    QCOMPARE(image.word(0, LevelByte::Level), 400);
    QCOMPARE(image.word(0, LevelByte::Delay), 2000);
}

void TestModelData::sysDataLastPreset_data()
{
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("kept");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("8") << 8 << 8;
    QTest::newRow("20") << 20 << 20;
    QTest::newRow("21") << 21 << 0;
    QTest::newRow("255") << 255 << 0;
}

void TestModelData::sysDataLastPreset()
{
    QFETCH(int, received);
    QFETCH(int, kept);
    std::array<std::uint8_t, 48> data;
    for (int i = 0; i < 48; ++i)
        data[i] = std::uint8_t(200 + i);
    data[0] = std::uint8_t(received);
    SysData sys;
    sys.assign(data);
    QCOMPARE(int(sys.bytes[0]), kept);
    for (int i = 1; i < 48; ++i)
        QCOMPARE(int(sys.bytes[i]), 200 + i);
}

void TestModelData::sysDataShortReply()
{
    SysData sys;
    sys.bytes.fill(9);
    const std::array<std::uint8_t, 5> data{3, 1, 2, 7, 4};
    sys.assign(data);
    QCOMPARE(int(sys.bytes[3]), 7);
    QCOMPARE(int(sys.bytes[5]), 0);
    const std::array<std::uint8_t, 60> longData{};
    sys.assign(longData); // more than 48 bytes: the rest is not taken
    QCOMPARE(int(sys.bytes[47]), 0);
}

void TestModelData::displayNames_data()
{
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zeros") << QByteArray(20, '\0') << QString(20, u' ');
    QTest::newRow("text and zeros") << QByteArray("abc").leftJustified(20, '\0')
                                    << QStringLiteral("abc") + QString(17, u' ');
    QTest::newRow("zero inside") << QByteArray("a\0b", 3).leftJustified(20, ' ')
                                 << QStringLiteral("a b") + QString(17, u' ');
    QTest::newRow("printable and 127")
        << QByteArray(" ~\x7f").leftJustified(20, 'x') << QStringLiteral(" ~\x7f") + QString(17, u'x');
    QTest::newRow("tab") << QByteArray("a\tb").leftJustified(20, ' ') << QString();
    QTest::newRow("31") << QByteArray("\x1f").leftJustified(20, ' ') << QString();
    QTest::newRow("128") << QByteArray("ab\x80").leftJustified(20, ' ') << QString();
    QTest::newRow("255") << QByteArray(20, '\xff') << QString();
}

void TestModelData::displayNames()
{
    QFETCH(QByteArray, codes);
    QFETCH(QString, shown);
    PresetName name;
    std::copy_n(codes.constData(), 20, name.begin());
    const QString text = displayName(name);
    QCOMPARE(text, shown);
    QVERIFY(text.isEmpty() || text.size() == 20);
}

void TestModelData::storedNames()
{
    const PresetName hello = storedName(QStringLiteral("Hello world"));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(hello.data()), 20),
             QByteArray("Hello world         "));
    PresetName spaces;
    spaces.fill(32);
    QCOMPARE(storedName(QString()), spaces);
    const PresetName longName = storedName(QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(longName.data()), 20),
             QByteArray("abcdefghijklmnopqrst"));
}

void TestModelData::typeNames()
{
    QCOMPARE(crossoverTypeName(0), QStringLiteral("12db-Bworth"));
    QCOMPARE(crossoverTypeName(11), QStringLiteral("48db-Bessel"));
    QCOMPARE(crossoverTypeName(12), QString());
    QCOMPARE(crossoverTypeName(-1), QString());
    QCOMPARE(eqTypeName(4), QStringLiteral("HS 12dB"));
    QCOMPARE(eqTypeName(5), QString());
    QCOMPARE(QString::fromLatin1(DefaultPresetNames[7]), QStringLiteral("Usr7"));
    QCOMPARE(QString::fromLatin1(DefaultPresetNames[31]), QStringLiteral("PreF"));
}

void TestModelData::dirtyFlags()
{
    DirtyFlags f;
    QVERIFY(!f.first());
    f.set(81);
    f.set(5);
    f.set(82); // ignored
    f.set(-1); // ignored
    QCOMPARE(*f.first(), 5);
    QVERIFY(!f.test(82));
    f.clear(5);
    QCOMPARE(*f.first(), 81);
    f.set(0);
    f.clearFrom(1);
    QCOMPARE(*f.first(), 0);
    QVERIFY(!f.test(81));
    f.clearAll();
    QVERIFY(!f.first());
}

QTEST_GUILESS_MAIN(TestModelData)
#include "tst_modeldata.moc"
