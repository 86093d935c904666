#pragma once

#include "graph/graphrenderer.h"

#include <QImage>

#include <span>
#include <vector>

namespace spk::bench {

// The least any redraw of the graph can cost: the magnitude background copied into `target` and
// one polyline of a full curve drawn over it; no markers, no response math. Drag and redraw
// measurements compare against this, drawing the same curve on both sides.
void drawGraphFloor(const GraphRenderer &renderer, std::span<const double> values, QImage &target);

// Variants for reading the floor: the same with every one of the curve's points handed to
// QPainter::drawPolyline (the curve as it was drawn before level stretches became one segment) ...
void drawGraphFloorAllPoints(const GraphRenderer &renderer, std::span<const double> values, QImage &target);
// ... and with the background copied into a target that keeps its pixels and paint engine between
// calls, as the renderer's own image does (no allocation per call).
void drawGraphFloorReused(const GraphRenderer &renderer, std::span<const double> values, QImage &target);

// A smooth curve over several rows, like a response with a few boosts and cuts.
std::vector<double> sampleCurve(int columns = GraphGeometry().curveColumnCount());

} // namespace spk::bench
