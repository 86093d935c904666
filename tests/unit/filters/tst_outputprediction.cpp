// The predicted output responses against an evaluation of their own: each output as complex numbers
// per column, from the channel curves and the level record's bytes decoded here.
#include "filters/channelresponse.h"
#include "filters/outputprediction.h"
#include "model/paramimage.h"

#include <QtTest>

#include <algorithm>
#include <complex>
#include <functional>
#include <numbers>

using namespace spk;

namespace {

using Complex = std::complex<long double>;
using Edit = std::function<void(ParamImage &)>;

std::array<ChannelResponse, ChannelCount> responsesOf(const ParamImage &image)
{
    std::array<ChannelResponse, ChannelCount> r{ChannelResponse(Ip0), ChannelResponse(Op0),
                                                ChannelResponse(Op1), ChannelResponse(Op2)};
    for (ChannelResponse &c : r)
        c.computeAll(image);
    return r;
}

// Output c at column i: both channels' dB and phase added, then level, polarity and delay.
Complex reference(const ParamImage &image, const std::array<ChannelResponse, ChannelCount> &r, int c, int i)
{
    const int rec = levelRecord(c);
    if (image.byte(rec, 0) != 0) return 0; // muted
    const long double levelDb = std::min(image.word(rec, 2), 300) / 5.0L - 60.0L;
    const long double tau = std::min(image.word(rec, 4), 1440) * 0.0104L / 1000.0L;
    const long double f = FrequencyGrid::standard().hz(i);
    const long double db = r[Ip0].total().magnitude[i] + r[c].total().magnitude[i] + levelDb;
    const long double phase =
        r[Ip0].total().phase[i] + r[c].total().phase[i] - 2 * std::numbers::pi_v<long double> * f * tau;
    const Complex h = std::polar(std::pow(10.0L, db / 20), phase);
    return image.byte(rec, 1) != 0 ? -h : h;
}

void setLevel(ParamImage &m, int c, int mute, int pol, int level, int delay)
{
    m.setByte(levelRecord(c), LevelByte::Mute, mute);
    m.setByte(levelRecord(c), LevelByte::Polarity, pol);
    m.setWord(levelRecord(c), LevelByte::Level, level);
    m.setWord(levelRecord(c), LevelByte::Delay, delay);
}

// A satellite/subwoofer pair crossed at 99.2 Hz (24db-LR), a system EQ band and crossover.
void crossoverPair(ParamImage &m)
{
    m.initDefaults();
    m.setByte(crossoverRecord(Ip0), CrossoverByte::HpfFreq, 20);
    m.setByte(crossoverRecord(Ip0), CrossoverByte::HpfType, 6);
    m.setWord(bandRecord(Ip0, 5), BandByte::Gain, 150);
    m.setByte(crossoverRecord(Op0), CrossoverByte::HpfFreq, 56);
    m.setByte(crossoverRecord(Op0), CrossoverByte::HpfType, 7);
    m.setByte(crossoverRecord(Op2), CrossoverByte::LpfFreq, 56);
    m.setByte(crossoverRecord(Op2), CrossoverByte::LpfType, 7);
    m.setWord(bandRecord(Op2, 2), BandByte::Gain, 90);
    setLevel(m, Op0, 0, 0, 300, 0);
    setLevel(m, Op2, 0, 0, 285, 0);
}

} // namespace

class TestOutputPrediction : public QObject
{
    Q_OBJECT

private slots:
    void matchesIndependentEvaluation_data();
    void matchesIndependentEvaluation();
    void recomputesOnlyWhatChanged();
};

void TestOutputPrediction::matchesIndependentEvaluation_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::newRow("default image") << Edit([](ParamImage &m) { m.initDefaults(); });
    QTest::newRow("crossover pair") << Edit(crossoverPair);
    QTest::newRow("polarity inverted") << Edit([](ParamImage &m) {
        crossoverPair(m);
        m.setByte(levelRecord(Op2), LevelByte::Polarity, 1);
    });
    QTest::newRow("satellite muted") << Edit([](ParamImage &m) {
        crossoverPair(m);
        m.setByte(levelRecord(Op0), LevelByte::Mute, 1);
    });
    QTest::newRow("both muted") << Edit([](ParamImage &m) {
        crossoverPair(m);
        m.setByte(levelRecord(Op0), LevelByte::Mute, 1);
        m.setByte(levelRecord(Op2), LevelByte::Mute, 2);
    });
    QTest::newRow("delays") << Edit([](ParamImage &m) {
        crossoverPair(m);
        m.setWord(levelRecord(Op0), LevelByte::Delay, 96);
        m.setWord(levelRecord(Op2), LevelByte::Delay, 1440);
    });
    QTest::newRow("all-zero records") << Edit([](ParamImage &) {});
    QTest::newRow("all-zero, opposite polarity") << Edit([](ParamImage &m) {
        m.setByte(levelRecord(Op2), LevelByte::Polarity, 1); // the outputs cancel exactly
    });
    QTest::newRow("out-of-table codes") << Edit([](ParamImage &m) {
        crossoverPair(m);
        setLevel(m, Op0, 0, 7, 400, 2000); // level 0.0 dB, 14.976 ms, polarity byte 7 inverts
        setLevel(m, Op2, 0, 0, 65535, 65535);
        m.setByte(crossoverRecord(Op2), CrossoverByte::LpfFreq, 250);
        m.setByte(crossoverRecord(Op2), CrossoverByte::HpfType, 200);
        m.setByte(bandRecord(Op0, 4), BandByte::Freq, 255);
        m.setWord(bandRecord(Op0, 4), BandByte::Gain, 999);
        m.setWord(bandRecord(Op0, 4), BandByte::Q, 500);
    });
}

void TestOutputPrediction::matchesIndependentEvaluation()
{
    QFETCH(Edit, edit);
    ParamImage image;
    edit(image);
    const auto responses = responsesOf(image);
    OutputPrediction prediction(true);
    prediction.update(image, responses);

    const int n = FrequencyGrid::standard().count();
    const auto matches = [](const Curve &curve, int i, Complex ref) {
        const long double db = 20 * std::log10(std::abs(ref));
        const long double turn = std::arg(ref * std::polar(1.0L, -(long double)curve.phase[i]));
        return std::isfinite(curve.magnitude[i]) && std::fabs(curve.magnitude[i] - db) < 1e-6L &&
               std::fabs(turn) < 1e-6L && std::fabs(curve.phase[i]) <= std::numbers::pi;
    };
    for (int c : {Op0, Op1, Op2}) {
        const Curve *curve = prediction.output(c);
        QCOMPARE(curve == nullptr, image.byte(levelRecord(c), LevelByte::Mute) != 0);
        for (int i = 0; curve && i < n; ++i)
            QVERIFY2(matches(*curve, i, reference(image, responses, c, i)),
                     qPrintable(QStringLiteral("channel %1 column %2").arg(c).arg(i)));
    }
    const Curve *sum = prediction.sum();
    QCOMPARE(sum == nullptr, !prediction.output(Op0) && !prediction.output(Op2));
    for (int i = 0; sum && i < n; ++i) {
        const Complex sat = reference(image, responses, Op0, i);
        const Complex sub = reference(image, responses, Op2, i);
        const long double parts = std::abs(sat) + std::abs(sub);
        if (std::abs(sat + sub) > 1e-9L * parts) {
            QVERIFY2(matches(*sum, i, sat + sub), qPrintable(QStringLiteral("sum column %1").arg(i)));
        } else { // cancelled beyond the arithmetic's precision: finite and far below either output
            QVERIFY(std::isfinite(sum->magnitude[i]) && std::isfinite(sum->phase[i]));
            QVERIFY(sum->magnitude[i] < 20 * std::log10(parts) - 150);
        }
    }
}

void TestOutputPrediction::recomputesOnlyWhatChanged()
{
    ParamImage image;
    crossoverPair(image);
    auto responses = responsesOf(image);
    OutputPrediction graphs; // as the graph keeps it: no third output
    graphs.update(image, responses);
    QCOMPARE(graphs.lastRecomputed(), 3);
    QVERIFY(!graphs.output(Op1) && graphs.output(Op0) && graphs.output(Op2));
    OutputPrediction incremental(true);
    incremental.update(image, responses);
    QCOMPARE(incremental.lastRecomputed(), 4); // three outputs and the sum
    incremental.update(image, responses);
    QCOMPARE(incremental.lastRecomputed(), 0);

    const struct
    {
        Edit edit;
        int channel; // whose curves to recompute; -1 none
        int recomputed;
    } steps[] = {
        {[](ParamImage &m) { m.setWord(levelRecord(Op2), LevelByte::Level, 250); }, -1, 2},
        {[](ParamImage &m) { m.setByte(levelRecord(Op0), LevelByte::Polarity, 1); }, -1, 2},
        {[](ParamImage &m) { m.setWord(levelRecord(Op0), LevelByte::Delay, 500); }, -1, 2},
        {[](ParamImage &m) { m.setWord(bandRecord(Op1, 3), BandByte::Gain, 170); }, Op1, 1},
        {[](ParamImage &m) { m.setWord(bandRecord(Op2, 3), BandByte::Gain, 30); }, Op2, 2},
        {[](ParamImage &m) { m.setByte(crossoverRecord(Ip0), CrossoverByte::LpfFreq, 200); }, Ip0, 4},
        {[](ParamImage &m) { m.setByte(levelRecord(Op2), LevelByte::Mute, 1); }, -1, 2},
        {[](ParamImage &m) { m.setByte(levelRecord(Op2), LevelByte::Mute, 0); }, -1, 2},
    };
    for (const auto &step : steps) {
        step.edit(image);
        if (step.channel >= 0) responses[step.channel].computeAll(image);
        incremental.update(image, responses);
        QCOMPARE(incremental.lastRecomputed(), step.recomputed);
    }
    // The same curves as a prediction made from scratch.
    const auto fresh = responsesOf(image);
    OutputPrediction full(true);
    full.update(image, fresh);
    for (int c : {Op0, Op1, Op2}) {
        QCOMPARE(incremental.output(c)->magnitude, full.output(c)->magnitude);
        QCOMPARE(incremental.output(c)->phase, full.output(c)->phase);
    }
    QCOMPARE(incremental.sum()->magnitude, full.sum()->magnitude);
    QCOMPARE(incremental.sum()->phase, full.sum()->phase);
}

QTEST_GUILESS_MAIN(TestOutputPrediction)
#include "tst_outputprediction.moc"
