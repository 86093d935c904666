#include "filters/crossovercurve.h"

#include "filters/vectorstate.h"
#include "model/tables.h"

#include <algorithm>
#include <array>

namespace spk {

namespace {

using Cascade = std::array<Section, 4>; // unused sections stay pass-through

// Section damping (1 / 2Q) per alignment; 0 marks a pass-through section. For the 18 dB types d0
// scales the pole of the first-order section.
constexpr long double Damping[12][4] = {
    {0.70422535L, 0, 0, 0},
    {1.0L, 0, 0, 0},
    {0.86206897L, 0, 0, 0},
    {1.0L, 0.5L, 0, 0},
    {1.0L, 0.70422535211L, 0, 0},
    {0.756L, 0.72463768L, 0, 0},
    {0.92592593L, 0.38167939L, 0, 0},
    {0.70422535211L, 0.70422535211L, 0, 0},
    {0.96153846L, 0.61728395L, 0, 0},
    {0.98039216L, 0.83333333L, 0.55555556L, 0.1953125L},
    {0.92592592593L, 0.373134315L, 0.92592592593L, 0.373134315L},
    {0.98039216L, 0.89285714L, 0.70422535L, 0.40650406L},
};

bool isBessel(int type)
{
    return type % 3 == 2;
}
bool isEighteenDb(int type)
{
    return type >= 3 && type <= 5;
}

// Design frequency divisors of the Bessel types, by type / 3.
constexpr long double HpfBesselDivisor[4] = {1.2683112435L, 1.2854981442L, 1.5006420029L, 1.679120141L};
constexpr long double LpfBesselDivisor[4] = {1.3616541287L, 1.75567236868L, 2.1139176749L, 3.17961723751L};

// Low-pass Bessel prototypes 1 / (B s^2 + A s + 1) per section, by type / 3; A = 0 is pass-through.
struct Prototype
{
    long double a, b;
};
constexpr Prototype LpfBesselPolynomial[4][4] = {
    {{1.0L, 0.3333333333L}, {0, 0}, {0, 0}, {0, 0}},
    {{0.5693712514L, 0.154812441L}, {0.430628846L, 0}, {0, 0}, {0, 0}},
    {{0.369L, 0.087858766L}, {0.6278294896L, 0.109408L}, {0, 0}, {0, 0}},
    {{0.117235677L, 0.02064747L},
     {0.226516664L, 0.0259273886L},
     {0.3067559L, 0.0294683265L},
     {0.3494916166L, 0.031272257L}},
};

struct Prewarp
{
    long double c, s, k;
};

Prewarp prewarp(long double fd)
{
    const long double w0 = fd * DesignFactor;
    return {std::cos(w0), std::sin(w0), std::tan(w0 / 2)};
}

Cascade designHpf(int code, int type)
{
    Cascade cascade{};
    if (code == 0) return cascade;
    long double fd = FreqTable[code];
    if (isBessel(type)) fd /= HpfBesselDivisor[type / 3];
    const Prewarp p = prewarp(fd);
    const long double *d = Damping[type];
    for (int i = 0; i < 4; ++i) {
        if (d[i] == 0) continue;
        const long double alpha = p.s * d[i];
        const long double b0 = (1 + p.c) / 2;
        cascade[i] = Section::fromCoefficients(1 + alpha, -2 * p.c, 1 - alpha, b0, -2 * b0, b0);
    }
    if (isEighteenDb(type))
        cascade[0] = Section::fromCoefficients(d[0] * p.k + 1, d[0] * p.k - 1, 0, 1, -1, 0);
    return cascade;
}

Cascade designLpf(int code, int type)
{
    Cascade cascade{};
    // 20100 Hz and above the low-pass is left out altogether (codes 240..243).
    if (FreqTable[code] >= 20100.0) return cascade;
    long double fd = FreqTable[code];
    if (isBessel(type)) {
        fd /= LpfBesselDivisor[type / 3];
        const Prewarp p = prewarp(fd);
        const long double k2 = p.k * p.k;
        for (int i = 0; i < 4; ++i) {
            const Prototype &q = LpfBesselPolynomial[type / 3][i];
            if (q.a == 0) continue;
            cascade[i] = Section::fromCoefficients(q.a * p.k + k2 + q.b, 2 * k2 - 2 * q.b,
                                                   k2 - q.a * p.k + q.b, k2, 2 * k2, k2);
        }
        return cascade;
    }
    const Prewarp p = prewarp(fd);
    const long double *d = Damping[type];
    for (int i = 0; i < 4; ++i) {
        if (d[i] == 0) continue;
        const long double alpha = p.s * d[i];
        const long double b0 = (1 - p.c) / 2;
        cascade[i] = Section::fromCoefficients(1 + alpha, -2 * p.c, 1 - alpha, b0, 2 * b0, b0);
    }
    if (isEighteenDb(type)) cascade[0] = Section::fromCoefficients(p.k + d[0], p.k - d[0], 0, p.k, p.k, 0);
    return cascade;
}

bool isPassThrough(const Section &s)
{
    return s.a1 == 0 && s.a2 == 0 && s.b0 == 1 && s.b1 == 0 && s.b2 == 0;
}

// Brings a cascade's phase back towards -pi .. pi by whole turns.
double foldPhase(double phase)
{
    constexpr double pi = std::numbers::pi;
    const double n = std::fabs(std::trunc(phase / pi));
    if (n == 1 || n == 2) return phase > 0 ? phase - 2 * pi : phase + 2 * pi;
    if (n == 3 || n == 4) return phase > 0 ? phase - 4 * pi : phase + 4 * pi;
    return phase;
}

void evaluateCascade(const Cascade &cascade, double phaseOffset, Curve &out, const FrequencyGrid &grid)
{
    const int n = grid.count();
    out.magnitude.resize(n);
    out.phase.resize(n);
    // Pass-through sections add exactly 0 dB and 0 rad, so they are skipped.
    std::array<SectionTerms, 4> active{};
    int used = 0;
    for (const Section &s : cascade) {
        if (!isPassThrough(s)) active[used++] = SectionTerms(s);
    }
    clearUpperVectorState();
    const double *cosW = grid.cosTable();
    const double *sinW = grid.sinTable();
    double *magnitude = out.magnitude.data();
    double *phaseOut = out.phase.data();
    std::array<double, 4> previous{};
    for (int i = 0; i < n; ++i) {
        // One logarithm of the product of the sections' power ratios instead of one per section.
        double power = 1;
        double phase = 0;
        for (int k = 0; k < used; ++k) {
            const SectionValue v = evaluateSection(active[k], cosW[i], sinW[i]);
            power *= v.power;
            phase += unwrapPhase(v.phase, previous[k], i);
        }
        magnitude[i] = used ? powerToDb(power) : 0.0;
        phaseOut[i] = foldPhase(phase + phaseOffset);
    }
}

} // namespace

void CalHpfCurve(int freqCode, int typeCode, Curve &out, const FrequencyGrid &grid)
{
    const int code = clampFreqCode(freqCode);
    const int type = std::clamp(typeCode, 0, MaxCrossoverType);
    // The 12 dB high-passes turn half a turn further than their sections show.
    const double offset = (code != 0 && type <= 2) ? std::numbers::pi : 0;
    evaluateCascade(designHpf(code, type), offset, out, grid);
}

void CalLpfCurve(int freqCode, int typeCode, Curve &out, const FrequencyGrid &grid)
{
    evaluateCascade(designLpf(clampFreqCode(freqCode), std::clamp(typeCode, 0, MaxCrossoverType)), 0, out,
                    grid);
}

} // namespace spk
