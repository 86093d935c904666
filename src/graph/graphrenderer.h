#pragma once

#include "filters/channelresponse.h"
#include "filters/graphgeometry.h"
#include "filters/outputprediction.h"

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>

#include <array>
#include <span>
#include <vector>

class QPainter;

namespace spk {

// Draws the response graph into an image that a widget shows: the magnitude and phase grids (made
// once), the band markers and the summed curve of a channel. No event handling.
class GraphRenderer
{
public:
    explicit GraphRenderer(int width = GraphWidth, int height = GraphHeight);

    // Pixels per logical pixel of every image made here (a high-density screen's ratio). Positions,
    // rows and the painted places stay in logical pixels; a change remakes the grids and markers.
    void setDevicePixelRatio(qreal ratio);
    qreal devicePixelRatio() const { return m_ratio; }

    // Rebuild the grids for a graph of this size (both are made by the constructor).
    void EqBackGroundDraw(int width, int height);
    void EqBackGroundDraw_pha(int width, int height);

    const GraphGeometry &geometry() const { return m_geometry; }
    const QImage &MagBackground() const { return m_magBackground; }
    const QImage &PhaseBackground() const { return m_phaseBackground; }
    const std::array<QImage, BandCount> &EqPointImages() const { return m_pointImages; }

    // Which view DrawHLpfEQCurve paints; the magnitude view by default.
    void setPhaseView(bool phase) { m_phaseView = phase; }
    bool phaseView() const { return m_phaseView; }

    // Background of the current view, the band markers, then the total curve of the response's
    // channel, over image(). With overlay: the predicted outputs and their sum beneath that curve,
    // and their legend.
    void DrawHLpfEQCurve(const ChannelResponse &response, const OutputPrediction *overlay = nullptr);
    const QImage &image() const { return m_image; }

    // The steps of DrawHLpfEQCurve, for callers that compose their own picture.
    void drawBackground(); // image() := background of the current view
    void DrawEQPoint(QPainter &painter, const std::array<EqPoint, BandCount> &points) const;
    // values: one per curve column (dB, or radians in the phase view).
    void drawCurve(QPainter &painter, std::span<const double> values, int channel) const;
    void drawCurve(QPainter &painter, std::span<const double> values, const QColor &colour) const;

    // Row of a curve value in dB (already scaled in the phase view), held at the bottom frame row.
    int curveRow(double value) const;
    static QColor curveColour(int channel);
    // The overlay's colours: Op0 and Op2 for the outputs, anything else for the sum.
    static QColor overlayColour(int channel);
    static QImage makeEqPointImage(int band, qreal ratio = 1.0);

private:
    void drawGrid(QImage &image, const std::array<const char *, 10> &leftLabels) const;
    void drawOverlay(QPainter &painter, const OutputPrediction &overlay);
    // The legend of the overlay curves in `shown` (bit 0 satellite, 1 subwoofer, 2 sum).
    static QImage makeLegend(int shown, qreal ratio);
    // An image of this logical size at the renderer's ratio.
    QImage canvas(int width, int height, QImage::Format format) const;
    // Where a one-pixel line goes so that it covers the image pixels of its logical pixel.
    QPointF lineOffset() const;
    // The box of the last curve's points with a margin for the pen; empty when none was drawn.
    QRect lineBox() const;
    void notePainted(const QRect &r);

    GraphGeometry m_geometry;
    QImage m_magBackground;
    QImage m_phaseBackground;
    std::array<QImage, BandCount> m_pointImages;
    QImage m_image;
    // What image() holds over its background: the background's cacheKey (0: unknown) and the places
    // the last DrawHLpfEQCurve painted (markers, curve, frame line), which drawBackground restores.
    qint64 m_imageBackground = 0;
    std::vector<QRect> m_painted;
    // The last curve's points (drawCurve keeps them between calls: no allocation per redraw).
    mutable QPolygon m_line;
    mutable int m_lineCount = 0;
    bool m_phaseView = false;
    qreal m_ratio = 1.0;
    QImage m_legend;
    int m_legendShown = 0;
};

} // namespace spk
