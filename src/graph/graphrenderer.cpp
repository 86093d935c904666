#include "graph/graphrenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <QtMath>

#include <cmath>
#include <cstring>
#include <iterator>
#include <numbers>

namespace spk {

namespace {

const QColor Background(20, 20, 20);
const QColor Frame(128, 128, 128);
const QColor GridLine(64, 64, 64);

// A line from a to b without the end point, as the grid has always been drawn (axis-parallel only).
void lineTo(QPainter &p, QPoint a, QPoint b)
{
    if (a == b) return;
    const QPoint step(b.x() > a.x() ? 1 : b.x() < a.x() ? -1 : 0, b.y() > a.y() ? 1 : b.y() < a.y() ? -1 : 0);
    p.drawLine(a, b - step);
}

QFont labelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11); // 8 pt at 96 dpi, independent of the screen
    return font;
}

// Text with its top-left corner at (x, y).
void label(QPainter &p, int x, int y, const QString &text)
{
    p.drawText(QRect(x, y, 200, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

constexpr std::array<const char *, 10> MagnitudeLabels = {"+15dB", "+10dB", " +5dB", "  0dB", " -5dB",
                                                          "-10dB", "-15dB", "-20dB", "-25dB", "-30dB"};
constexpr std::array<const char *, 10> PhaseLabels = {" +180", " +120", "  +60", "    0", "  -60",
                                                      " -120", " -180", " ",     " ",     " "};

QImage imageAt(qreal ratio, int width, int height, QImage::Format format)
{
    QImage image(qCeil(width * ratio), qCeil(height * ratio), format);
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

GraphRenderer::GraphRenderer(int width, int height)
{
    EqBackGroundDraw(width, height);
    EqBackGroundDraw_pha(width, height);
    for (int b = 0; b < BandCount; ++b)
        m_pointImages[b] = makeEqPointImage(b);
    drawBackground();
}

void GraphRenderer::setDevicePixelRatio(qreal ratio)
{
    if (!(ratio > 0) || ratio == m_ratio) return;
    m_ratio = ratio;
    EqBackGroundDraw(m_geometry.width, m_geometry.height);
    EqBackGroundDraw_pha(m_geometry.width, m_geometry.height);
    for (int b = 0; b < BandCount; ++b)
        m_pointImages[b] = makeEqPointImage(b, ratio);
    m_legend = QImage();
    m_legendShown = 0;
    m_painted.clear();
    drawBackground();
}

QImage GraphRenderer::canvas(int width, int height, QImage::Format format) const
{
    return imageAt(m_ratio, width, height, format);
}

QPointF GraphRenderer::lineOffset() const
{
    // At ratio 1 the raster engine already puts a line through (x, y) on pixel (x, y); at a higher
    // ratio the pen's middle must be that pixel's middle, or the line straddles two logical rows.
    return m_ratio == 1.0 ? QPointF() : QPointF(0.5, 0.5);
}

void GraphRenderer::EqBackGroundDraw(int width, int height)
{
    m_geometry = GraphGeometry{width, height};
    m_magBackground = canvas(width, height, QImage::Format_RGB32);
    m_imageBackground = 0;
    drawGrid(m_magBackground, MagnitudeLabels);
}

void GraphRenderer::EqBackGroundDraw_pha(int width, int height)
{
    m_geometry = GraphGeometry{width, height};
    m_phaseBackground = canvas(width, height, QImage::Format_RGB32);
    m_imageBackground = 0;
    drawGrid(m_phaseBackground, PhaseLabels);
    QPainter p(&m_phaseBackground);
    p.translate(lineOffset());
    p.setPen(Qt::white);
    lineTo(p, {0, 0}, {width, 0});
    lineTo(p, {0, 0}, {0, height});
    lineTo(p, {width - 1, 0}, {width - 1, height - 1});
    lineTo(p, {0, height - 2}, {width - 2, height - 2});
}

void GraphRenderer::drawGrid(QImage &image, const std::array<const char *, 10> &leftLabels) const
{
    const int w = m_geometry.width;
    const int bottom = m_geometry.bottomRow();
    std::array<int, 10> rows{};
    rows[0] = 17;
    for (int k = 1; k <= 8; ++k)
        rows[k] = int((m_geometry.height - 40) / 9.0 * k) + 17;
    rows[9] = bottom;
    // The grid spans one column less than the curve mapping, so 20 kHz sits at 681 here and 682 there.
    const int left = 41 + m_geometry.PlotLeftPad();
    const double span = w - 47 - m_geometry.PlotLeftPad() - m_geometry.PlotRightPad();
    const auto gridX = [&](double hz) { return int(std::log10(hz / 20.0) * span / 3.0) + left; };
    const int x20k = w - m_geometry.PlotRightPad() - 6;

    image.fill(Background);
    QPainter p(&image);

    // Labels go first: a substitute for Arial may run wider and must not cut the frame.
    p.setFont(labelFont());
    p.setPen(Qt::white);
    for (int k = 0; k < 10; ++k)
        label(p, 4, rows[k] + 1 - 8, QString::fromLatin1(leftLabels[k]));
    const struct
    {
        double hz;
        int shift;
        const char *text;
    } freqLabels[] = {{20, 11, "20Hz"},   {50, 11, "50Hz"},   {100, 14, "100Hz"},
                      {200, 14, "200Hz"}, {500, 14, "500Hz"}, {1000, 11, "1KHz"},
                      {2000, 11, "2KHz"}, {5000, 11, "5KHz"}, {10000, 14, "10KHz"}};
    for (const auto &l : freqLabels)
        label(p, gridX(l.hz) - l.shift, bottom + 2, QString::fromLatin1(l.text));
    label(p, x20k - 14, bottom + 2, QStringLiteral("20KHz"));

    p.translate(lineOffset());
    p.setPen(Frame);
    lineTo(p, {41, 17}, {w - 6, 17});
    lineTo(p, {w - 6, 17}, {w - 6, bottom});
    lineTo(p, {w - 6, bottom}, {41, bottom});
    lineTo(p, {41, bottom}, {41, 17});

    p.setPen(GridLine);
    for (int k = 1; k <= 8; ++k)
        lineTo(p, {42, rows[k]}, {w - 6, rows[k]});
    for (double decade : {10.0, 100.0, 1000.0}) {
        for (int m = 2; m <= 10; ++m) {
            const int x = gridX(m * decade);
            lineTo(p, {x, 18}, {x, bottom});
        }
    }
    lineTo(p, {x20k, 18}, {x20k, bottom});
}

void GraphRenderer::drawBackground()
{
    const QImage &background = m_phaseView ? m_phaseBackground : m_magBackground;
    // The image keeps its own pixels between redraws, so no allocation, and its paint engine stays.
    // Over the same background only what the last redraw painted is copied back; anything else (a
    // first draw, the other view, an image someone still shares) gets the whole background.
    const bool sameKind = m_image.size() == background.size() && m_image.format() == background.format() &&
                          m_image.bytesPerLine() == background.bytesPerLine() &&
                          m_image.devicePixelRatio() == background.devicePixelRatio();
    const bool restore = sameKind && m_image.isDetached() && m_imageBackground == background.cacheKey();
    if (!sameKind || !m_image.isDetached()) {
        m_image = QImage(background.size(), background.format());
        m_image.setDevicePixelRatio(background.devicePixelRatio());
    }
    uchar *to = m_image.bits();
    const uchar *from = background.constBits();
    if (restore) {
        const qsizetype line = background.bytesPerLine();
        const int pixelBytes = background.depth() / 8;
        for (const QRect &r : m_painted) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                const qsizetype at = y * line + r.left() * pixelBytes;
                std::memcpy(to + at, from + at, size_t(r.width()) * pixelBytes);
            }
        }
    } else {
        std::memcpy(to, from, size_t(background.sizeInBytes()));
    }
    m_painted.clear();
    m_imageBackground = background.cacheKey();
}

void GraphRenderer::DrawHLpfEQCurve(const ChannelResponse &response, const OutputPrediction *overlay)
{
    drawBackground();
    QPainter p(&m_image);
    DrawEQPoint(p, response.points());
    // Where this picture differs from its background is noted for the next drawBackground.
    for (const EqPoint &point : response.points())
        notePainted(QRect(point.x - 10, point.y - 10, 20, 20));
    if (overlay) drawOverlay(p, *overlay);
    const Curve &total = response.total();
    drawCurve(p, m_phaseView ? total.phase : total.magnitude, response.channel());
    notePainted(lineBox());
    const int bottom = m_geometry.bottomRow();
    p.translate(lineOffset());
    p.setPen(Frame);
    lineTo(p, {41, bottom}, {m_geometry.width - 6, bottom});
    notePainted(QRect(QPoint(41, bottom), QPoint(m_geometry.width - 6, bottom)));
}

void GraphRenderer::drawOverlay(QPainter &p, const OutputPrediction &overlay)
{
    // In the legend's order (makeLegend).
    const struct
    {
        const Curve *curve;
        int channel;
    } items[] = {{overlay.output(Op0), Op0}, {overlay.output(Op2), Op2}, {overlay.sum(), Ip0}};
    for (const auto &item : items) {
        if (!item.curve) continue;
        drawCurve(p, m_phaseView ? item.curve->phase : item.curve->magnitude, overlayColour(item.channel));
        notePainted(lineBox());
    }
    // The legend of the curves drawn, right-aligned in the top row of the plot; made again only
    // when another set of curves shows.
    int shown = 0;
    for (int k = 0; k < int(std::size(items)); ++k)
        shown |= items[k].curve ? 1 << k : 0;
    if (shown != m_legendShown) {
        m_legendShown = shown;
        m_legend = makeLegend(shown, m_ratio);
    }
    if (m_legend.isNull()) return;
    const QSize size = m_legend.deviceIndependentSize().toSize();
    const QPoint at(m_geometry.width - 8 - size.width(), 19);
    p.drawImage(at, m_legend);
    notePainted(QRect(at, size));
}

QImage GraphRenderer::makeLegend(int shown, qreal ratio)
{
    const struct
    {
        int channel;
        const char *name;
    } items[] = {{Op0, "Satellite"}, {Op2, "Subwoofer"}, {Ip0, "Sum"}};
    const QFontMetrics metrics(labelFont());
    constexpr int Swatch = 12, Gap = 4, Spacing = 10, Margin = 2;
    int width = 0;
    for (int k = 0; k < int(std::size(items)); ++k) {
        if (shown & (1 << k))
            width += (width ? Spacing : 0) + Swatch + Gap +
                     metrics.horizontalAdvance(QLatin1String(items[k].name));
    }
    if (width == 0) return {};
    const int height = metrics.height();
    QImage legend = imageAt(ratio, width + 2 * Margin, height, QImage::Format_RGB32);
    legend.fill(Background);
    QPainter p(&legend);
    p.setFont(labelFont());
    int x = Margin;
    const int mid = height / 2;
    for (int k = 0; k < int(std::size(items)); ++k) {
        if (!(shown & (1 << k))) continue;
        const QString text = QString::fromLatin1(items[k].name);
        const QColor colour = overlayColour(items[k].channel);
        p.setPen(QPen(colour, 2));
        p.drawLine(x, mid, x + Swatch - 1, mid);
        p.setPen(colour);
        p.drawText(QRect(x + Swatch + Gap, 0, width, height), Qt::AlignLeft | Qt::AlignVCenter,
                   text);
        x += Swatch + Gap + metrics.horizontalAdvance(text) + Spacing;
    }
    return legend;
}

QRect GraphRenderer::lineBox() const
{
    if (m_lineCount <= 0) return {};
    const QPoint *points = m_line.constData();
    int top = points[0].y();
    int lowest = top;
    for (int i = 1; i < m_lineCount; ++i) {
        top = std::min(top, points[i].y());
        lowest = std::max(lowest, points[i].y());
    }
    // A margin around the points' box, for the pen's ends.
    return QRect(QPoint(points[0].x() - 2, top - 2), QPoint(points[m_lineCount - 1].x() + 2, lowest + 2));
}

void GraphRenderer::notePainted(const QRect &r)
{
    const QRect inside = r & QRect(0, 0, m_geometry.width, m_geometry.height);
    if (inside.isEmpty()) return;
    if (m_ratio == 1.0) {
        m_painted.push_back(inside);
        return;
    }
    // In the image's own pixels, one more each side for a pen's edge between two of them.
    const QRectF device(inside.x() * m_ratio, inside.y() * m_ratio, inside.width() * m_ratio,
                        inside.height() * m_ratio);
    m_painted.push_back(device.toAlignedRect().adjusted(-1, -1, 1, 1) & m_image.rect());
}

void GraphRenderer::DrawEQPoint(QPainter &painter, const std::array<EqPoint, BandCount> &points) const
{
    // Later bands cover earlier ones.
    for (int b = 0; b < BandCount; ++b)
        painter.drawImage(points[b].x - 10, points[b].y - 10, m_pointImages[b]);
}

int GraphRenderer::curveRow(double value) const
{
    if (std::isnan(value)) return m_geometry.bottomRow();
    const int y = truncToInt((15.0 - value) / 45.0 * (m_geometry.height - 38) + 16.0);
    return std::min(y, m_geometry.bottomRow());
}

void GraphRenderer::drawCurve(QPainter &painter, std::span<const double> values, int channel) const
{
    drawCurve(painter, values, curveColour(channel));
}

void GraphRenderer::drawCurve(QPainter &painter, std::span<const double> values, const QColor &colour) const
{
    const int n = std::min<int>(int(values.size()), m_geometry.curveColumnCount());
    // In the phase view +pi lands on the +15 dB row and -pi on the -15 dB row.
    const double scale = m_phaseView ? 15.0 / std::numbers::pi : 1.0;
    m_line.resize(n); // kept between calls: no allocation per redraw
    QPoint *points = m_line.data();
    // A level stretch is drawn as one segment instead of one per column: the same pixels, and far
    // fewer segments where the response is flat.
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const QPoint p(FirstCurveColumn + i, curveRow(values[i] * scale));
        if (count >= 2 && points[count - 1].y() == p.y() && points[count - 2].y() == p.y())
            points[count - 1] = p;
        else
            points[count++] = p;
    }
    m_lineCount = count;
    painter.setPen(QPen(colour, 1));
    const QPointF offset = lineOffset();
    painter.translate(offset);
    painter.drawPolyline(points, count);
    painter.translate(-offset);
}

QColor GraphRenderer::curveColour(int channel)
{
    static const QColor colours[ChannelCount] = {QColor(46, 121, 255), QColor(255, 166, 40),
                                                 QColor(120, 210, 110), QColor(230, 90, 200)};
    return (channel >= 0 && channel < ChannelCount) ? colours[channel] : colours[0];
}

QColor GraphRenderer::overlayColour(int channel)
{
    if (channel == Op0) return curveColour(Op0);
    if (channel == Op2) return curveColour(Op2);
    return QColor(250, 225, 60);
}

QImage GraphRenderer::makeEqPointImage(int band, qreal ratio)
{
    QImage image = imageAt(ratio, 20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = QColor::fromHsv((band * 36 + 20) % 360, 190, 235);
    p.setPen(QPen(QColor(245, 245, 245), 1.2));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(band == 9 ? 9 : 11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(fill.lightness() > 150 ? QColor(20, 20, 20) : Qt::white);
    p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, QString::number(band + 1));
    return image;
}

} // namespace spk
