#include "model/tables.h"
#include "model/valuetext.h"

#include <QRegularExpression>
#include <QTest>

using namespace spk;

class TestValueText : public QObject
{
    Q_OBJECT

private slots:
    void levelTexts_data();
    void levelTexts();
    void gainTexts_data();
    void gainTexts();
    void delayTexts_data();
    void delayTexts();
    void freqTexts_data();
    void freqTexts();
    void qTexts_data();
    void qTexts();
    void noNegativeZero();
    void tableValuesPrintShort();
    void nearestIndex_data();
    void nearestIndex();
    void levelFromDb_data();
    void levelFromDb();
    void shownLevelsParseBack();
    void delayFromMs_data();
    void delayFromMs();
    void parseNumber_data();
    void parseNumber();
};

void TestValueText::levelTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("system");
    QTest::addColumn<QString>("text");
    QTest::newRow("system 0") << 0 << true << "mute";
    QTest::newRow("output 0") << 0 << false << "-60.0dB";
    QTest::newRow("system 1") << 1 << true << "-59.8dB";
    QTest::newRow("238") << 238 << false << "-12.4dB";
    QTest::newRow("249") << 249 << true << "-10.2dB";
    QTest::newRow("300") << 300 << true << "0.0dB";
    QTest::newRow("400 clamped") << 400 << false << "0.0dB";
    QTest::newRow("negative clamped") << -5 << false << "-60.0dB";
}

void TestValueText::levelTexts()
{
    QFETCH(int, code);
    QFETCH(bool, system);
    QFETCH(QString, text);
    QCOMPARE(levelText(code, system), text);
}

void TestValueText::gainTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("120") << 120 << "0.0dB";
    QTest::newRow("0") << 0 << "-24.0dB";
    QTest::newRow("180") << 180 << "12.0dB";
    QTest::newRow("125") << 125 << "1.0dB";
    QTest::newRow("119") << 119 << "-0.2dB";
    QTest::newRow("200 clamped") << 200 << "12.0dB";
}

void TestValueText::gainTexts()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(gainText(code), text);
}

void TestValueText::delayTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("ms");
    QTest::addColumn<QString>("m");
    QTest::addColumn<QString>("ft");
    QTest::newRow("0") << 0 << "0.000ms"
                       << "0.000m"
                       << "0.000ft";
    QTest::newRow("96") << 96 << "0.998ms"
                        << "0.344m"
                        << "1.128ft";
    QTest::newRow("961") << 961 << "9.994ms"
                         << "3.442m"
                         << "11.294ft";
    QTest::newRow("1440") << 1440 << "14.976ms"
                          << "5.158m"
                          << "16.924ft";
    QTest::newRow("2000 clamped") << 2000 << "14.976ms"
                                  << "5.158m"
                                  << "16.924ft";
}

void TestValueText::delayTexts()
{
    QFETCH(int, code);
    QFETCH(QString, ms);
    QFETCH(QString, m);
    QFETCH(QString, ft);
    QCOMPARE(delayMsText(code), ms);
    QCOMPARE(delayMetresText(code), m);
    QCOMPARE(delayFeetText(code), ft);
}

void TestValueText::freqTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortText");
    QTest::newRow("0") << 0 << "19.7Hz"
                       << "19.7Hz";
    QTest::newRow("11") << 11 << "27.0Hz"
                        << "27Hz";
    QTest::newRow("76") << 76 << "179.0Hz"
                        << "179Hz";
    QTest::newRow("136") << 136 << "1000.0Hz"
                         << "1000Hz";
    QTest::newRow("216") << 216 << "10000.0Hz"
                         << "10000Hz";
    QTest::newRow("240") << 240 << "20100.0Hz"
                         << "20100Hz";
    QTest::newRow("250 clamped") << 250 << "21900.0Hz"
                                 << "21900Hz";
}

void TestValueText::freqTexts()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(QString, shortText);
    QCOMPARE(freqText(code), text);
    QCOMPARE(freqShortText(code), shortText);
}

void TestValueText::qTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0.267";
    QTest::newRow("3") << 3 << "0.35";
    QTest::newRow("42") << 42 << "4.072";
    QTest::newRow("54") << 54 << "8.16";
    QTest::newRow("78") << 78 << "92.302";
    QTest::newRow("100 clamped") << 100 << "92.302";
}

void TestValueText::qTexts()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(qText(code), text);
}

void TestValueText::noNegativeZero()
{
    static const QRegularExpression negativeZero(QStringLiteral("^-0(\\.0*)?[a-zA-Z]*$"));
    QStringList texts;
    for (int c = -2; c <= 302; ++c)
        texts << levelText(c, false) << levelText(c, true);
    for (int c = -2; c <= 1442; ++c)
        texts << delayMsText(c) << delayMetresText(c) << delayFeetText(c);
    for (int c = -2; c <= 260; ++c)
        texts << gainText(c) << freqText(c) << freqShortText(c) << qText(c);
    for (double v : {-0.0, -0.04, -0.0004, -0.4})
        texts << fixedText(v, 1) << fixedText(v, 3) << fixedText(v, 0) << shortestText(v * 0);
    for (const QString &t : texts)
        QVERIFY2(!negativeZero.match(t).hasMatch(), qPrintable(t));
    QCOMPARE(fixedText(-0.04, 1), QStringLiteral("0.0"));
    QCOMPARE(fixedText(-0.4, 0), QStringLiteral("0"));
    QCOMPARE(fixedText(-0.06, 1), QStringLiteral("-0.1"));
}

void TestValueText::tableValuesPrintShort()
{
    // The graph writes gains in their shortest form: 0 dB is "0", -0.2 dB is "-0.2".
    static const QRegularExpression oneDecimal(QStringLiteral("^-?\\d+(\\.\\d)?$"));
    for (int c = 0; c <= MaxGainCode; ++c)
        QVERIFY2(oneDecimal.match(shortestText(GainTable[c])).hasMatch(),
                 qPrintable(shortestText(GainTable[c])));
    QCOMPARE(shortestText(GainTable[120]), QStringLiteral("0"));
    QCOMPARE(shortestText(GainTable[119]), QStringLiteral("-0.2"));
    QCOMPARE(shortestText(GainTable[1]), QStringLiteral("-23.8"));
    for (int c = 0; c <= MaxGainCode; ++c)
        QCOMPARE(GainTable[c], (c - 120) / 5.0);
}

void TestValueText::nearestIndex_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("code");
    QTest::newRow("1000 Hz") << 0 << 1000.0 << 136;
    QTest::newRow("1015 Hz tie") << 0 << 1015.0 << 136;
    QTest::newRow("1015.1 Hz") << 0 << 1015.1 << 137;
    QTest::newRow("179 Hz") << 0 << 179.0 << 76;
    QTest::newRow("25000 Hz limited") << 0 << 21900.0 << 243;
    QTest::newRow("25000 Hz") << 0 << 25000.0 << 243;
    QTest::newRow("10 Hz limited") << 0 << 19.7 << 0;
    QTest::newRow("10 Hz") << 0 << 10.0 << 0;
    QTest::newRow("-0.1 dB tie") << 1 << -0.1 << 119;
    QTest::newRow("0.1 dB tie") << 1 << 0.1 << 120;
    QTest::newRow("-0.11 dB") << 1 << -0.11 << 119;
    QTest::newRow("-0.09 dB") << 1 << -0.09 << 120;
    QTest::newRow("-24 dB") << 1 << -24.0 << 0;
    QTest::newRow("12 dB") << 1 << 12.0 << 180;
    QTest::newRow("Q 4.072") << 2 << 4.072 << 42;
    QTest::newRow("Q 100") << 2 << 100.0 << 78;
}

void TestValueText::nearestIndex()
{
    QFETCH(int, table);
    QFETCH(double, value);
    QFETCH(int, code);
    const std::span<const double> t = table == 0   ? std::span<const double>(FreqTable)
                                      : table == 1 ? std::span<const double>(GainTable)
                                                   : std::span<const double>(QTable);
    QCOMPARE(NearestIndex(t, value), code);
}

void TestValueText::levelFromDb_data()
{
    QTest::addColumn<double>("db");
    QTest::addColumn<int>("code");
    QTest::newRow("-10.1") << -10.1 << 249;
    QTest::newRow("5") << 5.0 << 300;
    QTest::newRow("0") << 0.0 << 300;
    QTest::newRow("-75") << -75.0 << 0;
    QTest::newRow("-60") << -60.0 << 0;
    QTest::newRow("-59.6") << -59.6 << 2;
    QTest::newRow("-12.4") << -12.4 << 238;
}

void TestValueText::levelFromDb()
{
    QFETCH(double, db);
    QFETCH(int, code);
    QCOMPARE(levelCodeFromDb(db), code);
}

void TestValueText::shownLevelsParseBack()
{
    for (int code = 0; code <= MaxLevelCode; ++code) {
        QString text = levelText(code, false);
        QVERIFY(text.endsWith(QStringLiteral("dB")));
        text.chop(2);
        double db = 0;
        QVERIFY2(spk::parseNumber(text, &db), qPrintable(text));
        QCOMPARE(levelCodeFromDb(db), code);
    }
}

void TestValueText::delayFromMs_data()
{
    QTest::addColumn<double>("ms");
    QTest::addColumn<int>("code");
    QTest::newRow("10") << 10.0 << 961;
    QTest::newRow("20") << 20.0 << 1440;
    QTest::newRow("14.976") << 14.976 << 1440;
    QTest::newRow("1e300") << 1e300 << 1440;
    QTest::newRow("-1") << -1.0 << 0;
    QTest::newRow("0.0104") << 0.0104 << 1;
}

void TestValueText::delayFromMs()
{
    QFETCH(double, ms);
    QFETCH(int, code);
    QCOMPARE(delayCodeFromMs(ms), code);
}

void TestValueText::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("-0.1") << "-0.1" << true << -0.1;
    QTest::newRow("5") << "5" << true << 5.0;
    QTest::newRow(".5") << ".5" << true << 0.5;
    QTest::newRow("5.") << "5." << true << 5.0;
    QTest::newRow("-.5") << "-.5" << true << -0.5;
    QTest::newRow("007") << "007" << true << 7.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow(".") << "." << false << 0.0;
    QTest::newRow("-") << "-" << false << 0.0;
    QTest::newRow("1000Hz") << "1000Hz" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("1-2") << "1-2" << false << 0.0;
    QTest::newRow("1e3") << "1e3" << false << 0.0;
    QTest::newRow("1,5") << "1,5" << false << 0.0;
    QTest::newRow("+5") << "+5" << false << 0.0;
    QTest::newRow(" 5") << " 5" << false << 0.0;
    QTest::newRow("mute") << "mute" << false << 0.0;
    QTest::newRow("400 digits") << QString(400, u'9') << false << 0.0;
}

void TestValueText::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    double v = 12345;
    QCOMPARE(spk::parseNumber(text, &v), ok);
    QCOMPARE(v, ok ? value : 12345.0);
}

QTEST_GUILESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
