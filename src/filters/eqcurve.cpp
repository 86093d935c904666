#include "filters/eqcurve.h"

#include "filters/vectorstate.h"
#include "model/layout.h"
#include "model/tables.h"

#include <algorithm>

namespace spk {

const std::array<double, GraphQCount> GraphQ = [] {
    std::array<double, GraphQCount> q{};
    for (int i = 0; i < GraphQCount; ++i)
        q[i] = 0.2 * (i + 1);
    return q;
}();

int clampGraphQCode(int code)
{
    return std::clamp(code, 0, GraphQCount - 1);
}

namespace {

constexpr int AllPassType = 5;

struct BandDesign
{
    long double w0;
    long double g; // dB; 0 when bypassed
    long double q;
    bool bypassed;
};

BandDesign bandDesign(int freqCode, int gainCode, int qCode, int bypass)
{
    const bool bypassed = bypass == 1;
    return {FreqTable[clampFreqCode(freqCode)] * DesignFactor,
            bypassed ? 0.0L : GainTable[clampGainCode(gainCode)], GraphQ[clampGraphQCode(qCode)], bypassed};
}

void resize(Curve &out, const FrequencyGrid &grid)
{
    out.magnitude.resize(grid.count());
    out.phase.resize(grid.count());
}

// One section over the grid; the shelves unwrap their phase against the previous column.
template <bool Unwrap> void evaluate(const Section &s, Curve &out, const FrequencyGrid &grid)
{
    resize(out, grid);
    clearUpperVectorState();
    const SectionTerms t(s);
    const double *cosW = grid.cosTable();
    const double *sinW = grid.sinTable();
    double *magnitude = out.magnitude.data();
    double *phase = out.phase.data();
    double previous = 0;
    for (int i = 0, n = grid.count(); i < n; ++i) {
        const SectionValue v = evaluateSection(t, cosW[i], sinW[i]);
        magnitude[i] = powerToDb(v.power);
        phase[i] = Unwrap ? unwrapPhase(v.phase, previous, i) : v.phase;
    }
}

void flat(Curve &out, const FrequencyGrid &grid)
{
    resize(out, grid);
    std::fill(out.magnitude.begin(), out.magnitude.end(), 0.0);
    std::fill(out.phase.begin(), out.phase.end(), 0.0);
}

struct Shelf
{
    long double scale; // design frequency / band frequency
    long double slope;
    bool low;
};

constexpr Shelf Shelves[4] = {
    {2.0L, 0.5L, true},
    {1.2727272727L, 1.3L, true},
    {0.4545454546L, 0.5L, false},
    {0.76923076923L, 1.3L, false},
};

} // namespace

void CalPeqCurve(int freqCode, int, int gainCode, int qCode, int bypass, Curve &out,
                 const FrequencyGrid &grid)
{
    const BandDesign d = bandDesign(freqCode, gainCode, qCode, bypass);
    if (d.g == 0) return flat(out, grid);
    const long double bw = std::asinh(1 / (2 * d.q)) / 0.34657359L;
    const long double a = std::pow(10.0L, d.g / 40);
    const long double sinW0 = std::sin(d.w0);
    const long double alpha = sinW0 * std::sinh(0.69314718L * bw * d.w0 / sinW0);
    const long double c = std::cos(d.w0);
    evaluate<false>(
        Section::fromCoefficients(1 + alpha / a, -2 * c, 1 - alpha / a, 1 + alpha * a, -2 * c, 1 - alpha * a),
        out, grid);
}

// The shelves unwrap their phase against the previous column. One previous value shared by all shelf
// computations gives the same curves as one per call, because the first two columns of every
// computation overwrite it before it is read; it is kept per call so that computations can run in any
// order or side by side.
void CalShelfCurve(int freqCode, int typeCode, int gainCode, int, int bypass, Curve &out,
                   const FrequencyGrid &grid)
{
    const BandDesign d = bandDesign(freqCode, gainCode, 0, bypass);
    if (d.g == 0) return flat(out, grid);
    const Shelf &shelf = Shelves[std::clamp(typeCode, 1, 4) - 1];
    const long double w0 = d.w0 * shelf.scale;
    const long double a = std::pow(10.0L, d.g / 40);
    const long double c = std::cos(w0);
    const long double alpha = std::sin(w0) / 2 * std::sqrt((a + 1 / a) * (1 / shelf.slope - 1) + 2);
    const long double beta = 2 * std::sqrt(a) * alpha;
    const Section s =
        shelf.low
            ? Section::fromCoefficients((a + 1) + (a - 1) * c + beta, -2 * ((a - 1) + (a + 1) * c),
                                        (a + 1) + (a - 1) * c - beta, a * ((a + 1) - (a - 1) * c + beta),
                                        2 * a * ((a - 1) - (a + 1) * c), a * ((a + 1) - (a - 1) * c - beta))
            : Section::fromCoefficients((a + 1) - (a - 1) * c + beta, 2 * ((a - 1) - (a + 1) * c),
                                        (a + 1) - (a - 1) * c - beta, a * ((a + 1) + (a - 1) * c + beta),
                                        -2 * a * ((a - 1) + (a + 1) * c), a * ((a + 1) + (a - 1) * c - beta));
    evaluate<true>(s, out, grid);
}

void CalAllPassCurve(int freqCode, int, int gainCode, int qCode, int bypass, Curve &out,
                     const FrequencyGrid &grid)
{
    const BandDesign d = bandDesign(freqCode, gainCode, qCode, bypass);
    if (d.bypassed) return flat(out, grid);
    const long double alpha = std::sin(d.w0) / (2 * d.q);
    const long double c = std::cos(d.w0);
    evaluate<false>(Section::fromCoefficients(1 + alpha, -2 * c, 1 - alpha, 1 - alpha, -2 * c, 1 + alpha),
                    out, grid);
}

void CalEqCurve(std::span<const std::uint8_t, 8> record, EqPoint &point, Curve &out,
                const FrequencyGrid &grid)
{
    const auto word = [&](int offset) { return record[offset] | record[offset + 1] << 8; };
    const int freqCode = clampFreqCode(record[BandByte::Freq]);
    const int type = record[BandByte::Type];
    const int gainCode = clampGainCode(word(BandByte::Gain));
    const int bypass = word(BandByte::Bypass);
    const int qCode = word(BandByte::Q);

    point.x = FreqToPixelX(FreqTable[freqCode], grid.geometry());
    if (type == 0)
        CalPeqCurve(freqCode, type, gainCode, qCode, bypass, out, grid);
    else if (type < AllPassType)
        CalShelfCurve(freqCode, type, gainCode, qCode, bypass, out, grid);
    else
        CalAllPassCurve(freqCode, type, gainCode, qCode, bypass, out, grid);
    point.y = DbToPixelY(type < AllPassType ? GainTable[gainCode] : 0.0, grid.geometry());
}

} // namespace spk
