#include "graphfloor.h"

#include <QPainter>

#include <cmath>

namespace spk::bench {

void drawGraphFloor(const GraphRenderer &renderer, std::span<const double> values, QImage &target)
{
    target = renderer.MagBackground();
    QPainter painter(&target);
    renderer.drawCurve(painter, values, Ip0);
}

std::vector<double> sampleCurve(int columns)
{
    std::vector<double> values(columns);
    for (int i = 0; i < columns; ++i)
        values[i] = 9.0 * std::sin(i / 40.0) - 6.0;
    return values;
}

} // namespace spk::bench
