#include "graph/graphview.h"

#include "filters/graphgeometry.h"
#include "graph/responsegraph.h"

#include <QMouseEvent>
#include <QPainter>

namespace spk {

GraphView::GraphView(QWidget *parent) : QWidget(parent)
{
    setFixedSize(GraphWidth, GraphHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize GraphView::sizeHint() const
{
    return {GraphWidth, GraphHeight};
}

void GraphView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_graph) {
        p.drawImage(0, 0, m_graph->image()); // at its logical size, whatever its ratio
        if (m_graph->image().devicePixelRatio() != devicePixelRatioF()) emit ratioChanged();
    } else
        p.fillRect(rect(), QColor(20, 20, 20));
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

} // namespace spk
