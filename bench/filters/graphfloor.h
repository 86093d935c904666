#pragma once

#include "graph/graphrenderer.h"

#include <QImage>

#include <span>
#include <vector>

namespace spk::bench {

// The least any redraw of the graph can cost: the magnitude background copied into `target` and
// one polyline of a full curve drawn over it; no markers, no response math. Drag and redraw
// measurements compare against this.
void drawGraphFloor(const GraphRenderer &renderer, std::span<const double> values, QImage &target);

// A smooth curve over several rows, like a response with a few boosts and cuts.
std::vector<double> sampleCurve(int columns = GraphGeometry().curveColumnCount());

} // namespace spk::bench
