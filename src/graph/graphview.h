#pragma once

#include "filters/eqcurve.h"
#include "model/layout.h"

#include <QWidget>

#include <array>

namespace spk {

struct EditorContext;
class CrossoverEqEditor;

// img_eqbackground: shows the response picture and lets the user drag an EQ band's point:
// left and right change its frequency, up and down its gain, both snapped to the tables.
class GraphView : public QWidget
{
    Q_OBJECT
public:
    explicit GraphView(QWidget *parent = nullptr);
    void attach(EditorContext &ctx, CrossoverEqEditor &editor);

    void img_op0eqbackgroundMouseDown(QPoint pos);
    void img_public_eqbackgroundMouseMove(QPoint pos);
    void img_op0eqbackgroundMouseUp(QPoint pos);

    // The first band whose point is strictly within 10 pixels on both axes; -1 for none.
    static int hitTest(const std::array<EqPoint, BandCount> &points, QPoint pos);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    EditorContext *m_ctx = nullptr;
    CrossoverEqEditor *m_editor = nullptr;
};

} // namespace spk
