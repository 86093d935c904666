#include "graph/graphview.h"

#include "filters/graphgeometry.h"
#include "graph/responsegraph.h"
#include "model/layout.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace spk {

GraphView::GraphView(QWidget *parent) : QWidget(parent)
{
    setFixedSize(GraphWidth, GraphHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Tab only: a click goes on to the point under the pointer (or the focus sink).
    setFocusPolicy(Qt::TabFocus);
}

QSize GraphView::sizeHint() const
{
    return {GraphWidth, GraphHeight};
}

void GraphView::setSelectedPoint(int band)
{
    band = std::clamp(band, 0, BandCount - 1);
    if (band == m_selected) return;
    m_selected = band;
    update();
    emit pointSelected(band);
}

QString GraphView::summary() const
{
    return m_graph ? m_graph->summary() : QString();
}

void GraphView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_graph) {
        p.fillRect(rect(), QColor(20, 20, 20));
        return;
    }
    p.drawImage(0, 0, m_graph->image()); // at its logical size, whatever its ratio
    if (m_graph->image().devicePixelRatio() != devicePixelRatioF()) emit ratioChanged();
    if (hasFocus()) {
        const EqPoint pt = m_graph->point(m_graph->drawnChannel(), m_selected);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(pt.x, pt.y), 13.0, 13.0);
    }
}

void GraphView::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->position().toPoint());
}
void GraphView::mouseMoveEvent(QMouseEvent *event)
{
    emit moved(event->position().toPoint());
}
void GraphView::mouseReleaseEvent(QMouseEvent *event)
{
    emit released(event->position().toPoint());
}

void GraphView::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        setSelectedPoint(key == Qt::Key_0 ? 9 : key - Qt::Key_1);
    else if (key == Qt::Key_PageUp)
        setSelectedPoint(m_selected - 1);
    else if (key == Qt::Key_PageDown)
        setSelectedPoint(m_selected + 1);
    else if (key == Qt::Key_Left || key == Qt::Key_Right)
        emit pointStep(m_selected, true, key == Qt::Key_Right);
    else if (key == Qt::Key_Up || key == Qt::Key_Down)
        emit pointStep(m_selected, false, key == Qt::Key_Up);
    else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void GraphView::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void GraphView::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

} // namespace spk
