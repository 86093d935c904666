#include "filters/eqcurve.h"
#include "model/tables.h"
#include "unit/filters/analogreference.h"

#include <QtTest>

using namespace spk;

namespace {

using Record = std::array<std::uint8_t, 8>;

Record band(int freq, int type, int gain, int q, int bypass = 0)
{
    return {std::uint8_t(freq),      std::uint8_t(type),          std::uint8_t(gain & 0xFF),
            std::uint8_t(gain >> 8), std::uint8_t(bypass & 0xFF), std::uint8_t(bypass >> 8),
            std::uint8_t(q & 0xFF),  std::uint8_t(q >> 8)};
}

struct Result
{
    EqPoint point;
    Curve curve;
};

Result calc(const Record &r)
{
    Result out;
    CalEqCurve(r, out.point, out.curve);
    return out;
}

bool isFlat(const Curve &c)
{
    if (c.magnitude.size() != 672 || c.phase.size() != 672) return false;
    for (size_t i = 0; i < c.magnitude.size(); ++i) {
        if (c.magnitude[i] != 0.0 || c.phase[i] != 0.0) return false;
    }
    return true;
}

double at(const std::vector<double> &v, int column)
{
    return v[column - FirstCurveColumn];
}

// The graph's dB of a shelf's or peak's full gain g dB.
double graphGain(double g)
{
    return g * 2 * std::log(10.0) / std::log(101.0);
}

long double shelfQ(long double a, long double slope)
{
    return 1 / std::sqrt((a + 1 / a) * (1 / slope - 1) + 2);
}

// Peaking prototype Q from the bandwidth design at w0.
long double peakQ(long double hz, long double graphQ)
{
    const long double w0 = hz * ref::DesignFactor;
    const long double bw = std::asinh(1 / (2 * graphQ)) / 0.34657359L;
    return std::sin(w0) / (2 * std::sin(w0) * std::sinh(0.69314718L * bw * w0 / std::sin(w0)));
}

} // namespace

class TestEqCurve : public QObject
{
    Q_OBJECT

private slots:
    void matchesPrototypes_data();
    void matchesPrototypes();
    void zeroGainIsFlat_data();
    void zeroGainIsFlat();
    void bypassOnlyAtOne_data();
    void bypassOnlyAtOne();
    void graphQTable();
    void shelfDesignFrequencies();
    void allPassKeepsMagnitude();
    void shelfPhaseIsUnwrapped();
    void codesOutsideTables();
};

void TestEqCurve::matchesPrototypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("freq");
    QTest::addColumn<int>("gain");
    QTest::addColumn<int>("q");
    QTest::newRow("PEQ +6 dB 1 kHz Q 1.0") << 0 << 136 << 150 << 4;
    QTest::newRow("PEQ -24 dB 19.7 Hz Q 0.2") << 0 << 0 << 0 << 0;
    QTest::newRow("PEQ +12 dB 21.9 kHz Q 15.8") << 0 << 243 << 180 << 78;
    QTest::newRow("PEQ -3 dB 250 Hz Q 36") << 0 << 88 << 105 << 179;
    QTest::newRow("LS 6dB +12 dB 100 Hz") << 1 << 57 << 180 << 4;
    QTest::newRow("LS 12dB -10 dB 2 kHz") << 2 << 160 << 70 << 4;
    QTest::newRow("HS 6dB +5 dB 1 kHz") << 3 << 136 << 145 << 4;
    QTest::newRow("HS 12dB -24 dB 8 kHz") << 4 << 208 << 0 << 4;
    QTest::newRow("LS 6dB +12 dB 21.9 kHz") << 1 << 243 << 180 << 4;
    QTest::newRow("all-pass 1 kHz Q 1.0") << 5 << 136 << 120 << 4;
    QTest::newRow("all-pass 50 Hz Q 0.2") << 9 << 32 << 0 << 0;
}

void TestEqCurve::matchesPrototypes()
{
    QFETCH(int, type);
    QFETCH(int, freq);
    QFETCH(int, gain);
    QFETCH(int, q);
    const long double hz = FreqTable[freq];
    const long double a = std::pow(10.0L, GainTable[gain] / 40.0L);
    ref::Stage stage;
    switch (type) {
    case 0:
        stage = {hz, ref::peaking(a, peakQ(hz, 0.2L * (q + 1)))};
        break;
    case 1:
        stage = {hz * 2.0L, ref::lowShelf(a, shelfQ(a, 0.5L))};
        break;
    case 2:
        stage = {hz * 1.2727272727L, ref::lowShelf(a, shelfQ(a, 1.3L))};
        break;
    case 3:
        stage = {hz * 0.4545454546L, ref::highShelf(a, shelfQ(a, 0.5L))};
        break;
    case 4:
        stage = {hz * 0.76923076923L, ref::highShelf(a, shelfQ(a, 1.3L))};
        break;
    default:
        stage = {hz, ref::allPass(0.2L * (q + 1))};
        break;
    }
    const Result r = calc(band(freq, type, gain, q));
    for (int x = FirstCurveColumn; x <= 713; ++x) {
        const ref::Complex h = ref::evaluate({stage}, x);
        if (std::fabs(at(r.curve.magnitude, x) - ref::graphDb(h)) > 1e-6)
            QFAIL(qPrintable(QString("column %1: %2 dB, expected %3")
                                 .arg(x)
                                 .arg(at(r.curve.magnitude, x))
                                 .arg(double(ref::graphDb(h)))));
        const long double turns = (at(r.curve.phase, x) - std::arg(h)) / ref::Pi;
        if (std::fabs(turns - std::round(turns)) > 1e-6)
            QFAIL(qPrintable(QString("column %1: phase %2").arg(x).arg(at(r.curve.phase, x))));
    }
    QCOMPARE(r.point.x, FreqToPixelX(FreqTable[freq]));
    QCOMPARE(r.point.y, type < 5 ? DbToPixelY(GainTable[gain]) : 66);
}

void TestEqCurve::zeroGainIsFlat_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("freq");
    QTest::addColumn<int>("q");
    for (int type = 0; type < 5; ++type) {
        QTest::addRow("%s low", EqTypeNames[type]) << type << 0 << 0;
        QTest::addRow("%s mid", EqTypeNames[type]) << type << 136 << 42;
        QTest::addRow("%s top", EqTypeNames[type]) << type << 243 << 78;
    }
}

void TestEqCurve::zeroGainIsFlat()
{
    QFETCH(int, type);
    QFETCH(int, freq);
    QFETCH(int, q);
    const Result r = calc(band(freq, type, 120, q));
    QVERIFY(isFlat(r.curve));
    QCOMPARE(r.point.y, 66);
}

void TestEqCurve::bypassOnlyAtOne_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("bypass");
    QTest::addColumn<bool>("flat");
    for (int type : {0, 1, 4}) {
        QTest::addRow("%s active", EqTypeNames[type]) << type << 0 << false;
        QTest::addRow("%s bypassed", EqTypeNames[type]) << type << 1 << true;
        QTest::addRow("%s value 2", EqTypeNames[type]) << type << 2 << false;
        QTest::addRow("%s value 257", EqTypeNames[type]) << type << 257 << false;
        QTest::addRow("%s value 256", EqTypeNames[type]) << type << 256 << false;
    }
    QTest::newRow("all-pass bypassed") << 5 << 1 << true;
    QTest::newRow("all-pass value 2") << 5 << 2 << false;
}

void TestEqCurve::bypassOnlyAtOne()
{
    QFETCH(int, type);
    QFETCH(int, bypass);
    QFETCH(bool, flat);
    const Result r = calc(band(136, type, 180, 4, bypass));
    QCOMPARE(isFlat(r.curve), flat);
    // The point keeps showing the stored gain, bypassed or not.
    QCOMPARE(r.point.y, type < 5 ? 26 : 66);
    QCOMPARE(r.point.x, 430);
}

void TestEqCurve::graphQTable()
{
    QCOMPARE(GraphQ.size(), size_t(180));
    QCOMPARE(GraphQ[0], 0.2);
    QCOMPARE(GraphQ[4], 1.0);
    QCOMPARE(GraphQ[78], 15.8);
    QCOMPARE(GraphQ[179], 36.0);
    QCOMPARE(clampGraphQCode(500), 179);
    QCOMPARE(clampGraphQCode(-1), 0);
    // Bandwidth of Q 1.0 in octaves, as the peaking design uses it.
    QVERIFY(std::fabs(std::asinh(0.5) / 0.34657359 - 1.3885) < 1e-4);
}

// A shelf reaches half its gain at its design frequency.
void TestEqCurve::shelfDesignFrequencies()
{
    const auto column = [](double hz) { return FreqToPixelX(hz) + 1; }; // nearest column above
    const Result ls = calc(band(136, 1, 180, 4));                       // LS 6dB at 1000 Hz, +12 dB
    QVERIFY(std::fabs(at(ls.curve.magnitude, column(2000)) - graphGain(6)) < 0.1);
    QVERIFY(at(ls.curve.magnitude, column(1000)) > graphGain(9));
    const Result hs = calc(band(136, 3, 180, 4)); // HS 6dB at 1000 Hz, designed at about 454.5 Hz
    QVERIFY(std::fabs(at(hs.curve.magnitude, column(454.5)) - graphGain(6)) < 0.1);
    QVERIFY(at(hs.curve.magnitude, column(1000)) > graphGain(9));
    // The Q code plays no part in a shelf.
    QCOMPARE(calc(band(136, 2, 150, 0)).curve.magnitude, calc(band(136, 2, 150, 78)).curve.magnitude);
}

void TestEqCurve::allPassKeepsMagnitude()
{
    const Result r = calc(band(136, 5, 180, 4));
    double maxDb = 0, maxPhase = 0;
    for (int i = 0; i < 672; ++i) {
        maxDb = std::max(maxDb, std::fabs(r.curve.magnitude[i]));
        maxPhase = std::max(maxPhase, std::fabs(r.curve.phase[i]));
    }
    QVERIFY(maxDb < 1e-9);
    QVERIFY(maxPhase > 1.0);
    QCOMPARE(r.point, (EqPoint{430, 66}));
    // Every type from 5 up is the all-pass.
    QCOMPARE(calc(band(136, 255, 180, 4)).curve.phase, r.curve.phase);
}

// Each shelf unwraps against its own previous columns only: the same band gives the same phase whatever
// was computed before it.
void TestEqCurve::shelfPhaseIsUnwrapped()
{
    for (int type = 1; type <= 4; ++type) {
        for (int freq : {0, 136, 243}) {
            for (int gain : {0, 180}) {
                const Result r = calc(band(freq, type, gain, 4));
                for (int i = 1; i < 672; ++i) {
                    const double turns = (r.curve.phase[i] - r.curve.phase[i - 1]) / (2 * M_PI);
                    QVERIFY2(std::fabs(turns - std::round(turns)) * 2 * M_PI < 0.5,
                             qPrintable(QString("type %1 freq %2 gain %3 column %4")
                                            .arg(type)
                                            .arg(freq)
                                            .arg(gain)
                                            .arg(i + 42)));
                }
                calc(band(200 - freq / 2, 5 - type, 180 - gain, 4)); // another shelf in between
                QCOMPARE(calc(band(freq, type, gain, 4)).curve.phase, r.curve.phase);
            }
        }
    }
}

void TestEqCurve::codesOutsideTables()
{
    const Result top = calc(band(243, 0, 180, 10));
    const Result freq250 = calc(band(250, 0, 180, 10));
    QCOMPARE(freq250.curve.magnitude, top.curve.magnitude);
    QCOMPARE(freq250.point, (EqPoint{689, 26}));
    const Result gain200 = calc(band(243, 0, 200, 10));
    QCOMPARE(gain200.curve.magnitude, top.curve.magnitude);
    QCOMPARE(gain200.point.y, 26);
    QCOMPARE(calc(band(243, 0, 0xFFFF, 10)).curve.magnitude, top.curve.magnitude);
    // Q codes past GraphQ use its last entry.
    QCOMPARE(calc(band(100, 0, 150, 0xFFFF)).curve.magnitude, calc(band(100, 0, 150, 179)).curve.magnitude);
    QVERIFY(calc(band(100, 0, 150, 179)).curve.magnitude != calc(band(100, 0, 150, 78)).curve.magnitude);
}

QTEST_GUILESS_MAIN(TestEqCurve)
#include "tst_eqcurve.moc"
