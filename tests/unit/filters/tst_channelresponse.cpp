#include "filters/channelresponse.h"
#include "model/paramimage.h"

#include <QtTest>

using namespace spk;

class TestChannelResponse : public QObject
{
    Q_OBJECT

private slots:
    void geometry();
    void conversions_data();
    void conversions();
    void columnFrequencies();
    void defaultImageIsFlat();
    void sumsAllCurves();
    void oneBandUpdatesTotal();
    void readsItsOwnChannel_data();
    void readsItsOwnChannel();
};

void TestChannelResponse::geometry()
{
    const GraphGeometry g;
    QCOMPARE(g.PlotLeftPad(), 60);
    QCOMPARE(g.PlotRightPad(), 33);
    QCOMPARE(g.plotSpan(), 581);
    QCOMPARE(g.lastCurveColumn(), 713);
    QCOMPARE(g.curveColumnCount(), 672);
    QCOMPARE(g.bottomRow(), 164);
    QCOMPARE(FrequencyGrid::standard().count(), 672);
    QCOMPARE(truncToInt(std::nan("")), 0);
    QCOMPARE(truncToInt(-2.7), -2);
    QCOMPARE(truncToInt(1e300), 1000000000);
}

void TestChannelResponse::conversions_data()
{
    QTest::addColumn<double>("hz");
    QTest::addColumn<int>("x");
    QTest::newRow("19.7 Hz") << 19.7 << 99;
    QTest::newRow("20 Hz") << 20.0 << 101;
    QTest::newRow("1000 Hz") << 1000.0 << 430;
    QTest::newRow("20 kHz") << 20000.0 << 682;
    QTest::newRow("21.9 kHz") << 21900.0 << 689;
}

void TestChannelResponse::conversions()
{
    QFETCH(double, hz);
    QFETCH(int, x);
    QCOMPARE(FreqToPixelX(hz), x);
    QCOMPARE(DbToPixelY(12), 26);
    QCOMPARE(DbToPixelY(0), 66);
    QCOMPARE(DbToPixelY(-24), 146);
    QCOMPARE(PixelYToDb(66), 0.0);
    QCOMPARE(PixelYToDb(26), 12.0);
    QCOMPARE(PixelYToDb(67), -0.3);
    QVERIFY(FreqToPixelX(0) < 0); // no overflow for nonsense input
}

void TestChannelResponse::columnFrequencies()
{
    const FrequencyGrid &grid = FrequencyGrid::standard();
    QCOMPARE(double(grid.hz(101 - FirstCurveColumn)), 20.0);
    QVERIFY(std::fabs(grid.hz(682 - FirstCurveColumn) - 20000.0L) < 1e-9L);
    QVERIFY(std::fabs(grid.hz(0) - 9.92L) < 0.01L);
    QVERIFY(std::fabs(grid.hz(671) - 28913.4L) < 0.1L);
    QCOMPARE(PixelXToFreq(101), 20.0);
    QVERIFY(std::fabs(PixelXToFreq(682) - 20000.0) < 1e-9);
}

void TestChannelResponse::defaultImageIsFlat()
{
    ParamImage image;
    image.initDefaults();
    ChannelResponse r;
    r.computeAll(image);
    QCOMPARE(int(r.total().magnitude.size()), 672);
    for (int i = 0; i < 672; ++i) {
        QCOMPARE(r.total().magnitude[i], 0.0);
        QCOMPARE(r.total().phase[i], 0.0);
    }
    const int xs[BandCount] = {99, 124, 148, 172, 196, 221, 245, 269, 293, 318};
    for (int b = 0; b < BandCount; ++b)
        QCOMPARE(r.point(b), (EqPoint{xs[b], 66}));
}

void TestChannelResponse::sumsAllCurves()
{
    ParamImage image;
    image.initDefaults();
    image.setByte(1, CrossoverByte::HpfFreq, 60);
    image.setByte(1, CrossoverByte::HpfType, 7);
    image.setByte(1, CrossoverByte::LpfFreq, 200);
    image.setByte(1, CrossoverByte::LpfType, 2);
    for (int b = 0; b < BandCount; ++b) {
        image.setByte(bandRecord(Ip0, b), BandByte::Type, b % 6);
        image.setWord(bandRecord(Ip0, b), BandByte::Gain, 100 + 7 * b);
    }
    ChannelResponse r;
    r.computeAll(image);
    for (int i = 0; i < 672; i += 13) {
        double mag = r.hpf().magnitude[i] + r.lpf().magnitude[i];
        double phase = r.hpf().phase[i] + r.lpf().phase[i];
        for (int b = 0; b < BandCount; ++b) {
            mag += r.band(b).magnitude[i];
            phase += r.band(b).phase[i];
        }
        QCOMPARE(r.total().magnitude[i], mag);
        QCOMPARE(r.total().phase[i], phase);
    }
    QVERIFY(r.band(5).phase != r.band(0).phase); // all-pass band is in there
}

// Recomputing one curve must leave the total exactly as a full recompute would.
void TestChannelResponse::oneBandUpdatesTotal()
{
    ParamImage image;
    image.initDefaults();
    ChannelResponse incremental;
    incremental.computeAll(image);

    image.setWord(bandRecord(Ip0, 3), BandByte::Gain, 170);
    incremental.computeBand(image, 3);
    image.setByte(1, CrossoverByte::HpfFreq, 90);
    incremental.computeHpf(image);
    image.setByte(1, CrossoverByte::LpfFreq, 180);
    incremental.computeLpf(image);

    ChannelResponse full;
    full.computeAll(image);
    QCOMPARE(incremental.total().magnitude, full.total().magnitude);
    QCOMPARE(incremental.total().phase, full.total().phase);
    QCOMPARE(incremental.points(), full.points());
    QCOMPARE(incremental.point(3).y, DbToPixelY(10.0));

    incremental.setBand(BandCount, image.record(2)); // out of range: ignored
    QCOMPARE(incremental.total().magnitude, full.total().magnitude);
}

void TestChannelResponse::readsItsOwnChannel_data()
{
    QTest::addColumn<int>("channel");
    QTest::newRow("ip0") << int(Ip0);
    QTest::newRow("op0") << int(Op0);
    QTest::newRow("op1") << int(Op1);
    QTest::newRow("op2") << int(Op2);
}

void TestChannelResponse::readsItsOwnChannel()
{
    QFETCH(int, channel);
    ParamImage image;
    image.initDefaults();
    image.setWord(bandRecord(channel, 9), BandByte::Gain, 170);
    image.setByte(crossoverRecord(channel), CrossoverByte::HpfFreq, 100);
    for (int c = 0; c < ChannelCount; ++c) {
        ChannelResponse r(c);
        r.computeAll(image);
        const bool mine = c == channel;
        QCOMPARE(r.point(9).y, mine ? DbToPixelY(10.0) : 66);
        QCOMPARE(r.hpf().magnitude[0] < -10, mine);
    }
}

QTEST_GUILESS_MAIN(TestChannelResponse)
#include "tst_channelresponse.moc"
