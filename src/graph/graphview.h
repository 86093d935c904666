#pragma once

#include <QPoint>
#include <QWidget>

namespace spk {

class ResponseGraph;

// img_eqbackground: shows the response picture and reports the mouse; what a press, a move or a
// release does to the bands is the editors' business (editors/pointdrag.h).
class GraphView : public QWidget
{
    Q_OBJECT
public:
    explicit GraphView(QWidget *parent = nullptr);
    void setGraph(const ResponseGraph *graph) { m_graph = graph; }

    QSize sizeHint() const override;

signals:
    void pressed(QPoint pos);
    void moved(QPoint pos);
    void released(QPoint pos);
    // The picture was drawn for another pixel ratio than the screen's (the window moved): draw it again.
    void ratioChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const ResponseGraph *m_graph = nullptr;
};

} // namespace spk
