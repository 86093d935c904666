#pragma once

#include <cmath>
#include <numbers>
#include <vector>

namespace spk {

// One value per curve column: index i belongs to graph column FirstCurveColumn + i
// (42 .. width - 7, 672 values for the 720-pixel graph).
struct Curve
{
    std::vector<double> magnitude; // dB
    std::vector<double> phase;     // radians
};

// w0 = design frequency x this, in radians per sample at 96000 Hz.
inline constexpr long double DesignFactor = 6.544985e-5L;

// A second-order section with its coefficients divided by a0:
// (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
struct Section
{
    long double a1 = 0, a2 = 0, b0 = 1, b1 = 0, b2 = 0;

    static Section fromCoefficients(long double a0, long double a1, long double a2, long double b0,
                                    long double b1, long double b2)
    {
        if (a0 == 0) a0 = 1e-10L;
        return Section{a1 / a0, a2 / a0, b0 / a0, b1 / a0, b2 / a0};
    }
};

// A section in the form the column loops evaluate, rounded to double. The coefficients are designed
// in long double; evaluating them in double keeps the curves within 1e-7 dB and rad of a long double
// evaluation at a fraction of its cost.
struct SectionTerms
{
    // cos w, constant and sin w factors of the denominator and the numerator; pass-through by default
    double reD = 1, a1 = 0, imD = 1, reN = 1, b1 = 0, imN = 1;

    SectionTerms() = default;
    explicit SectionTerms(const Section &s)
        : reD(double(1 + s.a2)), a1(double(s.a1)), imD(double(1 - s.a2)), reN(double(s.b0 + s.b2)),
          b1(double(s.b1)), imN(double(s.b0 - s.b2))
    {
    }
};

struct SectionValue
{
    double power; // |H|^2
    double phase;
};

// The section on the unit circle at w (given as cos w, sin w). The phase is the difference of two
// plain arctangents of quotients, each within -pi/2 .. pi/2, which is how the curves have always been
// drawn.
inline SectionValue evaluateSection(const SectionTerms &t, double cosW, double sinW)
{
    const double reD = t.reD * cosW + t.a1;
    const double imD = t.imD * sinW;
    const double reN = t.reN * cosW + t.b1;
    const double imN = t.imN * sinW;
    return {(reN * reN + imN * imN) / (reD * reD + imD * imD), std::atan(imN / reN) - std::atan(imD / reD)};
}

// dB per natural logarithm of a power ratio: 40 log101 of the magnitude, the base-101 logarithm being
// how the curves have always been drawn.
inline const double DbPerLnPower = 20.0 / std::log(101.0);

// A power ratio in dB on the graph's scale. A result within 1e-12 dB of 0 is rounding noise (an
// all-pass band, the far side of a filter) and becomes 0, so that which of the two rows around 0 dB
// the curve takes there does not depend on the last bits of the arithmetic.
inline double powerToDb(double power)
{
    const double db = DbPerLnPower * std::log(power);
    return std::fabs(db) < 1e-12 ? 0.0 : db;
}

// Drops a jump of more than 2 rad against the previous column by half a turn. The first two columns
// only seed the previous value.
inline double unwrapPhase(double p, double &previous, int index)
{
    constexpr double pi = std::numbers::pi;
    if (index >= 2 && std::fabs(p - previous) > 2.0) p = p > 0 ? p - pi : p + pi;
    previous = p;
    return p;
}

} // namespace spk
