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

inline constexpr long double Pi = std::numbers::pi_v<long double>;
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

struct SectionValue
{
    long double db;
    long double phase;
};

// The section on the unit circle at w (given as cos w, sin w). The phase is the difference of two
// plain arctangents of quotients, each within -pi/2 .. pi/2, which is how the curves have always been
// drawn; the decibels use the base-101 logarithm for the same reason.
inline SectionValue evaluateSection(const Section &s, long double cosW, long double sinW)
{
    static const long double dbScale = 40.0L / std::log(101.0L);
    const long double reD = cosW + s.a1 + s.a2 * cosW;
    const long double imD = sinW - s.a2 * sinW;
    const long double reN = s.b0 * cosW + s.b1 + s.b2 * cosW;
    const long double imN = s.b0 * sinW - s.b2 * sinW;
    const long double phase = std::atan(imN / reN) - std::atan(imD / reD);
    const long double m = std::sqrt((reN * reN + imN * imN) / (reD * reD + imD * imD));
    return {dbScale * std::log(m), phase};
}

// Drops a jump of more than 2 rad against the previous column by half a turn. The first two columns
// only seed the previous value.
inline long double unwrapPhase(long double p, long double &previous, int index)
{
    if (index >= 2 && std::fabs(p - previous) > 2.0L) p = p > 0 ? p - Pi : p + Pi;
    previous = p;
    return p;
}

} // namespace spk
