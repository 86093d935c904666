#pragma once

// Reference responses written from the analogue prototypes, independent of the section code:
// a prewarped bilinear design evaluated at z = e^{jw} is the prototype at s = j tan(w/2) / tan(w0/2).

#include <cmath>
#include <complex>
#include <functional>
#include <numbers>
#include <vector>

namespace ref {

using Complex = std::complex<long double>;
using Prototype = std::function<Complex(Complex)>;

inline constexpr long double Pi = std::numbers::pi_v<long double>;
inline constexpr long double DesignFactor = 6.544985e-5L; // radians per sample per Hz at 96 kHz

// Frequency of a curve column of the 720-pixel graph: 20 Hz at column 101, three decades over 581.
inline long double columnHz(int column)
{
    return 20.0L * std::pow(10.0L, 3.0L * (column - 101) / 581.0L);
}

struct Stage
{
    long double designHz;
    Prototype h;
};

inline Complex evaluate(const std::vector<Stage> &stages, int column)
{
    const long double w = 2 * Pi * columnHz(column) / 96000.0L;
    Complex total = 1;
    for (const Stage &st : stages) {
        const long double k = std::tan(st.designHz * DesignFactor / 2);
        total *= st.h(Complex(0, std::tan(w / 2) / k));
    }
    return total;
}

// The phase of each stage separately, summed (the curves add per-stage phases).
inline long double stagePhaseSum(const std::vector<Stage> &stages, int column)
{
    long double sum = 0;
    for (const Stage &st : stages)
        sum += std::arg(evaluate({st}, column));
    return sum;
}

// The graph's decibels: base-101 logarithm of the magnitude, times 40.
inline long double graphDb(Complex h)
{
    return 40 * std::log(std::abs(h)) / std::log(101.0L);
}

inline Prototype highPass2(long double q)
{
    return [q](Complex s) { return s * s / (s * s + s / q + 1.0L); };
}
inline Prototype lowPass2(long double q)
{
    return [q](Complex s) { return 1.0L / (s * s + s / q + 1.0L); };
}
inline Prototype highPass1(long double pole)
{
    return [pole](Complex s) { return s / (s + pole); };
}
inline Prototype lowPass1(long double tau)
{
    return [tau](Complex s) { return 1.0L / (tau * s + 1.0L); };
}
inline Prototype besselSection(long double a, long double b)
{
    return [a, b](Complex s) { return 1.0L / (b * s * s + a * s + 1.0L); };
}
// Peaking: A = 10^(dB/40), q the prototype's Q.
inline Prototype peaking(long double a, long double q)
{
    return [a, q](Complex s) { return (s * s + s * (a / q) + 1.0L) / (s * s + s / (a * q) + 1.0L); };
}
inline Prototype lowShelf(long double a, long double q)
{
    const long double r = std::sqrt(a);
    return [a, q, r](Complex s) { return a * (s * s + (r / q) * s + a) / (a * s * s + (r / q) * s + 1.0L); };
}
inline Prototype highShelf(long double a, long double q)
{
    const long double r = std::sqrt(a);
    return [a, q, r](Complex s) { return a * (a * s * s + (r / q) * s + 1.0L) / (s * s + (r / q) * s + a); };
}
inline Prototype allPass(long double q)
{
    return [q](Complex s) { return (s * s - s / q + 1.0L) / (s * s + s / q + 1.0L); };
}

} // namespace ref
