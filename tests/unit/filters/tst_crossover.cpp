#include "filters/crossovercurve.h"
#include "model/tables.h"
#include "unit/filters/analogreference.h"

#include <QtTest>

using namespace spk;

namespace {

constexpr int Columns = 672;
constexpr int ColumnOf1kHz = 430; // 999.7 Hz

int indexOf(int column)
{
    return column - FirstCurveColumn;
}

// Every alignment as cascaded prototypes, from the section Q values of the crossover table.
std::vector<ref::Stage> hpfStages(long double hz, int type)
{
    using namespace ref;
    switch (type) {
    case 0:
        return {{hz, highPass2(0.71L)}};
    case 1:
        return {{hz, highPass2(0.5L)}};
    case 2:
        return {{hz / 1.2683112435L, highPass2(0.58L)}};
    case 3:
        return {{hz, highPass1(1.0L)}, {hz, highPass2(1.0L)}};
    case 4:
        return {{hz, highPass1(1.0L)}, {hz, highPass2(0.71L)}};
    case 5:
        return {{hz / 1.2854981442L, highPass1(0.756L)}, {hz / 1.2854981442L, highPass2(0.69L)}};
    case 6:
        return {{hz, highPass2(0.54L)}, {hz, highPass2(1.31L)}};
    case 7:
        return {{hz, highPass2(0.71L)}, {hz, highPass2(0.71L)}};
    case 8:
        return {{hz / 1.5006420029L, highPass2(0.52L)}, {hz / 1.5006420029L, highPass2(0.81L)}};
    case 9:
        return {{hz, highPass2(0.51L)}, {hz, highPass2(0.6L)}, {hz, highPass2(0.9L)}, {hz, highPass2(2.56L)}};
    case 10:
        return {
            {hz, highPass2(0.54L)}, {hz, highPass2(1.34L)}, {hz, highPass2(0.54L)}, {hz, highPass2(1.34L)}};
    default: {
        const long double f = hz / 1.679120141L;
        return {{f, highPass2(0.51L)}, {f, highPass2(0.56L)}, {f, highPass2(0.71L)}, {f, highPass2(1.23L)}};
    }
    }
}

std::vector<ref::Stage> lpfStages(long double hz, int type)
{
    using namespace ref;
    switch (type) {
    case 0:
        return {{hz, lowPass2(0.71L)}};
    case 1:
        return {{hz, lowPass2(0.5L)}};
    case 2:
        return {{hz / 1.3616541287L, besselSection(1.0L, 0.3333333333L)}};
    case 3:
        return {{hz, lowPass1(1.0L)}, {hz, lowPass2(1.0L)}};
    case 4:
        return {{hz, lowPass1(1.0L)}, {hz, lowPass2(0.71L)}};
    case 5: {
        const long double f = hz / 1.75567236868L;
        return {{f, besselSection(0.5693712514L, 0.154812441L)}, {f, besselSection(0.430628846L, 0)}};
    }
    case 6:
        return {{hz, lowPass2(0.54L)}, {hz, lowPass2(1.31L)}};
    case 7:
        return {{hz, lowPass2(0.71L)}, {hz, lowPass2(0.71L)}};
    case 8: {
        const long double f = hz / 2.1139176749L;
        return {{f, besselSection(0.369L, 0.087858766L)}, {f, besselSection(0.6278294896L, 0.109408L)}};
    }
    case 9:
        return {{hz, lowPass2(0.51L)}, {hz, lowPass2(0.6L)}, {hz, lowPass2(0.9L)}, {hz, lowPass2(2.56L)}};
    case 10:
        return {{hz, lowPass2(0.54L)}, {hz, lowPass2(1.34L)}, {hz, lowPass2(0.54L)}, {hz, lowPass2(1.34L)}};
    default: {
        const long double f = hz / 3.17961723751L;
        return {{f, besselSection(0.117235677L, 0.02064747L)},
                {f, besselSection(0.226516664L, 0.0259273886L)},
                {f, besselSection(0.3067559L, 0.0294683265L)},
                {f, besselSection(0.3494916166L, 0.031272257L)}};
    }
    }
}

bool isFlat(const Curve &c)
{
    for (int i = 0; i < Columns; ++i) {
        if (c.magnitude[i] != 0.0 || c.phase[i] != 0.0) return false;
    }
    return true;
}

// Distance of x from the nearest whole multiple of pi.
double offWholePi(long double x)
{
    const long double turns = x / ref::Pi;
    return double(std::fabs(turns - std::round(turns)) * ref::Pi);
}

} // namespace

class TestCrossover : public QObject
{
    Q_OBJECT

private slots:
    void matchesPrototypes_data();
    void matchesPrototypes();
    void flatHighPassAtCodeZero();
    void flatLowPassAtTopCodes();
    void linkwitzRiley12();
    void eighteenDbTypesShareFirstSection();
    void besselHighAndLowAreNotMirrors();
    void typeAboveElevenIsBessel48();
    void frequencyCodeAbove243();
    void phaseIsFolded();
    void phaseHasNoHalfTurnJumps();
    void writesOneValuePerColumn();
};

void TestCrossover::matchesPrototypes_data()
{
    QTest::addColumn<bool>("highPass");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("type");
    for (int type = 0; type < 12; ++type) {
        for (int code : {12, 136, 215}) {
            const QByteArray name =
                QByteArray(CrossoverTypeNames[type]) + " @" + QByteArray::number(FreqTable[code]);
            QTest::newRow(("hpf " + name).constData()) << true << code << type;
            QTest::newRow(("lpf " + name).constData()) << false << code << type;
        }
    }
}

// Magnitude to 1e-6 dB at every column; phase equal to the stages' phases up to whole half turns,
// which is all that plain arctangents, unwrapping and folding may change.
void TestCrossover::matchesPrototypes()
{
    QFETCH(bool, highPass);
    QFETCH(int, code);
    QFETCH(int, type);
    Curve c;
    const auto stages = highPass ? hpfStages(FreqTable[code], type) : lpfStages(FreqTable[code], type);
    highPass ? CalHpfCurve(code, type, c) : CalLpfCurve(code, type, c);
    QCOMPARE(int(c.magnitude.size()), Columns);
    for (int x = FirstCurveColumn; x <= 713; ++x) {
        const long double db = ref::graphDb(ref::evaluate(stages, x));
        if (std::fabs(c.magnitude[indexOf(x)] - db) > 1e-6)
            QFAIL(qPrintable(QString("column %1: %2 dB, expected %3")
                                 .arg(x)
                                 .arg(c.magnitude[indexOf(x)])
                                 .arg(double(db))));
        if (offWholePi(c.phase[indexOf(x)] - ref::stagePhaseSum(stages, x)) > 1e-6)
            QFAIL(qPrintable(QString("column %1: phase %2").arg(x).arg(c.phase[indexOf(x)])));
    }
}

void TestCrossover::flatHighPassAtCodeZero()
{
    Curve c;
    for (int type = 0; type < 12; ++type) {
        CalHpfCurve(0, type, c);
        QVERIFY2(isFlat(c), CrossoverTypeNames[type]);
    }
}

void TestCrossover::flatLowPassAtTopCodes()
{
    Curve c;
    for (int code = 240; code <= 243; ++code) {
        for (int type = 0; type < 12; ++type) {
            CalLpfCurve(code, type, c);
            QVERIFY2(isFlat(c), qPrintable(QString("code %1 type %2").arg(code).arg(type)));
        }
    }
    CalLpfCurve(239, 0, c);
    QVERIFY(!isFlat(c));
}

void TestCrossover::linkwitzRiley12()
{
    Curve hp, lp;
    CalHpfCurve(136, 1, hp);
    CalLpfCurve(136, 1, lp);
    const int i = indexOf(ColumnOf1kHz);
    QVERIFY(std::fabs(hp.magnitude[i] + 6.0) < 0.05);
    QVERIFY(std::fabs(lp.magnitude[i] + 6.0) < 0.05);
    // A second-order high-pass leads by a quarter turn at its frequency; that needs the added half turn.
    QVERIFY(std::fabs(hp.phase[i] - M_PI / 2) < 0.01);
    QVERIFY(std::fabs(lp.phase[i] + M_PI / 2) < 0.01);
}

void TestCrossover::eighteenDbTypesShareFirstSection()
{
    for (bool highPass : {true, false}) {
        Curve bw, lr;
        highPass ? CalHpfCurve(100, 3, bw) : CalLpfCurve(100, 3, bw);
        highPass ? CalHpfCurve(100, 4, lr) : CalLpfCurve(100, 4, lr);
        const long double hz = FreqTable[100];
        const auto q10 = highPass ? ref::highPass2(1.0L) : ref::lowPass2(1.0L);
        const auto q071 = highPass ? ref::highPass2(0.71L) : ref::lowPass2(0.71L);
        for (int x = FirstCurveColumn; x <= 713; x += 7) {
            const long double second =
                ref::graphDb(ref::evaluate({{hz, q10}}, x)) - ref::graphDb(ref::evaluate({{hz, q071}}, x));
            QVERIFY(std::fabs(bw.magnitude[indexOf(x)] - lr.magnitude[indexOf(x)] - second) < 1e-6);
        }
    }
}

// The high-pass Bessel types are damped sections at the table frequency over one set of divisors, the
// low-pass ones polynomial prototypes over another, so reflecting one about the crossover frequency
// does not give the other, unlike the Butterworth types of the same order.
void TestCrossover::besselHighAndLowAreNotMirrors()
{
    const int code = 60; // 111 Hz: low enough that the bilinear warping hardly bends the mirror
    const int centre = FreqToPixelX(FreqTable[code]);
    const auto asymmetry = [&](int type) {
        Curve hp, lp;
        CalHpfCurve(code, type, hp);
        CalLpfCurve(code, type, lp);
        double worst = 0;
        for (int k = 1; k <= 175; ++k)
            worst = std::max(
                worst, std::fabs(hp.magnitude[indexOf(centre - k)] - lp.magnitude[indexOf(centre + k)]));
        return worst;
    };
    QVERIFY(asymmetry(6) < 0.3);
    QVERIFY(asymmetry(9) < 0.3);
    QVERIFY(asymmetry(8) > asymmetry(6) + 0.25);
    QVERIFY(asymmetry(11) > asymmetry(9) + 5.0);
}

void TestCrossover::typeAboveElevenIsBessel48()
{
    Curve expectedHp, expectedLp, c;
    CalHpfCurve(120, 11, expectedHp);
    CalLpfCurve(120, 11, expectedLp);
    for (int type : {12, 13, 200, 255}) {
        CalHpfCurve(120, type, c);
        QCOMPARE(c.magnitude, expectedHp.magnitude);
        QCOMPARE(c.phase, expectedHp.phase);
        CalLpfCurve(120, type, c);
        QCOMPARE(c.magnitude, expectedLp.magnitude);
    }
}

void TestCrossover::frequencyCodeAbove243()
{
    Curve expected, c;
    CalHpfCurve(243, 7, expected);
    for (int code : {244, 250, 255, 100000}) {
        CalHpfCurve(code, 7, c);
        QCOMPARE(c.magnitude, expected.magnitude);
        CalLpfCurve(code, 7, c);
        QVERIFY(isFlat(c));
    }
    CalHpfCurve(-5, 7, c); // held at code 0
    QVERIFY(isFlat(c));
}

void TestCrossover::phaseIsFolded()
{
    Curve c;
    for (int type = 0; type < 12; ++type) {
        for (int code : {0, 60, 136, 220}) {
            CalHpfCurve(code, type, c);
            for (double p : c.phase)
                QVERIFY(std::fabs(p) <= M_PI + 1e-12);
            CalLpfCurve(code, type, c);
            for (double p : c.phase)
                QVERIFY(std::fabs(p) <= M_PI + 1e-12);
        }
    }
}

// Plain arctangents jump by half a turn; the per-section unwrapping takes those out, and the folding
// only ever moves the total by whole turns.
void TestCrossover::phaseHasNoHalfTurnJumps()
{
    Curve c;
    for (int type = 0; type < 12; ++type) {
        for (int code : {30, 136, 230}) {
            for (bool highPass : {true, false}) {
                highPass ? CalHpfCurve(code, type, c) : CalLpfCurve(code, type, c);
                for (int i = 1; i < Columns; ++i) {
                    const double step = c.phase[i] - c.phase[i - 1];
                    const double turns = step / (2 * M_PI);
                    if (std::fabs(turns - std::round(turns)) * 2 * M_PI > 0.5)
                        QFAIL(qPrintable(QString("%1 type %2 code %3: jump %4 at column %5")
                                             .arg(highPass ? "hpf" : "lpf")
                                             .arg(type)
                                             .arg(code)
                                             .arg(step)
                                             .arg(i + FirstCurveColumn)));
                }
            }
        }
    }
}

void TestCrossover::writesOneValuePerColumn()
{
    Curve c;
    c.magnitude.assign(1063, 99.0);
    CalLpfCurve(100, 0, c);
    QCOMPARE(int(c.magnitude.size()), Columns);
    QCOMPARE(int(c.phase.size()), Columns);

    const FrequencyGrid narrow(GraphGeometry{48, 188});
    CalHpfCurve(100, 0, c, narrow);
    QCOMPARE(int(c.magnitude.size()), 0); // width - 7 is left of the first column: nothing to draw
}

QTEST_GUILESS_MAIN(TestCrossover)
#include "tst_crossover.moc"
