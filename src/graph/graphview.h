#pragma once

#include <QPoint>
#include <QWidget>

namespace spk {

class ResponseGraph;

// img_eqbackground: shows the response picture and reports the mouse and the keys; what a press,
// a move, a release or a key does to the bands is the editors' business (editors/pointdrag.h,
// editors/graphkeys.h). From the keyboard it is a focus stop with one selected point: Page Up and
// Page Down or the digits 1..9, 0 pick a band, the arrow keys ask to step its frequency (left,
// right) or gain (down, up); the selected point wears a ring while the view has the focus.
class GraphView : public QWidget
{
    Q_OBJECT
public:
    explicit GraphView(QWidget *parent = nullptr);
    void setGraph(const ResponseGraph *graph) { m_graph = graph; }

    QSize sizeHint() const override;

    int selectedPoint() const { return m_selected; }
    void setSelectedPoint(int band);
    // The drawn channel's curve in words (empty before a graph is set).
    QString summary() const;

signals:
    void pressed(QPoint pos);
    void moved(QPoint pos);
    void released(QPoint pos);
    // The picture was drawn for another pixel ratio than the screen's (the window moved): draw it again.
    void ratioChanged();
    // A key asks to step the selected band's frequency (else its gain) one code up or down.
    void pointStep(int band, bool frequency, bool up);
    void pointSelected(int band);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    const ResponseGraph *m_graph = nullptr;
    int m_selected = 0;
};

} // namespace spk
