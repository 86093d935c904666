#pragma once

#include <vector>

namespace spk {

inline constexpr int GraphWidth = 720;
inline constexpr int GraphHeight = 188;
// Curves start at this column and end at width - 7.
inline constexpr int FirstCurveColumn = 42;

// Size of the response graph and the pixel/value conversions shared by the curves, the
// band points and the mouse handling.
struct GraphGeometry
{
    int width = GraphWidth;
    int height = GraphHeight;

    int PlotLeftPad() const { return int(0.09 * (width - 46)); }  // 60 at width 720
    int PlotRightPad() const { return int(0.05 * (width - 46)); } // 33 at width 720
    // Columns spanned by the three decades of the curve mapping (581); the grid uses one less.
    int plotSpan() const
    {
        const int span = width - 46 - PlotLeftPad() - PlotRightPad();
        return span > 0 ? span : 1;
    }

    int lastCurveColumn() const { return width - 7; }
    int curveColumnCount() const
    {
        return lastCurveColumn() < FirstCurveColumn ? 0 : lastCurveColumn() - FirstCurveColumn + 1;
    }
    int bottomRow() const { return height - 24; } // bottom frame line; lower curve points sit on it
};

// Double to int as trunc does, held inside int range (NaN gives 0) so no cast can overflow.
int truncToInt(double value);

int FreqToPixelX(double hz, const GraphGeometry &g = GraphGeometry());
double PixelXToFreq(int x, const GraphGeometry &g = GraphGeometry());
int DbToPixelY(double db, const GraphGeometry &g = GraphGeometry());
double PixelYToDb(int y, const GraphGeometry &g = GraphGeometry());

// The frequencies of the curve columns, with the values every evaluation needs per column.
class FrequencyGrid
{
public:
    explicit FrequencyGrid(const GraphGeometry &geometry);
    // The grid of the 720 x 188 graph, built once.
    static const FrequencyGrid &standard();

    const GraphGeometry &geometry() const { return m_geometry; }
    int count() const { return int(m_hz.size()); }
    static int column(int index) { return FirstCurveColumn + index; }
    long double hz(int index) const { return m_hz[index]; }
    long double cosW(int index) const { return m_cos[index]; }
    long double sinW(int index) const { return m_sin[index]; }
    // The same cos w and sin w rounded to double, count() each, for the evaluation loops.
    const double *cosTable() const { return m_cosDouble.data(); }
    const double *sinTable() const { return m_sinDouble.data(); }

private:
    GraphGeometry m_geometry;
    std::vector<long double> m_hz;
    std::vector<long double> m_cos;
    std::vector<long double> m_sin;
    std::vector<double> m_cosDouble;
    std::vector<double> m_sinDouble;
};

} // namespace spk
