#include "graphfloor.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstring>

namespace spk::bench {

void drawGraphFloor(const GraphRenderer &renderer, std::span<const double> values, QImage &target)
{
    target = renderer.MagBackground();
    QPainter painter(&target);
    renderer.drawCurve(painter, values, Ip0);
}

void drawGraphFloorAllPoints(const GraphRenderer &renderer, std::span<const double> values, QImage &target)
{
    target = renderer.MagBackground();
    QPainter painter(&target);
    QPolygon line(int(values.size()));
    for (int i = 0; i < line.size(); ++i)
        line[i] = QPoint(FirstCurveColumn + i, renderer.curveRow(values[i]));
    painter.setPen(QPen(GraphRenderer::curveColour(Ip0), 1));
    painter.drawPolyline(line);
}

void drawGraphFloorReused(const GraphRenderer &renderer, std::span<const double> values, QImage &target)
{
    const QImage &background = renderer.MagBackground();
    if (!target.isDetached() || target.size() != background.size() || target.format() != background.format())
        target = QImage(background.size(), background.format());
    std::memcpy(target.bits(), background.constBits(), size_t(background.sizeInBytes()));
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
