#include "filters/graphgeometry.h"

#include <cmath>
#include <numbers>

namespace spk {

int truncToInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= 1e9) return 1000000000;
    if (value <= -1e9) return -1000000000;
    return int(value);
}

int FreqToPixelX(double hz, const GraphGeometry &g)
{
    return truncToInt(std::log10(hz / 20.0) * g.plotSpan() / 3.0 + 41 + g.PlotLeftPad());
}

double PixelXToFreq(int x, const GraphGeometry &g)
{
    return 20.0 * std::pow(10.0, 3.0 * (x - 41 - g.PlotLeftPad()) / g.plotSpan());
}

int DbToPixelY(double db, const GraphGeometry &g)
{
    return truncToInt((15.0 - db) / 45.0 * (g.height - 38) + 16.0);
}

double PixelYToDb(int y, const GraphGeometry &g)
{
    return 15.0 - double((y - 16) * 45) / (g.height - 38);
}

FrequencyGrid::FrequencyGrid(const GraphGeometry &geometry) : m_geometry(geometry)
{
    const int n = geometry.curveColumnCount();
    const long double span = geometry.plotSpan();
    const long double left = 41 + geometry.PlotLeftPad();
    m_hz.resize(n);
    m_cos.resize(n);
    m_sin.resize(n);
    m_cosDouble.resize(n);
    m_sinDouble.resize(n);
    for (int i = 0; i < n; ++i) {
        const long double f = 20.0L * std::pow(10.0L, 3.0L * (column(i) - left) / span);
        const long double w = 2.0L * std::numbers::pi_v<long double> * f / 96000.0L;
        m_hz[i] = f;
        m_cos[i] = std::cos(w);
        m_sin[i] = std::sin(w);
        m_cosDouble[i] = double(m_cos[i]);
        m_sinDouble[i] = double(m_sin[i]);
    }
}

const FrequencyGrid &FrequencyGrid::standard()
{
    static const FrequencyGrid grid{GraphGeometry()};
    return grid;
}

} // namespace spk
